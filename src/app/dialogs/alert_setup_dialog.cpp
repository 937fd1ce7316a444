#include "app/dialogs/alert_setup_dialog.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/dialogs/ok_cancel_buttons.h"
#include "lookup/alert_mailer.h"
#include "lookup/mail_jobs.h"
#include "platform/text.h"

namespace {

std::string Trimmed(const QLineEdit* e) { return qv::ToStdString(e->text().trimmed()); }
std::string Trimmed(const QPlainTextEdit* e) { return qv::ToStdString(e->toPlainText().trimmed()); }

}  // namespace

CAlertSetupDialog::CAlertSetupDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Alert Setup Dialog"));
  const auto edit = [this] { return new QLineEdit(this); };
  fromEmail_ = edit();
  fromName_ = edit();
  toEmail_ = edit();
  toName_ = edit();
  smtp_ = edit();
  smtp_->setPlaceholderText(QStringLiteral("host or host:port"));
  subject_ = edit();
  security_ = new QComboBox(this);
  security_->addItems({QStringLiteral("None"), QStringLiteral("STARTTLS"), QStringLiteral("TLS")});
  user_ = edit();
  password_ = edit();
  password_->setEchoMode(QLineEdit::Password);
  header_ = new QPlainTextEdit(this);
  footer_ = new QPlainTextEdit(this);
  header_->setMaximumHeight(60);
  footer_->setMaximumHeight(60);

  auto* form = new QFormLayout;
  const auto pair = [this](QLineEdit* address, QLineEdit* name) {
    auto* row = new QHBoxLayout;
    row->addWidget(address, 2);
    row->addWidget(new QLabel(QStringLiteral("Name"), this));
    row->addWidget(name, 1);
    return row;
  };
  form->addRow(QStringLiteral("From E-mail"), pair(fromEmail_, fromName_));
  form->addRow(QStringLiteral("To E-mail"), pair(toEmail_, toName_));
  form->addRow(QStringLiteral("SMTP Server"), smtp_);
  form->addRow(QStringLiteral("Security"), security_);
  form->addRow(QStringLiteral("User"), user_);
  form->addRow(QStringLiteral("Password"), password_);
  form->addRow(QStringLiteral("Subject"), subject_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(new QLabel(QStringLiteral("Header (append to top of message body)"), this));
  layout->addWidget(header_);
  layout->addWidget(new QLabel(QStringLiteral("Footer (append at end of message body)"), this));
  layout->addWidget(footer_);
  auto* box = new QGroupBox(QStringLiteral("Send an email alert whenever..."), this);
  onDomain_ = new QCheckBox(
      QStringLiteral("There is a modification of domain records at registry / registrar"), box);
  onPing_ = new QCheckBox(
      QStringLiteral("Website server of a domain marked 'important' failed a ping test."), box);
  auto* boxLayout = new QVBoxLayout(box);
  boxLayout->addWidget(onDomain_);
  boxLayout->addWidget(onPing_);
  layout->addWidget(box);
  test_ = new QPushButton(QStringLiteral("Send a Test E-mail"), this);
  connect(test_, &QPushButton::clicked, this, [this] { SendTestMail(); });
  auto* bottom = new QHBoxLayout;
  bottom->addWidget(test_);
  bottom->addStretch(1);
  bottom->addWidget(qv::OkCancelButtons(this));
  layout->addLayout(bottom);
  SetValues(qv::ReadAlertSettings());
}

CAlertSetupDialog::~CAlertSetupDialog() {
  if (!TestMailRunning()) return;
  // Closing the dialog does not wait for the test mail: the send finishes
  // on its own, leaves its dialogue in the transcript and goes.
  qv::MailList* list = testList_.release();
  disconnect(list, nullptr, this, nullptr);
  list->setParent(QCoreApplication::instance());
  connect(list, &qv::MailList::mailFinished, list, [list](const qv::MailOutcome& outcome) {
    qv::AppendMailTranscript(outcome.transcript);
    list->deleteLater();
  });
}

