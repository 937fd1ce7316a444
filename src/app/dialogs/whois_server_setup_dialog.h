// "Whois Server Setup": the politeness limits, the operator's web address and
// name, and the two cleanup fragments of one whois server. Confirming stores
// the whole server record as edited by hand (`Manually Edited` 1).
#pragma once

#include <QDialog>
#include <QString>

class QLineEdit;
class QSpinBox;

namespace qv {

class CWhoisServerSetupDialog : public QDialog {
  Q_OBJECT

 public:
  CWhoisServerSetupDialog(const QString& server, QWidget* parent = nullptr);

  QString Server() const { return server_; }
  QSpinBox* MaxConnectionsBox() const { return maxConnections_; }
  QSpinBox* IntervalBox() const { return interval_; }
  QLineEdit* WebUrlBox() const { return webUrl_; }
  QLineEdit* OwnerBox() const { return owner_; }
  QLineEdit* RemoveLeftOfBox() const { return removeLeftOf_; }
  QLineEdit* RemoveRightOfBox() const { return removeRightOf_; }

 public slots:
  void accept() override;

 private:
  QString server_;
  QSpinBox* maxConnections_;
  QSpinBox* interval_;
  QLineEdit* webUrl_;
  QLineEdit* owner_;
  QLineEdit* removeLeftOf_;
  QLineEdit* removeRightOf_;
};

}  // namespace qv
