#include "app/dialogs/user_groups_dialog.h"

#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "app/dialogs/ok_cancel_buttons.h"
#include "platform/text.h"
#include "store/database_maintenance.h"

CUserGroupsDialog::CUserGroupsDialog(const QStringList& names, QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("User Groups"));
  auto* heading = new QLabel(
      QStringLiteral("Please type in additional groups for domain names (one entry per line). This will "
                     "appear in the domain category bar."),
      this);
  heading->setWordWrap(true);
  text_ = new QPlainTextEdit(this);
  text_->setPlainText(names.join(QLatin1Char('\n')));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(heading);
  layout->addWidget(text_, 1);
  layout->addWidget(qv::OkCancelButtons(this));
  resize(380, 300);
}

void CUserGroupsDialog::SetText(const QString& text) { text_->setPlainText(text); }

QStringList CUserGroupsDialog::Names() const {
  QStringList names;
  for (const QString& line : text_->toPlainText().split(QLatin1Char('\n'))) {
    const QString name = line.trimmed();
    if (!name.isEmpty()) names << name;
  }
  return names;
}

QString CUserGroupsDialog::Problem() const {
  std::vector<std::string> names;
  for (const QString& name : Names()) names.push_back(qv::ToStdString(name));
  return qv::ToQString(qv::UserGroupNamesProblem(names));
}

void CUserGroupsDialog::accept() {
  const QString problem = Problem();
  if (!problem.isEmpty()) {
    QMessageBox::warning(this, windowTitle(), problem);
    return;
  }
  QDialog::accept();
}
