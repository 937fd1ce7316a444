#include "app/docks/domain_names_bar.h"

#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QSet>
#include <QVBoxLayout>

#include "app/view/display_modes.h"
#include "store/domain_groups.h"
#include "platform/text.h"

CDomainNamesBar::CDomainNamesBar(const std::filesystem::path& padFile, QWidget* parent)
    : QWidget(parent), file_(padFile), pad_(qv::LoadNamePad(padFile)),
      modes_(new QComboBox(this)), list_(new QListWidget(this)) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(2, 2, 2, 2);
  const QStringList labels = qv::ModeSelectorLabels();
  const std::vector<int> commands = qv::ModeSelectorCommands();
  for (int i = 0; i < labels.size() && i < int(commands.size()); ++i)
    modes_->addItem(labels[i], commands[std::size_t(i)]);
  layout->addWidget(modes_);
  groups_ = new QComboBox(this);
  groups_->setToolTip(tr("The names of one domain group"));
  ReloadGroups();
  layout->addWidget(groups_);
  connect(groups_, &QComboBox::activated, this,
          [this](int index) { emit groupChosen(groups_->itemData(index).toString()); });
  hint_ = new QLabel(tr("Right-click a list to send names here"), this);
  hint_->setWordWrap(true);
  hint_->setEnabled(false);
  layout->addWidget(hint_);
  list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  list_->setContextMenuPolicy(Qt::CustomContextMenu);
  layout->addWidget(list_, 1);
  ShowPadList();

  connect(modes_, &QComboBox::activated, this,
          [this](int index) { emit modeChosen(modes_->itemData(index).toInt()); });
  connect(list_, &QListWidget::customContextMenuRequested, this,
          &CDomainNamesBar::ShowContextMenu);
}

void CDomainNamesBar::ReloadGroups() {
  groups_->clear();
  groups_->addItem(QString::fromLatin1(qv::kAllDomainsName), QString::fromLatin1(qv::kAllDomainsCode));
  for (const qv::DomainGroup& g : qv::AllDomainGroups())
    groups_->addItem(qv::ToQString(g.name), qv::ToQString(g.code));
}

QStringList CDomainNamesBar::Names() const {
  QStringList names;
  for (int i = 0; i < list_->count(); ++i) names << list_->item(i)->text();
  return names;
}

QStringList CDomainNamesBar::SelectedNames() const {
  QStringList names;
  for (int i = 0; i < list_->count(); ++i)
    if (list_->item(i)->isSelected()) names << list_->item(i)->text();
  return names;
}

void CDomainNamesBar::ShowPadList() {
  list_->clear();
  for (const std::string& name : pad_.lists[0].entries) list_->addItem(qv::ToQString(name));
  if (pad_.lists[0].selected >= 0) list_->setCurrentRow(pad_.lists[0].selected);
  UpdateHint();
}

void CDomainNamesBar::UpdateHint() { hint_->setVisible(list_->count() == 0); }

bool CDomainNamesBar::Refresh() {
  const bool saved = Save();
  pad_ = qv::LoadNamePad(file_);
  ShowPadList();
  return saved;
}

void CDomainNamesBar::SetModeLabel(int commandId, const QString& label) {
  const int index = modes_->findData(commandId);
  if (index >= 0) modes_->setItemText(index, label);
}

int CDomainNamesBar::AddNames(const QStringList& names) {
  QSet<QString> held;
  for (int i = 0; i < list_->count(); ++i) held.insert(list_->item(i)->text().toLower());
  int leftOut = 0;
  for (const QString& name : names) {
    const QString trimmed = name.trimmed();
    if (trimmed.isEmpty() || held.contains(trimmed.toLower())) continue;
    if (list_->count() >= int(qv::kNamePadMaxCount)) {
      ++leftOut;
      continue;
    }
    held.insert(trimmed.toLower());
    list_->addItem(trimmed);
  }
  UpdateHint();
  return leftOut;
}

QString CDomainNamesBar::LeftOutText(int leftOut) {
  return tr("The Domain Names bar holds at most %1 names; %2 names were left out.")
      .arg(qv::kNamePadMaxCount)
      .arg(leftOut);
}

void CDomainNamesBar::DeleteSelectedNames() {
  for (int i = list_->count() - 1; i >= 0; --i)
    if (list_->item(i)->isSelected()) delete list_->takeItem(i);
  UpdateHint();
}

void CDomainNamesBar::DeleteAllNames() {
  list_->clear();
  UpdateHint();
}

bool CDomainNamesBar::Save() {
  qv::NamePadList& names = pad_.lists[0];
  names.entries.clear();
  for (const QString& name : Names()) names.entries.push_back(qv::ToStdString(name));
  names.selected = list_->currentRow() >= 0 && list_->currentRow() < list_->count()
                       ? list_->currentRow()
                       : -1;
  return qv::SaveNamePad(pad_, file_);
}

void CDomainNamesBar::ShowMode(int commandId) {
  modes_->setCurrentIndex(modes_->findData(commandId));
}

QString CDomainNamesBar::ClipboardText(const QStringList& names) {
  QString text;
  for (QString name : names) text += name.remove(QLatin1Char('\t')) + QStringLiteral("\r\n");
  return text;
}

void CDomainNamesBar::ShowContextMenu(const QPoint& pos) {
  if (menu_) menu_->popup(list_->viewport()->mapToGlobal(pos));
}
