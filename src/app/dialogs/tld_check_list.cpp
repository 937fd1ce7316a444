#include "app/dialogs/tld_check_list.h"

#include <QListWidget>

#include "platform/settings_store.h"
#include "platform/text.h"
#include "whois/server_directory.h"

namespace qv {
namespace {

int DefaultTick(const std::string& tld) { return tld == "com" ? 1 : 0; }

template <typename Each>
void ForEachItem(const QListWidget* list, Each&& each) {
  for (int i = 0; i < list->count(); ++i) {
    const QListWidgetItem* item = list->item(i);
    const std::string tld = ToStdString(item->text().trimmed());
    if (!tld.empty()) each(tld, item->checkState() == Qt::Checked);
  }
}

}  // namespace

void FillTldCheckList(QListWidget* list) {
  list->clear();
  for (const std::string& tld : LoadTldList()) {
    auto* item = new QListWidgetItem(ToQString(tld), list);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    const int ticked = GetProfileInt(kCreateNamesTicksSection, tld, DefaultTick(tld));
    item->setCheckState(ticked ? Qt::Checked : Qt::Unchecked);
  }
}

void SetAllTldTicks(QListWidget* list, bool ticked) {
  for (int i = 0; i < list->count(); ++i) list->item(i)->setCheckState(ticked ? Qt::Checked : Qt::Unchecked);
}

std::vector<std::string> SaveTldTicks(const QListWidget* list) {
  std::vector<std::string> ticked;
  ForEachItem(list, [&ticked](const std::string& tld, bool on) {
    WriteProfileInt(kCreateNamesTicksSection, tld, on ? 1 : 0);
    if (on) ticked.push_back(tld);
  });
  return ticked;
}

std::vector<std::string> TickedTldsOf(const QListWidget* list) {
  std::vector<std::string> ticked;
  ForEachItem(list, [&ticked](const std::string& tld, bool on) {
    if (on) ticked.push_back(tld);
  });
  return ticked;
}

}  // namespace qv
