#include "app/dialogs/group_editor_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSet>

#include "platform/settings_store.h"
#include "platform/text.h"

namespace {

constexpr const char* kGroupEditNameKey = "GroupEdit Name";

QListWidget* NameList(QWidget* parent) {
  auto* list = new QListWidget(parent);
  list->setSelectionMode(QAbstractItemView::ExtendedSelection);
  list->setSortingEnabled(false);
  return list;
}

}  // namespace

CGroupEditorDialog::CGroupEditorDialog(const QStringList& names, MembersOf members, Change change,
                                       QWidget* parent)
    : QDialog(parent),
      names_(names),
      groupList_(qv::AllDomainGroups()),
      members_(std::move(members)),
      change_(std::move(change)) {
  setWindowTitle(QStringLiteral("Domain Group Editor"));
  groups_ = new QComboBox(this);
  for (const qv::DomainGroup& g : groupList_) groups_->addItem(qv::ToQString(g.name));
  in_ = NameList(this);
  out_ = NameList(this);
  auto* remove = new QPushButton(QStringLiteral("Remove Selection >>"), this);
  auto* add = new QPushButton(QStringLiteral("<< Add Selection"), this);
  auto* allIn = new QPushButton(QStringLiteral("^ Select All"), this);
  auto* allOut = new QPushButton(QStringLiteral("Select All ^"), this);
  connect(remove, &QPushButton::clicked, this, &CGroupEditorDialog::RemoveSelection);
  connect(add, &QPushButton::clicked, this, &CGroupEditorDialog::AddSelection);
  connect(allIn, &QPushButton::clicked, in_, &QListWidget::selectAll);
  connect(allOut, &QPushButton::clicked, out_, &QListWidget::selectAll);
  auto* close = new QDialogButtonBox(QDialogButtonBox::Close, this);
  connect(close, &QDialogButtonBox::rejected, this, &QDialog::accept);

  auto* grid = new QGridLayout(this);
  grid->addWidget(new QLabel(QStringLiteral("Select a domain group to manage: "), this), 0, 0);
  grid->addWidget(groups_, 0, 1, 1, 2);
  grid->addWidget(new QLabel(QStringLiteral("Domains in the group"), this), 1, 0);
  grid->addWidget(new QLabel(QStringLiteral("Domains not in the group"), this), 1, 2);
  grid->addWidget(in_, 2, 0, 4, 1);
  grid->addWidget(out_, 2, 2, 4, 1);
  grid->addWidget(remove, 2, 1);
  grid->addWidget(add, 3, 1);
  grid->addWidget(allIn, 6, 0);
  grid->addWidget(allOut, 6, 2);
  auto* hint = new QLabel(QStringLiteral(" To highlight multiple domains, press the shift or control key on the "
                                         "keyboard while clicking on the names."),
                          this);
  hint->setWordWrap(true);
  grid->addWidget(hint, 7, 0, 1, 3);
  grid->addWidget(close, 8, 0, 1, 3);

  const QString last = qv::ToQString(
      qv::GetProfileString(qv::kSettingsSection, kGroupEditNameKey, "Business Domains"));
  const int index = groups_->findText(last);
  groups_->setCurrentIndex(index < 0 ? 0 : index);
  ShowGroup(groups_->currentIndex());
  connect(groups_, &QComboBox::currentIndexChanged, this, &CGroupEditorDialog::ShowGroup);
  resize(620, 460);
}

void CGroupEditorDialog::ShowGroup(int index) {
  if (index < 0 || index >= int(groupList_.size())) return;
  const qv::DomainGroup& group = groupList_[std::size_t(index)];
  qv::WriteProfileString(qv::kSettingsSection, kGroupEditNameKey, group.name);
  QSet<QString> members;
  for (const std::string& name : members_(group.code)) members.insert(qv::ToQString(name).toLower());
  in_->clear();
  out_->clear();
  for (const QString& name : names_) (members.contains(name.toLower()) ? in_ : out_)->addItem(name);
}

void CGroupEditorDialog::Move(QListWidget* from, bool add) {
  const int index = groups_->currentIndex();
  if (index < 0) return;
  QStringList chosen;
  for (QListWidgetItem* item : from->selectedItems()) chosen << item->text();
  if (chosen.isEmpty() || !change_(chosen, groupList_[std::size_t(index)].code, add)) return;
  ShowGroup(index);
}

void CGroupEditorDialog::AddSelection() { Move(out_, true); }
void CGroupEditorDialog::RemoveSelection() { Move(in_, false); }
