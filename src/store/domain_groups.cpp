#include "store/domain_groups.h"

#include <sqlite3.h>

#include <algorithm>

#include "platform/ascii.h"
#include "platform/settings_store.h"
#include "store/database_connection.h"
#include "store/database_maintenance.h"
#include "store/domain_record.h"

namespace qv {

const std::vector<DomainGroup>& BuiltInGroups() {
  static const std::vector<DomainGroup> groups = {
      {"Personal Domains", "*PERSONALDOMAINS", true},
      {"Business Domains", "*BIZDOMAINS", true},
      {"Competitor's Domains", "*COMPDOMAINS", true},
      {"Bookmarked Domains", "*BOOKMARKDOMAINS", true},
      {"Keyword Domains", "*KEYWORDDOMAINS", true},
      {"High Traffic Domains", "*HITRAFFICDOMAINS", true},
      {"Low Traffic Domains", "*LOTRAFFICDOMAINS", true},
      {"Most Important Domains", "*HIVALUEDOMAINS", true},
      {"Unimportant Domains", "*LOWVALUEDOMAINS", true},
      {"Desired Domains", "*DESIREDDOMAINS", true},
  };
  return groups;
}

std::vector<DomainGroup> AllDomainGroups() {
  std::vector<DomainGroup> groups = BuiltInGroups();
  for (const std::string& name : UserGroupNamesFromSettings())
    groups.push_back({name, UserGroupCodeOf(name), false});
  return groups;
}

std::string GroupNameOfCode(std::string_view code) {
  for (const DomainGroup& g : AllDomainGroups())
    if (EqualsNoCase(g.code, code)) return g.name;
  return {};
}

namespace {

// The field of a group code, or "" when the code cannot name one.
std::string FieldOfCode(std::string_view code) {
  if (code.size() < 2 || code.front() != '*') return {};
  return GroupFieldOfCode(code.substr(1));
}

std::string MissingFieldText(const std::string& fieldName) {
  return "The document has no field " + fieldName +
         " for this group. Run \"Additional Domain Groups\" (or \"Normalize Database\") to add it.";
}

}  // namespace

namespace {

// "UPDATE ... SET field = ?1 WHERE [Domain] IN (?2, ..., ?n+1) ..." for a
// batch of n names: only rows whose membership differs are written.
std::string BatchUpdateSql(const std::string& fieldName, int n) {
  const std::string column = QuoteName(fieldName);
  std::string sql = "UPDATE " + QuoteName(kDomainsTable) + " SET " + column + " = ?1 WHERE [Domain] COLLATE NOCASE IN (";
  for (int i = 0; i < n; ++i) sql += (i ? ", ?" : "?") + std::to_string(i + 2);
  return sql + ") AND coalesce(" + column + ", 0) <> ?1";
}

}  // namespace

GroupChangeResult ChangeGroups(DomainDatabase& db, const std::vector<std::string>& names,
                               const std::vector<std::string>& codes, bool add,
                               const std::function<bool(int done, int total)>& progress) {
  GroupChangeResult result;
  if (!db.OpenDomainsTable()) {
    result.error = db.update().GetLastError();
    return result;
  }
  DatabaseConnection& c = db.update();
  std::vector<std::string> fieldNames;
  for (const std::string& code : codes) {
    const std::string fieldName = FieldOfCode(code);
    if (fieldName.empty() || !c.FieldExists(fieldName)) {
      result.error = MissingFieldText(fieldName.empty() ? code : fieldName);
      return result;
    }
    fieldNames.push_back(fieldName);
  }
  // One statement per group for a whole batch, and one for the last, shorter batch.
  const int total = int(names.size());
  const int step = kGroupProgressStep;
  std::vector<Statement> full, last;
  for (const std::string& fieldName : fieldNames) {
    full.push_back(c.PrepareNative(BatchUpdateSql(fieldName, step)));
    if (total % step) last.push_back(c.PrepareNative(BatchUpdateSql(fieldName, total % step)));
    if (!full.back() || (total % step && !last.back())) {
      result.error = c.GetLastError();
      return result;
    }
  }
  if (c.Begin() != kDbOk) {
    result.error = c.GetLastError();
    return result;
  }
  const auto fail = [&] {
    result.error = c.GetLastError();
    c.Rollback();
    result.changed = 0;
    return result;
  };
  for (int first = 0; first < total; first += step) {
    if (progress && !progress(first, total)) {
      result.cancelled = true;
      break;
    }
    const int n = std::min(step, total - first);
    for (Statement& st : n == step ? full : last) {
      st.Reset();
      st.BindInt(1, add ? 1 : 0);
      for (int i = 0; i < n; ++i) st.BindText(i + 2, names[std::size_t(first + i)]);
      if (st.Next() == Statement::Step::Error) {
        c.SetEngineError("Changing Domain Groups");
        return fail();
      }
      result.changed += sqlite3_changes(c.handle());
    }
  }
  full.clear();
  last.clear();
  if (c.Commit() != kDbOk) return fail();
  if (progress && !result.cancelled) progress(total, total);
  return result;
}

bool SetGroupMembership(DomainDatabase& db, std::string_view name, std::string_view code, bool add) {
  const GroupChangeResult r = ChangeGroups(db, {std::string(name)}, {std::string(code)}, add);
  return r.error.empty() && r.changed > 0;
}

bool IsGroupMember(DomainDatabase& db, std::string_view name, std::string_view code) {
  DomainRecord record;
  return db.ReadRecord(name, record) && record.IsGroupMember(code);
}

std::vector<std::string> GroupMembers(DomainDatabase& db, std::string_view code) {
  std::vector<std::string> names;
  const std::string fieldName = FieldOfCode(code);
  if (fieldName.empty() || !db.OpenDomainsTable() || !db.update().FieldExists(fieldName)) return names;
  Statement st = db.update().PrepareNative("SELECT [Domain] FROM " + QuoteName(kDomainsTable) + " WHERE " +
                                           QuoteName(fieldName) + " = 1");
  while (st && st.Next() == Statement::Step::Row) names.push_back(st.ColumnText(0));
  return names;
}

std::string GroupListQuery(std::string_view code) {
  const std::string fieldName = FieldOfCode(code);
  if (fieldName.empty()) return "SELECT * FROM [Domains]";
  return "SELECT * FROM [Domains] WHERE [" + fieldName + "] = 1";
}

}  // namespace qv
