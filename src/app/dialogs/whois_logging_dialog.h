// "Log Whois Output to Disk": whether every applied whois answer is kept as a
// text file, and the folder the files go to.
#pragma once

#include <QDialog>
#include <QString>

class QCheckBox;
class QLineEdit;

class CWhoisLoggingDialog : public QDialog {
  Q_OBJECT

 public:
  explicit CWhoisLoggingDialog(QWidget* parent = nullptr);

  bool LoggingEnabled() const;
  void SetLoggingEnabled(bool on);
  QString Folder() const;
  void SetFolder(const QString& folder);
  // Writes `Save Whois Data` and `Whois Data Path` (an empty folder: the
  // default one).
  void accept() override;

 private:
  void Browse();

  QCheckBox* enabled_;
  QLineEdit* folder_;
};

bool RunWhoisLoggingDialog(QWidget* parent);