qv::AlertSettings CAlertSetupDialog::Values() const {
  qv::AlertSettings a;
  a.fromEmail = Trimmed(fromEmail_);
  a.fromName = Trimmed(fromName_);
  a.toEmail = Trimmed(toEmail_);
  a.toName = Trimmed(toName_);
  a.smtp = Trimmed(smtp_);
  a.subject = Trimmed(subject_);
  a.header = Trimmed(header_);
  a.footer = Trimmed(footer_);
  a.onDomainStatus = onDomain_->isChecked();
  a.onPingStatus = onPing_->isChecked();
  a.security = qv::SmtpSecurity(security_->currentIndex());
  a.user = Trimmed(user_);
  a.password = qv::ToStdString(password_->text());
  a.certificateFile = certificateFile_;
  return a;
}

void CAlertSetupDialog::SetValues(const qv::AlertSettings& a) {
  fromEmail_->setText(qv::ToQString(a.fromEmail));
  fromName_->setText(qv::ToQString(a.fromName));
  toEmail_->setText(qv::ToQString(a.toEmail));
  toName_->setText(qv::ToQString(a.toName));
  smtp_->setText(qv::ToQString(a.smtp));
  subject_->setText(qv::ToQString(a.subject));
  header_->setPlainText(qv::ToQString(a.header));
  footer_->setPlainText(qv::ToQString(a.footer));
  onDomain_->setChecked(a.onDomainStatus);
  onPing_->setChecked(a.onPingStatus);
  security_->setCurrentIndex(int(a.security));
  user_->setText(qv::ToQString(a.user));
  password_->setText(qv::ToQString(a.password));
  certificateFile_ = a.certificateFile;
}

bool CAlertSetupDialog::TestMailRunning() const { return testList_ && testList_->Sending(); }

bool CAlertSetupDialog::SendTestMail() {
  const qv::AlertSettings a = Values();
  if (const std::string problem = qv::TestMailProblem(a); !problem.empty()) {
    emit testMailFinished(false, qv::ToQString(problem));
    if (isVisible()) QMessageBox::information(this, windowTitle(), qv::ToQString(problem));
    return false;
  }
  qv::SmtpServer server;
  std::string problem;
  qv::AlertServer(a, server, problem);
  testList_ = std::make_unique<qv::MailList>();
  connect(testList_.get(), &qv::MailList::mailFinished, this, &CAlertSetupDialog::OnTestMailFinished);
  testList_->QueueAlertMail(qv::AlertMailJob(a, server, qv::TestMailText()));
  testList_->StartMailJobs();
  test_->setEnabled(false);
  test_->setText(QStringLiteral("Sending..."));
  return true;
}

void CAlertSetupDialog::OnTestMailFinished(const qv::MailOutcome& outcome) {
  qv::AppendMailTranscript(outcome.transcript);
  test_->setEnabled(true);
  test_->setText(QStringLiteral("Send a Test E-mail"));
  const QString text = outcome.sent ? QString::fromLatin1(qv::kTestMailSentText)
                                    : QStringLiteral("The test mail was not sent.\n\n%1\n\nThe whole dialogue "
                                                     "is in %2.")
                                          .arg(qv::ToQString(outcome.result.error),
                                               qv::ToQString(qv::MailTranscriptPath().string()));
  emit testMailFinished(outcome.sent, text);
  if (isVisible()) QMessageBox::information(this, windowTitle(), text);
}

void CAlertSetupDialog::accept() {
  const qv::AlertSettings a = Values();
  qv::SmtpServer server;
  std::string problem;
  if (!a.smtp.empty() && !qv::AlertServer(a, server, problem)) {
    QMessageBox::warning(this, windowTitle(), qv::ToQString(problem));
    return;
  }
  qv::WriteAlertSettings(a);
  QDialog::accept();
}
