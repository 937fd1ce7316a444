#include "app/dialogs/domain_management_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

#include "app/login_form_files.h"
#include "app/open_url.h"
#include "app/prompts.h"
#include "platform/text.h"
#include "webcheck/login_form.h"

namespace qv {

CDomainManagementDialog::CDomainManagementDialog(std::string key, std::string domain, Prompts& prompts,
                                                 QWidget* parent)
    : QDialog(parent), key_(std::move(key)), domain_(std::move(domain)), prompts_(prompts) {
  setWindowTitle(tr("Domain Management Settings"));
  const RegistrarSettings s = LoadRegistrarSettings(key_);
  url_ = new QLineEdit(ToQString(s.manageUrl), this);
  login_ = new QLineEdit(ToQString(s.login), this);
  password_ = new QLineEdit(ToQString(s.password), this);
  password_->setEchoMode(QLineEdit::Password);
  usePost_ = new QCheckBox(tr("Use POST Method"), this);
  usePost_->setChecked(s.usePost);
  postData_ = new QPlainTextEdit(ToQString(s.postData).replace(QLatin1String("\r\n"), QLatin1String("\n")), this);
  postData_->setEnabled(s.usePost);
  connect(usePost_, &QCheckBox::toggled, postData_, &QWidget::setEnabled);

  auto* form = new QFormLayout;
  form->addRow(tr("URL:"), url_);
  form->addRow(tr("Username / Login:"), login_);
  form->addRow(tr("Password:"), password_);

  auto* buttons = new QDialogButtonBox(this);
  go_ = buttons->addButton(tr("Go  >>"), QDialogButtonBox::ActionRole);
  QPushButton* help = buttons->addButton(tr("Help..."), QDialogButtonBox::HelpRole);
  buttons->addButton(tr("Close"), QDialogButtonBox::RejectRole);
  connect(go_, &QPushButton::clicked, this, [this] { Go(); });
  connect(help, &QPushButton::clicked, this, [this] {
    prompts_.showText(this, tr(kManagementHelpTitle), tr(kManagementHelpText));
  });
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(ToQString(key_), this));
  layout->addLayout(form);
  layout->addWidget(usePost_);
  layout->addWidget(new QLabel(tr("POST Method Variables"), this));
  layout->addWidget(postData_, 1);
  layout->addWidget(buttons);
  resize(520, 420);
}

RegistrarSettings CDomainManagementDialog::Settings() const {
  RegistrarSettings s;
  s.usePost = usePost_->isChecked();
  s.manageUrl = ToStdString(url_->text());
  s.postData = ToStdString(postData_->toPlainText().replace(QLatin1String("\n"), QLatin1String("\r\n")));
  s.login = ToStdString(login_->text());
  s.password = ToStdString(password_->text());
  return s;
}

bool CDomainManagementDialog::Go() {
  const RegistrarSettings s = Settings();
  if (!s.usePost) return OpenUrlText(this, prompts_, ToQString(ManagementUrl(s, domain_)));
  const QString action = url_->text().trimmed();
  if (action.isEmpty()) {
    prompts_.tell(this, QString::fromLatin1(kNoUrlSpecifiedText));
    return false;
  }
  std::string error;
  const std::string path = WriteLoginFormFile(LoginFormHtml(ToStdString(action), ManagementFormFields(s, domain_)), &error);
  if (path.empty()) {
    prompts_.tell(this, ToQString(error));
    return false;
  }
  const QString file = ToQString(path);
  const bool opened = OpenUrl(QUrl::fromLocalFile(file));
  RemoveLoginFormLater(file, !opened);
  if (!opened) prompts_.tell(this, tr(kCannotOpenUrlText).arg(action));
  return opened;
}

void CDomainManagementDialog::done(int result) {
  SaveRegistrarSettings(key_, Settings());
  QDialog::done(result);
}

}  // namespace qv
