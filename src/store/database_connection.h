// The access layer over the document's SQLite file.
//
// A DatabaseConnection is one engine connection with the few things the
// program keeps on it: the current table, the current query, the current
// record set (a stepped statement) and the last error code and text. Every
// operation sets the last error; the texts are the ones the user sees.
//
// A DomainDatabase is the open document: its path and its three connections,
// the update connection (structure changes, reading and writing records by
// name), the list connection (the shown list) and the filter connection (the
// names of a lookup filter). Both belong to the main thread.
//
// SQL given to Execute/Prepare/CreateQuery is in the Jet dialect users write
// (see store/jet_sql.h) and is translated before SQLite runs it; the *Native
// forms run SQLite's own SQL unchanged.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "store/domain_fields.h"
#include "store/domain_record.h"

struct sqlite3;
struct sqlite3_stmt;

namespace qv {

// Last error codes.
inline constexpr int kDbOk = 0;
inline constexpr int kDbOpenFailed = 1;      // the database could not be opened
inline constexpr int kDbNoErrorInfo = 255;   // the engine failed without saying why
inline constexpr int kDbEngineError = -1;    // the engine failed with a description
inline constexpr int kDbNoMemory = -2;       // an engine object could not be allocated

// What a write to a read-only document is told.
inline constexpr const char* kReadOnlyDocumentText =
    "The document is read-only (the file or its folder cannot be written), so nothing can be "
    "changed in it. Save a copy elsewhere with Backup & Compact to work on it.";

// Why a user's query was refused (see DatabaseConnection::PrepareQuery).
inline constexpr const char* kMoreThanOneStatementText =
    "Only one statement can be run: the text after the first statement was refused.";
inline constexpr const char* kStatementWritesText =
    "The statement could change the document or write a file; only queries that read are run.";

// A prepared statement. Move-only; finalised when destroyed. Bind indexes
// and column numbers follow SQLite: binds from 1, columns from 0.
class Statement {
 public:
  enum class Step { Row, Done, Error };

  Statement() = default;
  Statement(sqlite3* db, sqlite3_stmt* stmt) : db_(db), stmt_(stmt) {}
  Statement(Statement&& other) noexcept;
  Statement& operator=(Statement&& other) noexcept;
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;
  ~Statement();

  bool IsValid() const { return stmt_ != nullptr; }
  explicit operator bool() const { return IsValid(); }

  bool BindText(int index, std::string_view text);
  bool BindInt(int index, long long value);
  bool BindDouble(int index, double value);
  bool BindNull(int index);
  // A field value as the table stores it: dates as ISO text, null as NULL.
  bool BindValue(int index, const FieldValue& value);

  // Runs to the next row. On Error, ErrorText() holds the engine's text.
  Step Next();
  // Back to the start, keeping the bound values.
  bool Reset();
  void ClearBindings();

  int ColumnCount() const;
  std::string ColumnName(int column) const;
  // The column of that name (without regard to case), or -1.
  int ColumnIndex(std::string_view name) const;
  bool IsNull(int column) const;
  std::string ColumnText(int column) const;
  long long ColumnInt(int column) const;
  double ColumnDouble(int column) const;
  // The column read as a field of the given type (null stays null).
  FieldValue ColumnValue(int column, FieldType type) const;

  const std::string& ErrorText() const { return error_; }
  int ErrorCode() const { return errorCode_; }
  sqlite3_stmt* handle() const { return stmt_; }

 private:
  void Finalize();
  sqlite3* db_ = nullptr;
  sqlite3_stmt* stmt_ = nullptr;
  std::string error_;
  int errorCode_ = kDbOk;
};

class DatabaseConnection {
 public:
  DatabaseConnection();
  ~DatabaseConnection();
  DatabaseConnection(const DatabaseConnection&) = delete;
  DatabaseConnection& operator=(const DatabaseConnection&) = delete;

  // --- The operations. Each returns 0 or the last error code. ---

  // Closes whatever the connection held, then opens an existing file (never
  // creates one). Fails with "Error: Opening Database.\r\n%s" for a missing
  // file, an empty file or one that is not a database. A read-write opening
  // of a document switches it to write-ahead logging.
  int OpenDatabase(const std::string& path, bool readOnly);
  // Creates a new, empty database file (an existing file is an error).
  int CreateDatabase(const std::string& path);
  // Creates a table with these fields and makes it the current table.
  // "Table '%s' already exists." when it exists.
  int CreateTable(std::string_view name, const std::vector<FieldInfo>& fields);
  // Makes an existing table the current table.
  int OpenTable(std::string_view name);
  // A one-field index on the current table (text compared without regard to
  // case). An index of that name that exists is left as it is.
  int CreateIndex(std::string_view fieldName, std::string_view indexName, bool primary, bool unique);
  // True when the current table has a field of that name (any capitals).
  bool FieldExists(std::string_view name);
  // "Field '%s' already exists." when it exists.
  int CreateField(std::string_view name, FieldType type, int size);
  int DeleteField(std::string_view name);
  // An unnamed query is temporary: it becomes the current query. A named one
  // is kept in the file as a view ("Query '%s' already exists." when it
  // exists) and also becomes the current query.
  int CreateQuery(std::string_view name, std::string_view jetSql);
  // Opens the record set: the current query when there is one, else all rows
  // of the current table.
  int OpenRecordset();
  bool HasRecordset() const { return recordset_.IsValid(); }
  Statement& Recordset() { return recordset_; }
  // Releases record set, query, table and database, in that order.
  void Close();

  const std::string& GetLastError() const { return lastError_; }
  int GetLastErrorCode() const { return lastErrorCode_; }
  void ClearError();

