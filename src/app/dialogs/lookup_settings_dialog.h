// "Lookup Settings" (DNS & Whois Lookup Settings): how many lookups run at
// once, how long a whois server is given to answer, and which protocol
// looks names up (`Lookup Protocol`), and the trademark search site.
#pragma once

#include <QDialog>

class QComboBox;
class QLabel;
class QSlider;
class QSpinBox;

namespace qv {

class CTrademarkSettingsBox;

class CLookupSettingsDialog : public QDialog {
  Q_OBJECT

 public:
  // Shows the stored `DNS Lookup Count` and `Whois Timeout`.
  explicit CLookupSettingsDialog(QWidget* parent = nullptr);

  int LookupCount() const;
  int TimeoutSeconds() const;
  // The chosen `Lookup Protocol` (the index of its text).
  int ProtocolIndex() const;
  // Writes the values to the settings.
  void Save() const;

  QSlider* CountSlider() const { return slider_; }
  QLabel* CountLabel() const { return countLabel_; }
  QSpinBox* TimeoutBox() const { return timeout_; }
  QComboBox* ProtocolBox() const { return protocol_; }
  CTrademarkSettingsBox* TrademarkBox() const { return trademark_; }

 private:
  QSlider* slider_;
  QLabel* countLabel_;
  QSpinBox* timeout_;
  QComboBox* protocol_;
  CTrademarkSettingsBox* trademark_;
};

}  // namespace qv
