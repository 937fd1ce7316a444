#include "app/dialogs/display_list_setup_dialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QListWidget>
#include <QPushButton>

#include "app/dialogs/ok_cancel_buttons.h"
#include "app/view/big_list_view.h"
#include "app/view/corvane_view.h"

namespace {

bool IsFixedColumn(const QString& name) {
  return name == QLatin1String(qv::kRowNumberColumn) ||
         name.compare(QLatin1String(qv::kDomainColumn), Qt::CaseInsensitive) == 0;
}

}  // namespace

CDisplayListSetupDialog::CDisplayListSetupDialog(int modeCommandId, QWidget* parent)
    : QDialog(parent), mode_(qv::DisplayModeOfCommand(modeCommandId)) {
  setWindowTitle(tr("Display List Setup"));
  list_ = new QListWidget(this);
  QStringList current;
  for (const qv::ListColumn& column : qv::ModeColumns(modeCommandId))
    if (!IsFixedColumn(column.name)) current << column.name;
  auto add = [this](const QString& name, bool checked) {
    auto* item = new QListWidgetItem(name, list_);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
  };
  for (const QString& name : current) add(name, true);
  for (const QString& name : qv::OfferedColumns())
    if (!IsFixedColumn(name) && !current.contains(name, Qt::CaseInsensitive)) add(name, false);
  if (list_->count() > 0) list_->setCurrentRow(0);

  auto* up = new QPushButton(QStringLiteral("Move &Up"), this);
  auto* down = new QPushButton(QStringLiteral("Move &Down"), this);
  connect(up, &QPushButton::clicked, this, &CDisplayListSetupDialog::MoveUp);
  connect(down, &QPushButton::clicked, this, &CDisplayListSetupDialog::MoveDown);
  auto* buttons = qv::OkCancelButtons(this);

  auto* layout = new QGridLayout(this);
  layout->addWidget(list_, 0, 0, 3, 1);
  layout->addWidget(up, 0, 1);
  layout->addWidget(down, 1, 1);
  layout->addWidget(buttons, 3, 0, 1, 2);
  resize(360, 460);
}

void CDisplayListSetupDialog::Move(int step) {
  const int row = list_->currentRow();
  const int target = row + step;
  if (row < 0 || target < 0 || target >= list_->count()) return;
  QListWidgetItem* item = list_->takeItem(row);
  list_->insertItem(target, item);
  list_->setCurrentRow(target);
}

void CDisplayListSetupDialog::MoveUp() { Move(-1); }
void CDisplayListSetupDialog::MoveDown() { Move(1); }

QStringList CDisplayListSetupDialog::Entries() const {
  QStringList names;
  for (int i = 0; i < list_->count(); ++i) names << list_->item(i)->text();
  return names;
}

void CDisplayListSetupDialog::SetChecked(const QString& column, bool checked) {
  for (int i = 0; i < list_->count(); ++i)
    if (list_->item(i)->text() == column) list_->item(i)->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}

std::vector<qv::ListColumn> CDisplayListSetupDialog::CheckedColumns() const {
  std::vector<qv::ListColumn> columns;
  for (int i = 0; i < list_->count(); ++i) {
    const QListWidgetItem* item = list_->item(i);
    if (item->checkState() != Qt::Checked) continue;
    columns.push_back({item->text(), qv::RememberedColumnWidth(item->text(), qv::kDefaultUserColumnWidth)});
  }
  return columns;
}

void CDisplayListSetupDialog::accept() {
  if (mode_) qv::WriteUserColumns(mode_->code, CheckedColumns());
  QDialog::accept();
}

bool RunDisplayListSetupDialog(CCorvaneView& view) {
  if (!qv::DisplayModeOfCommand(view.DisplayMode())) return false;
  view.ListView()->SaveColumnWidths();
  CDisplayListSetupDialog dialog(view.DisplayMode(), view.window());
  if (dialog.exec() != QDialog::Accepted) return false;
  view.SetDisplayMode(0);
  return true;
}
