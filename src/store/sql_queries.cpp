#include "store/sql_queries.h"

#include "platform/ascii.h"
#include "platform/settings_store.h"
#include "store/database_connection.h"
#include "store/domain_list.h"
#include "store/sql_dates.h"
#include "whois/server_directory.h"

namespace qv {
namespace {

const char* SectionOf(QueryKind kind) {
  return kind == QueryKind::Display ? kDisplayQueriesSection : kLookupQueriesSection;
}

std::string NoRecentCheck(const char* field, int days) {
  const std::string since = "[TODAY-" + std::to_string(days) + "]";
  return std::string("SELECT * FROM [Domains]\r\nWHERE [") + field + "] < #" + since + "#\r\nOR [" +
         field + "] IS NULL";
}

// The com registry's whois server as the directory knows it; its name goes
// into a quoted literal, so a quote in a user's setting cannot end it.
std::string PartiallyLookedUpCom() {
  // Read without building a directory record, which would store itself.
  std::string host = StoredServerOfKey("com");
  if (host.empty()) host = DefaultServerForKey("com");
  if (host.empty()) host = ShippedServerForName("example.com");
  return "SELECT * FROM [Domains] WHERE\r\n[Whois Source] Like '" + QuotedSqlText(host) +
         "'\r\nAND [Domain] Like '*.com'\r\nAND [Last Checked At] IS NOT NULL\r\nAND [Status] <> 'Free'";
}

// A comparison with NULL is never true, so "is not empty" is IS NOT NULL.
constexpr const char* kEmptyRegistrarExpiry =
    "SELECT * FROM [Domains] WHERE\r\n[Registrar Expiry] IS NULL AND [Expiry Date] IS NOT NULL";
constexpr const char* kDiffExpiry = "SELECT * FROM [Domains] WHERE [Expiry Date] <> [Registrar Expiry]";
constexpr const char* kUnknown = "SELECT * FROM [Domains] WHERE [Last Checked At] IS NULL";

std::vector<QueryEntry> DisplayDefaults() {
  return {
      {"All [Unsorted]", "All domain names [unsorted]", kNewQueryText},
      {"About To Expire [Registry]", "Names that will expire (registry expiry) within the next 30 days",
       "SELECT * FROM [Domains] WHERE [Expiry Date] < #[TODAY+30]#"},
      {"About To Expire [Registrar]", "Names that will expire (registrar expiry) within the next 30 days",
       "SELECT * FROM [Domains] WHERE [Registrar Expiry] < #[TODAY+30]#"},
      {"Past Expiry Date", "Names that have gone past the expiry date",
       "SELECT * FROM [Domains] WHERE [Expiry Date] < #[TODAY]#"},
      {"New Domains", "Names that have been registered during the past 30 days",
       "SELECT * FROM [Domains] WHERE [Created On] > #[TODAY-30]#"},
      {"Available Domains", "Names that are unregistered",
       "SELECT * FROM [Domains] WHERE [Availability] Like '*Free*'"},
      {"Unknown Domains", "Domains that have not been checked yet", kUnknown},
      {"Hyphen Domains", "Domains that have a hyphen (-) in them",
       "SELECT * FROM [Domains] WHERE [Domain] Like '*-*'"},
      {"WWW Domains", "Domains that appear to have a related web site",
       "SELECT * FROM [Domains] WHERE [IP] Like '*.*'"},
      {"Non WWW Domains", "Domains that don't appear to have an IP address",
       "SELECT * FROM [Domains] WHERE [IP] Like 'Error'"},
      {"Unknown IP Domains", "Domains that have not been queried for DNS",
       "SELECT * FROM [Domains] WHERE [IP] IS NULL"},
      {"Partially Lookedup COM Domains", "COM Domains that have been partially looked up",
       PartiallyLookedUpCom()},
      {"Diff Registrar and Registry Expiry", "Domains that have different registrar and registry expiry dates",
       kDiffExpiry},
      {"Empty Registrar Expiry Date", "Domains that seem to have a blank registrar expiry date",
       kEmptyRegistrarExpiry},
      {"Domains With no Recent Ping", "No ping data or the last ping was more than a day ago",
       NoRecentCheck("Ping Checked At", 1)},
      {"Domains With no Recent Home Page Check",
       "No home page data or the last home page check was more than a day ago",
       NoRecentCheck("Home Page Checked At", 1)},
      {"Domains With no Recent Link Pop Check",
       "No link pop data or the last link pop check was more than 15 days ago",
       NoRecentCheck("SitePop Checked At", 15)},
      {"Domains With no Recent US Tm Check", "No US Tm data or the last US Tm check was more than 30 days ago",
       NoRecentCheck("US Tm Checked At", 30)},
  };
}

std::vector<QueryEntry> LookupDefaults() {
  return {
      {"All [Unsorted]", "All domain names [unsorted]", kNewQueryText},
      {"Unknown Domains", "Domains that have not been checked yet", kUnknown},
      {"Partially Lookedup COM Domains", "COM Domains that have been partially looked up",
       PartiallyLookedUpCom()},
      {"Empty Registrar Expiry Date", "Domains that seem to have a blank registrar expiry date",
       kEmptyRegistrarExpiry},
      {"Diff Registrar and Registry Expiry", "Domains that have different registrar and registry expiry dates",
       kDiffExpiry},
      {"Last Looked up 15 days ago", "Domains that were last lookedup more than 15 days ago",
       "SELECT * FROM [Domains] WHERE [Last Checked At] < #[TODAY-15]#"},
      {"No Recent Ping Check", "No ping data or the last ping was more than a day ago",
       NoRecentCheck("Ping Checked At", 1)},
      {"No Recent Home Page Check", "No home page data or the last home page check was more than a day ago",
       NoRecentCheck("Home Page Checked At", 1)},
      {"No Recent Link Pop Check", "No site pop data or the last link pop check was more than 15 days ago",
       NoRecentCheck("SitePop Checked At", 15)},
      {"No Recent US Tm Check", "No US Tm data or the last US Tm check was more than 30 days ago",
       NoRecentCheck("US Tm Checked At", 30)},
  };
}

}  // namespace

std::vector<QueryEntry> DefaultQueries(QueryKind kind) {
  return kind == QueryKind::Display ? DisplayDefaults() : LookupDefaults();
}

std::vector<QueryEntry> LoadQueries(QueryKind kind) {
  const char* section = SectionOf(kind);
  std::vector<QueryEntry> entries;
  const int count = GetProfileInt(section, "Count", 0);
  for (int i = 1; i <= count; ++i) {
    const std::string n = std::to_string(i);
    QueryEntry entry{GetProfileString(section, n, ""), GetProfileString(section, "Comment-" + n, ""),
                     GetProfileString(section, "Query-" + n, "")};
    if (!entry.name.empty()) entries.push_back(std::move(entry));
  }
  const std::vector<QueryEntry> defaults = DefaultQueries(kind);
  if (entries.size() < defaults.size())
    for (const QueryEntry& entry : defaults)
      if (!FindQuery(entries, entry.name)) entries.push_back(entry);
  return entries;
}

void SaveQueries(QueryKind kind, const std::vector<QueryEntry>& entries) {
  const char* section = SectionOf(kind);
  // The old list goes and the new one comes in the same rewrite of the file,
  // so the queries are never lost in between.
  SettingsBatch batch = SettingsBatch::Profile();
  batch.RemoveSection(section).SetInt(section, "Count", int(entries.size()));
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const std::string n = std::to_string(i + 1);
    batch.SetString(section, n, entries[i].name)
        .SetString(section, "Comment-" + n, entries[i].comment)
        .SetString(section, "Query-" + n, entries[i].sql);
  }
  batch.Commit();
}

