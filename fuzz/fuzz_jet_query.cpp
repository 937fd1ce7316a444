// A user's query as the list runs it: "%20" and the [TODAY] placeholders
// expanded, the Jet dialect translated, and the result prepared as the
// record set (its names-only form first) on a document opened read-only (prepared, not run: running a
// made-up query proves nothing about the readers and may take for ever).
#include <cstdlib>
#include <string>

#include "fuzz_support.h"
#include "store/database_maintenance.h"
#include "store/domain_list.h"
#include "store/sql_dates.h"

#include <sqlite3.h>

namespace {

qv::DatabaseConnection& ReadOnlyDocument() {
  static qv::DatabaseConnection connection;
  if (!connection.IsOpen()) {
    const std::string path = qvfuzz::PrivateFolders() + "/query.qvl";
    {
      qv::DomainDatabase db;
      if (!qv::NewDocument(db, path).ok) std::abort();
    }
    if (connection.OpenDatabase(path, true) != 0) std::abort();
  }
  return connection;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  ReadOnlyDocument();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string sql =
      qv::ExpandQueryText(qvfuzz::AsText(data, size), qv::Date::FromYmd(2026, 12, 6));
  qv::DatabaseConnection& db = ReadOnlyDocument();
  // The list tries the names-only form of the query first, then the query.
  for (const std::string& query : {qv::NamesOnlyQuery(sql), sql}) {
    if (query.empty()) continue;
    if (db.CreateQuery("", query) == 0 && db.OpenRecordset() == 0) {
      // The record set is a reading statement, whatever the text said.
      if (!sqlite3_stmt_readonly(db.Recordset().handle())) std::abort();
    }
  }
  db.OpenTable("Domains");
  return 0;
}
