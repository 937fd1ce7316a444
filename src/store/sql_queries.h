// The user's stored SQL queries over `Domains`: display queries (which names
// the list shows) and lookup queries (which names a lookup run takes). Each
// kind is a named list kept in its own settings section, topped up with the
// program's defaults while the user has fewer queries than there are
// defaults.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qv {

class DatabaseConnection;
class DomainDatabase;

enum class QueryKind { Display = 0, Lookup = 1 };

inline constexpr const char* kDisplayQueriesSection = "Display SQL Queries";
inline constexpr const char* kLookupQueriesSection = "Lookup SQL Queries";
// The name of the lookup query last used (section "Settings").
inline constexpr const char* kSqlLookupQueryKey = "SQL Lookup Query";
inline constexpr const char* kTestedOkText = "Tested OK";
inline constexpr const char* kNewQueryText = "SELECT * FROM [Domains]";

struct QueryEntry {
  std::string name;     // the key, shown in lists
  std::string comment;  // one line shown beside the name
  std::string sql;      // may span lines; date placeholders allowed
  bool operator==(const QueryEntry&) const = default;
};

// The defaults of a kind, in order (18 display, 10 lookup queries).
std::vector<QueryEntry> DefaultQueries(QueryKind kind);

// The stored list (entries without a name skipped); while it holds fewer
// entries than the defaults, each default whose name is not in it yet is
// appended in the order of the defaults.
std::vector<QueryEntry> LoadQueries(QueryKind kind);
// Writes "Count" and the entries from 1 upwards, replacing the old list.
void SaveQueries(QueryKind kind, const std::vector<QueryEntry>& entries);

// The entry of that name (without regard to case), or nullptr.
const QueryEntry* FindQuery(const std::vector<QueryEntry>& entries, std::string_view name);
// The SQL of a display query; "" when none has that name.
std::string GetDisplayQuerySql(std::string_view name);
std::string GetLookupQuerySql(std::string_view name);

// A text made fit to stand between single quotes in a query.
std::string QuotedSqlText(std::string_view text);

// Runs a lookup query (placeholders replaced) on the filter connection of
// `db`, reopened read-only, and keeps its names in the filter list (read
// them with GetDomainAt). The row count, or -1 with `error` set.
int RunLookupQuery(DomainDatabase& db, std::string_view sql, std::string* error = nullptr);

// Runs a query (placeholders replaced) to its first row on a connection of
// its own, opened read-only on `path` for the test and closed after. "" when
// it ran, else the engine's text.
std::string TestQuery(const std::string& path, std::string_view sql);

}  // namespace qv
