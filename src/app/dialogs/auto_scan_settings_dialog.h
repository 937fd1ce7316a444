// "Auto Lookup Settings" (Auto Scan Settings...): the four rescan switches and
// their intervals. Each interval box is enabled only while its check box is
// checked; OK with a whois interval below a day asks first.
#pragma once

#include <QDialog>
#include <functional>

#include "lookup/auto_scan.h"

class QCheckBox;
class QSpinBox;

namespace qv {

inline constexpr const char* kFrequentWhoisWarning =
    "Your whois autoscan interval is set to do very frequent lookups!\n\n"
    "This could cause your IP to get banned by various registrars.\n"
    "It is safer to set the whois lookup interval to 1440 minutes (1 day)\n"
    "or more.\n\n"
    "Are you sure you want to do frequent lookups?";

class CAutoScanSettingsDialog : public QDialog {
  Q_OBJECT

 public:
  enum Kind { kWhois, kDns, kPing, kHttp, kKindCount };
  // The question asked on OK; answers with the button pressed.
  using Asker = std::function<int(QWidget* parent, const QString& text)>;

  explicit CAutoScanSettingsDialog(Asker ask, QWidget* parent = nullptr);

  AutoScanSettings Values() const;
  QCheckBox* Switch(Kind kind) const { return switches_[kind]; }
  QSpinBox* Interval(Kind kind) const { return intervals_[kind]; }

  // OK: refused (the dialog stays open, nothing saved) unless the whois
  // warning, when due, is answered Yes; otherwise saves and closes.
  void accept() override;

 private:
  Asker ask_;
  QCheckBox* switches_[kKindCount];
  QSpinBox* intervals_[kKindCount];
};

}  // namespace qv
