// The trademark search's part of the Lookup Settings dialog: the search
// site's host (`Tess Host`) and the gap after each request to it
// (`Tess Connection Gap`).
#pragma once

#include <QGroupBox>

class QLineEdit;
class QSpinBox;

namespace qv {

class CTrademarkSettingsBox : public QGroupBox {
  Q_OBJECT

 public:
  // Shows the stored values.
  explicit CTrademarkSettingsBox(QWidget* parent = nullptr);
  // Writes the values to the settings (the host trimmed).
  void Save() const;

  QLineEdit* HostEdit() const { return host_; }
  QSpinBox* GapBox() const { return gap_; }

 private:
  QLineEdit* host_;
  QSpinBox* gap_;
};

}  // namespace qv
