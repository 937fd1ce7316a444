#include "store/list_modes.h"

#include "store/domain_fields.h"
#include "store/list_query.h"
#include "store/sort_list.h"

namespace qv {

std::string ListModeForCommand(int commandId) {
  if (commandId >= kListLetterFirstCommand && commandId <= kListLetterLastCommand)
    return std::string(1, char(((commandId & 0xFF) + 118) % 256));
  if (commandId == kListDigitsCommand) return "0-9";
  if (commandId == kListAllCommand) return "*";
  return {};
}

std::string ListModeQuery(std::string_view mode, bool ascending) {
  std::string sql = std::string("SELECT * FROM [") + kDomainsTable + "]";
  if (mode == "0-9") {
    sql += " WHERE [Domain] Like '[0,1,2,3,4,5,6,7,8,9]*'";
  } else if (!mode.empty() && mode != "*" && !EqualsNoCase(mode, "alldomains")) {
    // A quote is doubled so that it stays inside the pattern.
    const char first = mode.front();
    sql += " WHERE [Domain] Like '";
    sql += first == '\'' ? std::string("''") : std::string(1, first);
    sql += "*'";
  }
  sql += " ORDER BY [Domain]";
  sql += ascending ? " ASC" : " DESC";
  return sql;
}

bool ShowListMode(DomainDatabase& db, std::string_view mode) {
  return RunListQuery(db, ListModeQuery(mode, GetSortDirection()));
}

}  // namespace qv