  bool IsOpen() const { return db_ != nullptr; }
  bool IsReadOnly() const { return readOnly_; }
  const std::string& Path() const { return path_; }
  const std::string& CurrentTable() const { return table_; }
  const std::string& CurrentQuery() const { return query_; }  // as SQLite runs it
  sqlite3* handle() const { return db_; }

  // --- SQL ---
  // `operation` names what failed in the error text ("Error: %s\r\n%s").
  int Execute(std::string_view jetSql, std::string_view operation = "Executing Query");
  int ExecuteNative(std::string_view sql, std::string_view operation = "Executing Query");
  // An invalid Statement on failure (the last error says why).
  Statement Prepare(std::string_view jetSql, std::string_view operation = "Creating Query");
  Statement PrepareNative(std::string_view sql, std::string_view operation = "Creating Query");
  // A user's query in SQLite's SQL: exactly one statement (text after it
  // other than blanks and comments is refused, never dropped) that only reads
  // (a statement that could write, VACUUM INTO included, is refused).
  Statement PrepareQuery(std::string_view sql, std::string_view operation = "Creating Query");
  // A statement of SQLite's SQL kept on the connection for calls that run it
  // again and again; it goes when the connection closes or the structure
  // changes. Comes back reset and unbound; null when it cannot be prepared.
  // The pointer holds until the next CachedStatement call or structure change.
  Statement* CachedStatement(const std::string& sql);

  // While set, a long statement asks `cancelled` every thousand steps and
  // stops with the engine's "interrupted" when it says true. Survives only
  // until the connection is closed or opened again.
  void SetCancelCheck(std::function<bool()> cancelled);

  // One transaction at a time; Rollback is harmless without one.
  int Begin();
  int Commit();
  int Rollback();
  bool InTransaction() const;

  // --- Structure ---
  // The fields of a table in order (cached until the structure changes);
  // empty when the table does not exist.
  const std::vector<FieldInfo>& TableFields(std::string_view table);
  const std::vector<FieldInfo>& Fields() { return TableFields(table_); }
  // The field of `Domains` of that name (aliases translated), or nullptr.
  const FieldInfo* FindDomainField(std::string_view name);
  bool TableExists(std::string_view table);
  // True when the file is one of the program's documents: `Domains` with a
  // `Domain` field beside `_Connections`. Another program's database that
  // happens to have a table called "domains" is not one.
  bool IsDocument();

  // --- Domain records, found by name through DomainIndex ---
  bool HasDomain(std::string_view name);
  // False when the name is not stored (last error 0) or on failure.
  bool ReadDomainRecord(std::string_view name, DomainRecord& record);
  // Writes every field of the stored row of record.Domain(): Text values cut
  // to their field size, group fields from the record's group list, fields the
  // record does not hold as null. Fails when the name is not stored.
  int WriteDomainRecord(const DomainRecord& record);
  // Adds a new row the same way; fails at DomainIndex when the name (in any
  // capitals) is stored already.
  int AddDomainRecord(const DomainRecord& record);
  // Deletes the row of a name; 0 also when it was not stored.
  int DeleteDomainRecord(std::string_view name);
  // Loads the current row of a statement over `Domains` into a record; the
  // columns are matched to the table's fields by name.
  void RecordFromRow(const Statement& row, DomainRecord& record);
  // The field (alias translated) of a stored name as text (FieldValueToText);
  // "" when the name is not stored or the field does not exist.
  std::string GetFieldText(std::string_view domain, std::string_view fieldName);

  // Sets the last error to "Error: %s\r\n%s" with the operation and the
  // engine's current text; returns the code.
  int SetEngineError(std::string_view operation);
  int SetError(int code, std::string text);

 private:
  int FailOpen(std::string description);
  void DropStructureCache();
  int BindRecord(Statement& st, const DomainRecord& record, const std::vector<FieldInfo>& fields);

  sqlite3* db_ = nullptr;
  std::string path_;
  bool readOnly_ = false;
  std::string table_;
  std::string query_;
  Statement recordset_;
  int lastErrorCode_ = kDbOk;
  std::string lastError_;
  std::function<bool()> cancelCheck_;
  struct Cache;
  std::unique_ptr<Cache> cache_;
};

// The open document: one path and its three connections.
class DomainDatabase {
 public:
  DomainDatabase() = default;
  DomainDatabase(const DomainDatabase&) = delete;
  DomainDatabase& operator=(const DomainDatabase&) = delete;

  // Empty when no database is open.
  const std::string& Path() const { return path_; }
  bool HasPath() const { return !path_.empty(); }
  // Closes the three connections and takes the new path (empty: none). The
  // file is not opened here; see OpenDocument in database_maintenance.h for
  // an opening that checks the file first. A read-only document is opened
  // read-only on every connection and refuses record writes.
  void SetPath(std::string path, bool readOnly = false);
  bool IsReadOnly() const { return readOnly_; }
  void CloseAll();

  DatabaseConnection& update() { return update_; }
  DatabaseConnection& list() { return list_; }
  DatabaseConnection& filter() { return filter_; }

  // Opens the update connection on the path with `Domains` as its table and
  // its record set, unless it is open already. False on failure; the text is
  // update().GetLastError().
  bool OpenDomainsTable();
  // Opens a read-only connection (list or filter) on the path. False on failure.
  bool OpenReadOnly(DatabaseConnection& connection);

  // Record operations on the update connection.
  bool ReadRecord(std::string_view name, DomainRecord& record);
  bool WriteRecord(const DomainRecord& record);
  std::string GetFieldText(std::string_view domain, std::string_view fieldName);

 private:
  std::string path_;
  bool readOnly_ = false;
  DatabaseConnection update_;
  DatabaseConnection list_;
  DatabaseConnection filter_;
};

}  // namespace qv