const QueryEntry* FindQuery(const std::vector<QueryEntry>& entries, std::string_view name) {
  for (const QueryEntry& entry : entries)
    if (EqualsNoCase(entry.name, name)) return &entry;
  return nullptr;
}

std::string GetDisplayQuerySql(std::string_view name) {
  const std::vector<QueryEntry> entries = LoadQueries(QueryKind::Display);
  const QueryEntry* entry = FindQuery(entries, name);
  return entry ? entry->sql : std::string();
}

std::string GetLookupQuerySql(std::string_view name) {
  const std::vector<QueryEntry> entries = LoadQueries(QueryKind::Lookup);
  const QueryEntry* entry = FindQuery(entries, name);
  return entry ? entry->sql : std::string();
}

std::string QuotedSqlText(std::string_view text) {
  std::string out;
  for (char c : text) {
    out += c;
    if (c == '\'') out += '\'';
  }
  return out;
}

int RunLookupQuery(DomainDatabase& db, std::string_view sql, std::string* error) {
  DomainList& list = FilterList();
  list.Clear();
  const bool ok = db.HasPath() && db.OpenReadOnly(db.filter()) && list.Load(db.filter(), ExpandQueryText(sql));
  if (!ok) {
    if (error) *error = db.HasPath() ? db.filter().GetLastError() : "No document is open.";
    return -1;
  }
  return list.Count();
}

std::string TestQuery(const std::string& path, std::string_view sql) {
  DatabaseConnection connection;
  if (connection.OpenDatabase(path, true) != kDbOk) return connection.GetLastError();
  if (connection.CreateQuery("", ExpandQueryText(sql)) != kDbOk || connection.OpenRecordset() != kDbOk)
    return connection.GetLastError();
  Statement& rows = connection.Recordset();
  if (rows.Next() == Statement::Step::Error) return "Error: Creating Recordset\r\n" + rows.ErrorText();
  return {};
}

}  // namespace qv
