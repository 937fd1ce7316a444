#include "app/dialogs/domain_properties_dialog.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QStandardItemModel>
#include <QVBoxLayout>

#include "app/corvane_doc.h"
#include "app/dialogs/date_editor_dialog.h"
#include "app/dialogs/ok_cancel_buttons.h"
#include "app/view/big_list_view.h"
#include "app/view/cell_text.h"
#include "app/view/corvane_view.h"
#include "app/view/display_modes.h"
#include "app/view/domain_list_model.h"
#include "app/view/group_names.h"
#include "lookup/record_update.h"
#include "platform/ascii.h"
#include "platform/text.h"
#include "store/domain_fields.h"
#include "whois/whois_date.h"

namespace {

constexpr const char* kEditHint = " <#808080>[Dbl Click to Edit]";

// No and Cancel would do the same here, so the question offers Yes and No.
QMessageBox::StandardButton AskUser(QWidget* parent, const QString& text) {
  return QMessageBox::question(parent, QCoreApplication::applicationName(), text,
                               QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
}

void TellUser(QWidget* parent, const QString& text) {
  QMessageBox::warning(parent, QCoreApplication::applicationName(), text);
}

std::optional<QDate> PickWithEditor(QWidget* parent, const qv::Date& original) {
  return CDateEditorDialog::Pick(original, parent);
}

}  // namespace

CDomainPropertiesDialog::CDomainPropertiesDialog(CCorvaneDoc& doc, CCorvaneView* view, const QString& name,
                                                 int row, QWidget* parent)
    : QDialog(parent), doc_(doc), view_(view), name_(name), row_(row), question_(&AskUser),
      tell_(&TellUser), picker_(&PickWithEditor) {
  setWindowTitle(QStringLiteral("Domain Properties: %1").arg(name));
  list_ = new CBigListView(QString::fromLatin1(qv::kDefaultListSection), this);
  model_ = new QStandardItemModel(0, 2, this);
  model_->setHorizontalHeaderLabels({QStringLiteral("Property"), QStringLiteral("Value")});
  list_->setModel(model_);
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  list_->setColumnWidth(0, 160);
  list_->horizontalHeader()->setStretchLastSection(true);
  connect(list_, &QAbstractItemView::doubleClicked, this,
          [this](const QModelIndex& index) { EditDateAt(index.row()); });

  memberOf_ = new QLabel(this);
  memberOf_->setWordWrap(true);
  lastLookup_ = new QLabel(this);
  lock_ = new QCheckBox(QStringLiteral("This data is read-only"), this);
  edited_ = new QCheckBox(QStringLiteral("Manually Edited"), this);
  auto* buttons = qv::OkCancelButtons(this);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(list_, 1);
  layout->addWidget(new QLabel(QStringLiteral("Member Of"), this));
  layout->addWidget(memberOf_);
  layout->addWidget(lastLookup_);
  layout->addWidget(lock_);
  layout->addWidget(edited_);
  layout->addWidget(buttons);
  resize(520, 600);
  Load();
}

void CDomainPropertiesDialog::Load() {
  record_ = qv::DomainRecord();
  doc_.Database().ReadRecord(qv::ToStdString(name_), record_);
  FillValues();
  memberOf_->setText(MemberGroupNames(record_).join(QStringLiteral(", ")));
  const bool edited = qv::EqualsNoCase(record_.Text(qv::field::kEdited), "yes");
  QString lookup = QStringLiteral("Last Lookup: %1")
                       .arg(qv::ToQString(qv::DateTimeText(record_.DateValue(qv::field::kLastCheckedAt))));
  if (edited) lookup += QStringLiteral(" (edited)");
  lastLookup_->setText(lookup);
  lock_->setChecked(record_.Locked());
  edited_->setChecked(edited);
}

void CDomainPropertiesDialog::FillValues() {
  const qv::CellTextContext context =
      view_ ? view_->Model()->Context() : qv::CellTextContext::FromSettings();
  model_->setRowCount(0);
  for (const QString& property : qv::OfferedColumns()) {
    QString value = qv::GetCellText(record_, row_, property, context);
    if (IsEditableDate(property)) value += QString::fromLatin1(kEditHint);
    model_->appendRow({new QStandardItem(property), new QStandardItem(value)});
  }
}

bool CDomainPropertiesDialog::IsEditableDate(const QString& property) {
  for (const char* name : {"Registry Expiry", "Registrar Expiry", "Created On", "Last Update"})
    if (property.compare(QLatin1String(name), Qt::CaseInsensitive) == 0) return true;
  return false;
}

QStringList CDomainPropertiesDialog::Properties() const {
  QStringList names;
  for (int r = 0; r < model_->rowCount(); ++r) names << model_->item(r, 0)->text();
  return names;
}

QString CDomainPropertiesDialog::ValueOf(const QString& property) const {
  for (int r = 0; r < model_->rowCount(); ++r)
    if (model_->item(r, 0)->text().compare(property, Qt::CaseInsensitive) == 0) return model_->item(r, 1)->text();
  return {};
}

QString CDomainPropertiesDialog::MemberOfText() const { return memberOf_->text(); }
QString CDomainPropertiesDialog::LastLookupText() const { return lastLookup_->text(); }
bool CDomainPropertiesDialog::LockChecked() const { return lock_->isChecked(); }
bool CDomainPropertiesDialog::EditedChecked() const { return edited_->isChecked(); }

QString CDomainPropertiesDialog::WriteFailedText() const {
  return tr("The changes to %1 could not be saved.\r\n%2")
      .arg(name_, qv::ToQString(doc_.Database().update().GetLastError()));
}

QString CDomainPropertiesDialog::DateChangeQuestion(const QString& from, const QString& to) {
  return QStringLiteral(
             "Are you sure about modifying the date from\r\n%1 to %2?\r\n\r\nIf you go ahead with the "
             "modification, the data\r\nfor this domain will be made read-only so that it is\r\nnot over "
             "written during a lookup. You can unlock\r\nit by right clicking the domain in the main "
             "list\r\nand selecting the appropriate option.")
      .arg(from, to);
}

bool CDomainPropertiesDialog::EditDateAt(int propertyRow) {
  if (propertyRow < 0 || propertyRow >= model_->rowCount()) return false;
  const QString property = model_->item(propertyRow, 0)->text();
  if (!IsEditableDate(property)) return false;
  const qv::Date original = record_.DateValue(qv::ResolveFieldAlias(qv::ToStdString(property)));
  const std::optional<QDate> day = picker_(this, original);
  return day && EditDate(property, *day);
}

bool CDomainPropertiesDialog::EditDate(const QString& property, const QDate& day) {
  if (!IsEditableDate(property)) return false;
  const std::string field = qv::ResolveFieldAlias(qv::ToStdString(property));
  const qv::Date original = record_.DateValue(field);
  // An invalid day clears the date.
  const qv::Date picked = day.isValid() ? qv::Date::FromYmd(day.year(), day.month(), day.day()) : qv::Date::Null();
  if (original.IsValid() ? original.DateOnly() == picked : !picked.IsValid()) return false;
  const QString question =
      DateChangeQuestion(qv::ToQString(qv::DateText(original)), qv::ToQString(qv::DateText(picked)));
  if (question_(this, question) != QMessageBox::Yes) return false;
  if (!qv::ApplyManualDateEdit(doc_.Database(), qv::ToStdString(name_), field, picked)) {
    tell_(this, WriteFailedText());
    return false;
  }
  Load();
  if (view_) view_->RefreshRow(name_);
  return true;
}

void CDomainPropertiesDialog::accept() {
  const bool locked = lock_->isChecked();
  const bool edited = edited_->isChecked();
  const bool wasEdited = qv::EqualsNoCase(record_.Text(qv::field::kEdited), "yes");
  if (locked != record_.Locked() || edited != wasEdited) {
    qv::DomainRecord record;
    if (doc_.Database().ReadRecord(qv::ToStdString(name_), record)) {
      record.SetLocked(locked);
      record.SetText(qv::field::kEdited, edited ? "YES" : "NO");
      if (!doc_.Database().WriteRecord(record)) {
        tell_(this, WriteFailedText());
        return;
      }
      if (view_) view_->RefreshRow(name_);
    } else {
      tell_(this, WriteFailedText());
      return;
    }
  }
  QDialog::accept();
}

void RunDomainPropertiesDialog(CCorvaneView& view) {
  const QString name = view.CurrentName();
  if (name.isEmpty() || !view.Document() || !view.Document()->IsOpen()) return;
  const int row = view.ListView()->currentIndex().row();
  CDomainPropertiesDialog dialog(*view.Document(), &view, name, row, view.window());
  dialog.exec();
}
