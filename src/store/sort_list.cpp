#include "store/sort_list.h"

#include <algorithm>
#include <cctype>

#include "platform/settings_store.h"
#include "store/database_connection.h"
#include "store/domain_fields.h"
#include "store/list_query.h"

namespace qv {

bool AlwaysSortAscending() { return GetProfileInt(kSettingsSection, "Always Sort Ascending", 0) != 0; }

ListSortChoice StoredSortChoice() {
  return {GetProfileString(kSettingsSection, "List Sort Field", ""),
          GetProfileInt(kSettingsSection, "List Sort Ascending", 1) != 0};
}

void StoreSortChoice(const ListSortChoice& choice) {
  SettingsBatch::Profile()
      .SetString(kSettingsSection, "List Sort Field", choice.field)
      .SetInt(kSettingsSection, "List Sort Ascending", choice.ascending ? 1 : 0)
      .Commit();
}

bool GetSortDirection() {
  if (AlwaysSortAscending()) return true;
  int ascending = GetProfileInt(kSettingsSection, "Sort Ascending", 1);
  if (GetProfileInt(kSettingsSection, "Lock Sorting Order", 1) == 0) {
    ascending = ascending == 0 ? 1 : 0;
    WriteProfileInt(kSettingsSection, "Sort Ascending", ascending);
  }
  return ascending != 0;
}

std::string RemoveOrderBy(std::string_view sql) {
  std::string upper(sql);
  std::transform(upper.begin(), upper.end(), upper.begin(),
                 [](unsigned char c) { return char(std::toupper(c)); });
  std::size_t cut = upper.find("ORDER BY");
  if (cut == std::string::npos) cut = upper.find(" ORDER ");
  std::string_view kept = sql.substr(0, std::min(cut, sql.size()));
  constexpr std::string_view kBlanks = " \r\n\t";
  const std::size_t first = kept.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  kept = kept.substr(first, kept.find_last_not_of(kBlanks) - first + 1);
  return std::string(kept);
}

std::string SortedQuery(std::string_view sql, std::string_view field, bool ascending) {
  std::string sorted = RemoveOrderBy(sql);
  sorted += " ORDER BY [";
  sorted += field;
  sorted += ascending ? "] ASC" : "] DESC";
  return sorted;
}

namespace {

// The field's name as the table spells it; "" when it is no field.
std::string TableFieldName(DomainDatabase& db, std::string_view fieldName) {
  if (!db.OpenDomainsTable()) return {};
  const FieldInfo* field = db.update().FindDomainField(fieldName);
  return field ? field->name : std::string();
}

bool RunSorted(DomainDatabase& db, const std::string& field, bool ascending) {
  const std::string& current = CurrentListQuery();
  return RunListQuery(db, SortedQuery(current.empty() ? AllDomainsQuery() : current, field, ascending));
}

}  // namespace

bool SortList(DomainDatabase& db, std::string_view fieldName) {
  const std::string field = TableFieldName(db, fieldName);
  return !field.empty() && RunSorted(db, field, GetSortDirection());
}

bool SortList(DomainDatabase& db, std::string_view fieldName, bool ascending) {
  const std::string field = TableFieldName(db, fieldName);
  return !field.empty() && RunSorted(db, field, ascending);
}

}  // namespace qv
