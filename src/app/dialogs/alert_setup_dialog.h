// "Alert Setup Dialog": the addresses, server, texts and switches of the
// e-mail alerts, and "Send a Test E-mail". The test mail goes out on a thread
// of its own; the dialog stays usable and says what came of it.
#pragma once

#include <QDialog>
#include <memory>

#include "lookup/alert_settings.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace qv {
class MailList;
struct MailOutcome;
}  // namespace qv

class CAlertSetupDialog : public QDialog {
  Q_OBJECT

 public:
  explicit CAlertSetupDialog(QWidget* parent = nullptr);
  ~CAlertSetupDialog() override;

  // The dialog's values, trimmed.
  qv::AlertSettings Values() const;
  void SetValues(const qv::AlertSettings& values);

  // Sends the test mail with the current values; false (after telling why)
  // when a required value is missing.
  bool SendTestMail();
  bool TestMailRunning() const;

  void accept() override;

 signals:
  // The test mail ended; `text` is what the dialog showed.
  void testMailFinished(bool sent, const QString& text);

 private:
  void OnTestMailFinished(const qv::MailOutcome& outcome);

  QLineEdit *fromEmail_, *fromName_, *toEmail_, *toName_, *smtp_, *subject_;
  QComboBox* security_;
  QLineEdit *user_, *password_;
  QPlainTextEdit *header_, *footer_;
  QCheckBox *onDomain_, *onPing_;
  QPushButton* test_;
  std::unique_ptr<qv::MailList> testList_;
  std::string certificateFile_;  // kept as the settings file has it
};

namespace qv {
inline constexpr const char* kTestMailSentText = "Mail Sent! Please check if it has been received.";
}  // namespace qv
