#include "app/dialogs/field_names_dialog.h"

#include <QClipboard>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/text.h"
#include "store/database_connection.h"
#include "store/domain_fields.h"

namespace qv {

QStringList DomainFieldNames(const std::string& path) {
  QStringList names;
  if (!path.empty()) {
    DatabaseConnection connection;
    if (connection.OpenDatabase(path, true) == kDbOk)
      for (const FieldInfo& field : connection.TableFields(kDomainsTable)) names << ToQString(field.name);
  }
  if (names.isEmpty())
    for (const SchemaField& field : DomainSchema()) names << QString::fromLatin1(field.name);
  return names;
}

CFieldNamesDialog::CFieldNamesDialog(const std::string& documentPath, QWidget* parent) : QDialog(parent) {
  setWindowTitle(tr("Field Names in Database"));
  list_ = new QListWidget(this);
  list_->addItems(DomainFieldNames(documentPath));
  if (list_->count() > 0) list_->setCurrentRow(0);
  connect(list_, &QListWidget::itemDoubleClicked, this, [this] { CopyCurrent(); });

  auto* buttons = new QDialogButtonBox(this);
  QPushButton* copy = buttons->addButton(tr("Copy"), QDialogButtonBox::ActionRole);
  buttons->addButton(tr("Close"), QDialogButtonBox::RejectRole);
  connect(copy, &QPushButton::clicked, this, [this] { CopyCurrent(); });
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(tr(kFieldNamesHelpText), this));
  layout->addWidget(list_, 1);
  layout->addWidget(buttons);
}

void CFieldNamesDialog::CopyCurrent() {
  const QListWidgetItem* item = list_->currentItem();
  if (item) QGuiApplication::clipboard()->setText(item->text());
}

}  // namespace qv
