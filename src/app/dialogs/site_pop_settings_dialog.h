// "Site Pop Settings": the address of each link popularity service
// ("Site Pop Alexa URL", ...). A service left empty is skipped by the check.
#pragma once

#include <QDialog>
#include <vector>

class QLineEdit;

namespace qv {

class CSitePopSettingsDialog : public QDialog {
  Q_OBJECT

 public:
  // Shows the stored addresses.
  explicit CSitePopSettingsDialog(QWidget* parent = nullptr);
  // The box of each service, in the order of SitePopServices().
  const std::vector<QLineEdit*>& AddressBoxes() const { return boxes_; }
  // Writes the addresses to the settings (blanks around them dropped).
  void Save() const;

 private:
  std::vector<QLineEdit*> boxes_;
};

}  // namespace qv
