#include "app/dialogs/domain_group_dialog.h"

#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

#include "app/dialogs/ok_cancel_buttons.h"
#include "app/view/view_settings.h"
#include "platform/settings_store.h"
#include "platform/text.h"

namespace {
constexpr const char* kSelectedGroupKey = "Selected Domain Group";
}  // namespace

QColor GroupEntryColour(bool builtIn, int members, int selected) {
  if (selected >= kGroupColourLimit) return {};
  if (!builtIn) return QColor(0, 128, 128);
  if (selected > 0 && members >= selected) return QColor(0, 128, 0);
  if (members == 0) return QColor(128, 128, 128);
  return {};
}

CDomainGroupDialog::CDomainGroupDialog(bool add, int selected, const std::map<std::string, int>& memberCounts,
                                       QWidget* parent)
    : QDialog(parent), groups_(qv::AllDomainGroups()) {
  setWindowTitle(QStringLiteral("Domain Group Editor"));
  list_ = new QListWidget(this);
  list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  for (const qv::DomainGroup& g : groups_) {
    auto* item = new QListWidgetItem(qv::ToQString(g.name), list_);
    const auto it = memberCounts.find(g.code);
    const QColor colour = GroupEntryColour(g.builtIn, it == memberCounts.end() ? 0 : it->second, selected);
    if (colour.isValid()) item->setForeground(colour);
  }
  const int row = qv::GetProfileInt(qv::kSettingsSection, kSelectedGroupKey, 0);
  if (row >= 0 && row < list_->count()) list_->setCurrentRow(row);
  highlight_ = new QCheckBox(
      QStringLiteral("Always Highlight the 'Most Important Domains' (in the main list view)"), this);
  highlight_->setChecked(qv::HighlightImportantDomains());
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(add ? QStringLiteral("Select the groups to add the names to")
                                   : QStringLiteral("Select the groups to remove the names from"),
                               this));
  layout->addWidget(new QLabel(QStringLiteral("You can select multiple groups."), this));
  layout->addWidget(list_, 1);
  layout->addWidget(highlight_);
  layout->addWidget(qv::OkCancelButtons(this));
}

std::vector<std::string> CDomainGroupDialog::ChosenCodes() const {
  std::vector<std::string> codes;
  for (int i = 0; i < list_->count(); ++i)
    if (list_->item(i)->isSelected()) codes.push_back(groups_[std::size_t(i)].code);
  return codes;
}

void CDomainGroupDialog::accept() {
  qv::WriteProfileInt(qv::kSettingsSection, kSelectedGroupKey, list_->currentRow() < 0 ? 0 : list_->currentRow());
  qv::WriteProfileInt(qv::kSettingsSection, qv::kHighlightImportantKey, highlight_->isChecked() ? 1 : 0);
  QDialog::accept();
}
