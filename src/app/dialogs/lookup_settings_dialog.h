// "Lookup Settings" (DNS & Whois Lookup Settings): how many lookups run at
// once and how long a whois server is given to answer.
#pragma once

#include <QDialog>

class QLabel;
class QSlider;
class QSpinBox;

namespace qv {

class CLookupSettingsDialog : public QDialog {
  Q_OBJECT

 public:
  // Shows the stored `DNS Lookup Count` and `Whois Timeout`.
  explicit CLookupSettingsDialog(QWidget* parent = nullptr);

  int LookupCount() const;
  int TimeoutSeconds() const;
  // Writes both values to the settings.
  void Save() const;

  QSlider* CountSlider() const { return slider_; }
  QLabel* CountLabel() const { return countLabel_; }
  QSpinBox* TimeoutBox() const { return timeout_; }

 private:
  QSlider* slider_;
  QLabel* countLabel_;
  QSpinBox* timeout_;
};

}  // namespace qv
