#include "app/dialogs/registrar_alias_dialog.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QVBoxLayout>

#include "app/dialogs/ok_cancel_buttons.h"
#include "app/view/view_settings.h"
#include "platform/text.h"

CRegistrarAliasDialog::CRegistrarAliasDialog(const QString& registrar, QWidget* parent)
    : QDialog(parent), registrar_(registrar) {
  setWindowTitle(QStringLiteral("Registrar Alias Name"));
  auto* id = new QLineEdit(registrar, this);
  id->setReadOnly(true);
  alias_ = new QLineEdit(qv::ToQString(qv::GetRegistrarAlias(qv::ToStdString(registrar))), this);
  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("Registrar Whois ID:"), id);
  form->addRow(QStringLiteral("Registrar Alias Name:"), alias_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(qv::OkCancelButtons(this));
  resize(420, sizeHint().height());
}

void CRegistrarAliasDialog::accept() {
  qv::SetRegistrarAlias(qv::ToStdString(registrar_), qv::ToStdString(alias_->text().trimmed()));
  QDialog::accept();
}
