#include "store/database_connection.h"

#include <sqlite3.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <system_error>

#include "store/jet_sql.h"

namespace qv {
namespace {

constexpr const char* kNoEngineText = "DAO is probably not installed or the Installation is incorrect.";
constexpr const char* kEmptyFileText = "Is DAO installed?\r\n(or the database file is probably empty)";
constexpr int kBusyTimeoutMs = 5000;

std::string Describe(std::string_view operation, std::string_view description) {
  return "Error: " + std::string(operation) + "\r\n" + std::string(description);
}

std::string DomainKeyClause() {
  return " WHERE " + QuoteName(field::kDomain) + " = ?1 COLLATE NOCASE";
}

// A text read as a whole number or a double; nothing when it is not one.
bool ParseNumber(const std::string& text, double& out) {
  if (text.empty()) return false;
  char* end = nullptr;
  out = std::strtod(text.c_str(), &end);
  return end && *end == '\0';
}

// The value as the field's type stores it.
FieldValue CoerceToField(const FieldValue& value, const FieldInfo& info) {
  if (std::holds_alternative<std::monostate>(value)) return value;
  const auto* text = std::get_if<std::string>(&value);
  switch (info.type) {
    case FieldType::Text:
    case FieldType::Memo:
      return CutToFieldSize(text ? *text : FieldValueToText(value), info.size);
    case FieldType::Date:
      if (const auto* d = std::get_if<Date>(&value)) return d->IsValid() ? FieldValue(*d) : FieldValue{};
      if (text) {
        const Date d = Date::FromIsoText(*text);
        return d.IsValid() ? FieldValue(d) : FieldValue{};
      }
      if (const auto* x = std::get_if<double>(&value)) return Date::FromDays(*x);
      return {};
    default: break;
  }
  double number = 0;
  if (text) {
    if (!ParseNumber(*text, number)) return {};
  } else if (const auto* n = std::get_if<std::int32_t>(&value)) {
    number = *n;
  } else if (const auto* b = std::get_if<std::uint8_t>(&value)) {
    number = *b;
  } else if (const auto* f = std::get_if<bool>(&value)) {
    number = *f ? 1 : 0;
  } else if (const auto* x = std::get_if<double>(&value)) {
    number = *x;
  } else {
    return {};
  }
  switch (info.type) {
    case FieldType::Byte: return std::uint8_t(static_cast<long long>(number) & 0xFF);
    case FieldType::Boolean: return number != 0;
    case FieldType::Long: return static_cast<std::int32_t>(static_cast<long long>(number));
    default: return number;
  }
}

FieldType TypeOfStorage(int sqliteType) {
  switch (sqliteType) {
    case SQLITE_INTEGER: return FieldType::Long;
    case SQLITE_FLOAT: return FieldType::Double;
    default: return FieldType::Memo;
  }
}

}  // namespace

// ---------------------------------------------------------------------------
// Statement

Statement::Statement(Statement&& other) noexcept
    : db_(other.db_), stmt_(other.stmt_), error_(std::move(other.error_)), errorCode_(other.errorCode_) {
  other.stmt_ = nullptr;
  other.db_ = nullptr;
}

Statement& Statement::operator=(Statement&& other) noexcept {
  if (this != &other) {
    Finalize();
    db_ = other.db_;
    stmt_ = other.stmt_;
    error_ = std::move(other.error_);
    errorCode_ = other.errorCode_;
    other.stmt_ = nullptr;
    other.db_ = nullptr;
  }
  return *this;
}

Statement::~Statement() { Finalize(); }

void Statement::Finalize() {
  if (stmt_) sqlite3_finalize(stmt_);
  stmt_ = nullptr;
}

bool Statement::BindText(int index, std::string_view text) {
  return stmt_ && sqlite3_bind_text(stmt_, index, text.data(), int(text.size()), SQLITE_TRANSIENT) == SQLITE_OK;
}

bool Statement::BindInt(int index, long long value) {
  return stmt_ && sqlite3_bind_int64(stmt_, index, value) == SQLITE_OK;
}

bool Statement::BindDouble(int index, double value) {
  return stmt_ && sqlite3_bind_double(stmt_, index, value) == SQLITE_OK;
}

bool Statement::BindNull(int index) { return stmt_ && sqlite3_bind_null(stmt_, index) == SQLITE_OK; }

bool Statement::BindValue(int index, const FieldValue& value) {
  struct Binder {
    Statement& s;
    int i;
    bool operator()(std::monostate) const { return s.BindNull(i); }
    bool operator()(const std::string& t) const { return s.BindText(i, t); }
    bool operator()(std::int32_t n) const { return s.BindInt(i, n); }
    bool operator()(std::uint8_t n) const { return s.BindInt(i, n); }
    bool operator()(bool b) const { return s.BindInt(i, b ? 1 : 0); }
    bool operator()(double x) const { return s.BindDouble(i, x); }
    bool operator()(const Date& d) const { return d.IsValid() ? s.BindText(i, d.ToIsoText()) : s.BindNull(i); }
  };
  return std::visit(Binder{*this, index}, value);
}

Statement::Step Statement::Next() {
  if (!stmt_) {
    error_ = "No statement.";
    errorCode_ = kDbEngineError;
    return Step::Error;
  }
  const int rc = sqlite3_step(stmt_);
  if (rc == SQLITE_ROW) return Step::Row;
  if (rc == SQLITE_DONE) return Step::Done;
  const char* msg = sqlite3_errmsg(db_);
  error_ = msg && *msg ? msg : kNoEngineText;
  errorCode_ = rc == SQLITE_NOMEM ? kDbNoMemory : (msg && *msg ? kDbEngineError : kDbNoErrorInfo);
  sqlite3_reset(stmt_);
  return Step::Error;
}

bool Statement::Reset() { return stmt_ && sqlite3_reset(stmt_) == SQLITE_OK; }

void Statement::ClearBindings() {
  if (stmt_) sqlite3_clear_bindings(stmt_);
}

int Statement::ColumnCount() const { return stmt_ ? sqlite3_column_count(stmt_) : 0; }

std::string Statement::ColumnName(int column) const {
  const char* name = stmt_ ? sqlite3_column_name(stmt_, column) : nullptr;
  return name ? name : "";
}

int Statement::ColumnIndex(std::string_view name) const {
  for (int c = 0; c < ColumnCount(); ++c)
    if (EqualsNoCase(ColumnName(c), name)) return c;
  return -1;
}

bool Statement::IsNull(int column) const {
  return !stmt_ || sqlite3_column_type(stmt_, column) == SQLITE_NULL;
}

std::string Statement::ColumnText(int column) const {
  if (!stmt_) return "";
  const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
  return text ? std::string(text, std::size_t(sqlite3_column_bytes(stmt_, column))) : std::string();
}

long long Statement::ColumnInt(int column) const { return stmt_ ? sqlite3_column_int64(stmt_, column) : 0; }

double Statement::ColumnDouble(int column) const { return stmt_ ? sqlite3_column_double(stmt_, column) : 0; }

FieldValue Statement::ColumnValue(int column, FieldType type) const {
  if (IsNull(column)) return {};
  switch (type) {
    case FieldType::Text:
    case FieldType::Memo: return ColumnText(column);
    case FieldType::Date: return Date::FromIsoText(ColumnText(column));
    case FieldType::Byte: return std::uint8_t(ColumnInt(column) & 0xFF);
    case FieldType::Boolean: return ColumnInt(column) != 0;
    case FieldType::Long: return static_cast<std::int32_t>(ColumnInt(column));
    case FieldType::Double:
    case FieldType::Currency: return ColumnDouble(column);
  }
  return {};
}

// ---------------------------------------------------------------------------
// DatabaseConnection

struct DatabaseConnection::Cache {
  std::map<std::string, std::vector<FieldInfo>, NoCaseLess> fields;
  std::map<std::string, Statement> statements;  // by SQL text
  // UPDATE statements by which of the table's fields a record holds ('1' per
  // field held, in table order).
  std::map<std::string, std::string> updateSql;
};

DatabaseConnection::DatabaseConnection() : cache_(std::make_unique<Cache>()) {}

DatabaseConnection::~DatabaseConnection() { Close(); }

void DatabaseConnection::ClearError() {
  lastErrorCode_ = kDbOk;
  lastError_.clear();
}

int DatabaseConnection::SetError(int code, std::string text) {
  lastErrorCode_ = code;
  lastError_ = std::move(text);
  return code;
}

int DatabaseConnection::SetEngineError(std::string_view operation) {
  if (!db_) return SetError(kDbEngineError, Describe(operation, "No database is open."));
  if (sqlite3_errcode(db_) == SQLITE_NOMEM) return SetError(kDbNoMemory, Describe(operation, "Memory"));
  const char* msg = sqlite3_errmsg(db_);
  if (!msg || !*msg) return SetError(kDbNoErrorInfo, Describe(operation, kNoEngineText));
  return SetError(kDbEngineError, Describe(operation, msg));
}

int DatabaseConnection::FailOpen(std::string description) {
  if (db_) sqlite3_close_v2(db_);
  db_ = nullptr;
  path_.clear();
  return SetError(kDbOpenFailed, "Error: Opening Database.\r\n" + description);
}

void DatabaseConnection::DropStructureCache() {
  cache_->fields.clear();
  cache_->statements.clear();
  cache_->updateSql.clear();
}

int DatabaseConnection::OpenDatabase(const std::string& path, bool readOnly) {
  Close();
  ClearError();
  std::error_code ec;
  if (path.empty() || !std::filesystem::is_regular_file(path, ec))
    return FailOpen("Could not find file '" + path + "'.");
  if (std::filesystem::file_size(path, ec) == 0 || ec) return FailOpen(kEmptyFileText);
  const int flags = readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE;
  if (sqlite3_open_v2(path.c_str(), &db_, flags, nullptr) != SQLITE_OK) {
    const char* msg = db_ ? sqlite3_errmsg(db_) : nullptr;
    return FailOpen(msg && *msg ? msg : "Unable to initialize DAO Engine.");
  }
  sqlite3_busy_timeout(db_, kBusyTimeoutMs);
  sqlite3_extended_result_codes(db_, 1);
  // Reading the schema is what tells a database from any other file.
  if (sqlite3_exec(db_, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr) != SQLITE_OK)
    return FailOpen(sqlite3_errmsg(db_));
  if (RegisterJetFunctions(db_) != SQLITE_OK) return FailOpen(sqlite3_errmsg(db_));
  path_ = path;
  readOnly_ = readOnly;
  // Only a file that is one of our documents is switched to write-ahead
  // logging; another program's database is not changed by being opened.
  if (!readOnly && IsDocument()) {
    Statement mode = PrepareNative("PRAGMA journal_mode");
    if (mode.Next() == Statement::Step::Row && !EqualsNoCase(mode.ColumnText(0), "wal")) {
      mode = Statement();
      sqlite3_exec(db_, "PRAGMA journal_mode=WAL", nullptr, nullptr, nullptr);
    }
  }
  ClearError();
  return kDbOk;
}

int DatabaseConnection::CreateDatabase(const std::string& path) {
  Close();
  ClearError();
  std::error_code ec;
  if (path.empty()) return SetError(kDbEngineError, Describe("Creating Database", "No file name."));
  if (std::filesystem::exists(path, ec))
    return SetError(kDbEngineError, Describe("Creating Database", "Database already exists."));
  const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
  if (sqlite3_open_v2(path.c_str(), &db_, flags, nullptr) != SQLITE_OK) {
    const int code = SetEngineError("Creating Database");
    sqlite3_close_v2(db_);
    db_ = nullptr;
    return code;
  }
  sqlite3_busy_timeout(db_, kBusyTimeoutMs);
  sqlite3_extended_result_codes(db_, 1);
  path_ = path;
  readOnly_ = false;
  if (RegisterJetFunctions(db_) != SQLITE_OK ||
      sqlite3_exec(db_, "PRAGMA journal_mode=WAL", nullptr, nullptr, nullptr) != SQLITE_OK) {
    const int code = SetEngineError("Creating Database");
    Close();
    return code;
  }
  return kDbOk;
}

bool DatabaseConnection::TableExists(std::string_view table) {
  if (!db_ || table.empty()) return false;
  Statement st = PrepareNative("SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = ?1 COLLATE NOCASE");
  st.BindText(1, table);
  const bool found = st.Next() == Statement::Step::Row;
  ClearError();
  return found;
}

bool DatabaseConnection::IsDocument() {
  if (!TableExists(kConnectionsTable)) return false;
  for (const FieldInfo& f : TableFields(kDomainsTable))
    if (EqualsNoCase(f.name, field::kDomain)) return true;
  return false;
}

int DatabaseConnection::CreateTable(std::string_view name, const std::vector<FieldInfo>& fields) {
  ClearError();
  if (TableExists(name)) return SetError(kDbEngineError, "Table '" + std::string(name) + "' already exists.");
  if (fields.empty()) return SetError(kDbEngineError, Describe("Creating Table", "A table needs a field."));
  std::string sql = "CREATE TABLE " + QuoteName(name) + " (";
  for (std::size_t i = 0; i < fields.size(); ++i) sql += (i ? ", " : "") + ColumnDefinition(fields[i]);
  sql += ")";
  DropStructureCache();
  if (const int rc = ExecuteNative(sql, "Creating Table")) return rc;
  table_ = std::string(name);
  return kDbOk;
}

int DatabaseConnection::OpenTable(std::string_view name) {
  ClearError();
  if (!db_) return SetEngineError("Opening Table");
  if (!TableExists(name))
    return SetError(kDbEngineError, Describe("Opening Table", "no such table: " + std::string(name)));
  recordset_ = Statement();
  query_.clear();
  table_ = std::string(name);
  return kDbOk;
}

int DatabaseConnection::CreateIndex(std::string_view fieldName, std::string_view indexName, bool /*primary*/,
                                    bool unique) {
  ClearError();
  const FieldInfo* info = nullptr;
  for (const FieldInfo& f : Fields())
    if (EqualsNoCase(f.name, fieldName)) info = &f;
  if (!info) return SetError(kDbEngineError, Describe("Creating Index", "no such field: " + std::string(fieldName)));
  const bool text = info->type == FieldType::Text || info->type == FieldType::Memo;
  const std::string sql = std::string("CREATE ") + (unique ? "UNIQUE " : "") + "INDEX IF NOT EXISTS " +
                          QuoteName(indexName) + " ON " + QuoteName(table_) + " (" + QuoteName(info->name) +
                          (text ? " COLLATE NOCASE" : "") + ")";
  return ExecuteNative(sql, "Creating Index");
}

bool DatabaseConnection::FieldExists(std::string_view name) {
  for (const FieldInfo& f : Fields())
    if (EqualsNoCase(f.name, name)) return true;
  return false;
}

int DatabaseConnection::CreateField(std::string_view name, FieldType type, int size) {
  ClearError();
  if (!db_ || table_.empty()) return SetError(kDbEngineError, Describe("Creating Field", "No table is open."));
  if (FieldExists(name)) return SetError(kDbEngineError, "Field '" + std::string(name) + "' already exists.");
  const FieldInfo info{std::string(name), type, FieldStorageSize(type, size)};
  DropStructureCache();
  recordset_ = Statement();
  return ExecuteNative("ALTER TABLE " + QuoteName(table_) + " ADD COLUMN " + ColumnDefinition(info),
                       "Creating Field");
}

int DatabaseConnection::DeleteField(std::string_view name) {
  ClearError();
  if (!db_ || table_.empty()) return SetError(kDbEngineError, Describe("Deleting Field", "No table is open."));
  DropStructureCache();
  recordset_ = Statement();
  return ExecuteNative("ALTER TABLE " + QuoteName(table_) + " DROP COLUMN " + QuoteName(name), "Deleting Field");
}

int DatabaseConnection::CreateQuery(std::string_view name, std::string_view jetSql) {
  ClearError();
  if (!db_) return SetEngineError("Creating Query");
  recordset_ = Statement();
  const std::string sql = TranslateJetSql(jetSql);
  if (!name.empty()) {
    Statement exists = PrepareNative("SELECT 1 FROM sqlite_master WHERE name = ?1 COLLATE NOCASE");
    exists.BindText(1, name);
    if (exists.Next() == Statement::Step::Row)
      return SetError(kDbEngineError, "Query '" + std::string(name) + "' already exists.");
    exists = Statement();
    if (const int rc = ExecuteNative("CREATE VIEW " + QuoteName(name) + " AS " + sql, "Creating Query")) return rc;
  }
  query_ = sql;
  return kDbOk;
}

int DatabaseConnection::OpenRecordset() {
  ClearError();
  recordset_ = Statement();
  if (query_.empty() && table_.empty())
    return SetError(kDbEngineError, Describe("Creating Recordset", "No table or query is open."));
  if (query_.empty()) {
    recordset_ = PrepareNative("SELECT * FROM " + QuoteName(table_), "Creating Recordset");
  } else {
    recordset_ = PrepareQuery(query_, "Creating Recordset");
  }
  return recordset_ ? kDbOk : lastErrorCode_;
}

Statement DatabaseConnection::PrepareQuery(std::string_view sql, std::string_view operation) {
  ClearError();
  if (!db_) {
    SetEngineError(operation);
    return {};
  }
  sqlite3_stmt* stmt = nullptr;
  const char* tail = nullptr;
  if (sqlite3_prepare_v2(db_, sql.data(), int(sql.size()), &stmt, &tail) != SQLITE_OK) {
    SetEngineError(operation);
    sqlite3_finalize(stmt);
    return {};
  }
  Statement first(db_, stmt);
  if (!stmt) {
    SetError(kDbEngineError, Describe(operation, "The query is empty."));
    return {};
  }
  // Whatever follows the first statement must be blanks or comments.
  const std::string_view rest = sql.substr(std::size_t(tail - sql.data()));
  sqlite3_stmt* second = nullptr;
  const int rc = sqlite3_prepare_v2(db_, rest.data(), int(rest.size()), &second, nullptr);
  sqlite3_finalize(second);
  if (rc != SQLITE_OK || second) {
    SetError(kDbEngineError, Describe(operation, kMoreThanOneStatementText));
    return {};
  }
  if (!sqlite3_stmt_readonly(stmt)) {
    SetError(kDbEngineError, Describe(operation, kStatementWritesText));
    return {};
  }
  return first;
}

void DatabaseConnection::SetCancelCheck(std::function<bool()> cancelled) {
  cancelCheck_ = std::move(cancelled);
  if (!db_) return;
  if (!cancelCheck_) {
    sqlite3_progress_handler(db_, 0, nullptr, nullptr);
    return;
  }
  sqlite3_progress_handler(
      db_, 1000,
      [](void* self) { return static_cast<DatabaseConnection*>(self)->cancelCheck_() ? 1 : 0; }, this);
}

void DatabaseConnection::Close() {
  cancelCheck_ = nullptr;
  recordset_ = Statement();
  query_.clear();
  table_.clear();
  DropStructureCache();
  if (db_) sqlite3_close_v2(db_);
  db_ = nullptr;
  path_.clear();
  readOnly_ = false;
}

int DatabaseConnection::Execute(std::string_view jetSql, std::string_view operation) {
  return ExecuteNative(TranslateJetSql(jetSql), operation);
}

int DatabaseConnection::ExecuteNative(std::string_view sql, std::string_view operation) {
  ClearError();
  if (!db_) return SetEngineError(operation);
  char* message = nullptr;
  const std::string text(sql);
  const int rc = sqlite3_exec(db_, text.c_str(), nullptr, nullptr, &message);
  if (rc == SQLITE_OK) return kDbOk;
  const std::string description = message ? message : "";
  sqlite3_free(message);
  if (rc == SQLITE_NOMEM) return SetError(kDbNoMemory, Describe(operation, "Memory"));
  if (description.empty()) return SetError(kDbNoErrorInfo, Describe(operation, kNoEngineText));
  return SetError(kDbEngineError, Describe(operation, description));
}

Statement DatabaseConnection::Prepare(std::string_view jetSql, std::string_view operation) {
  return PrepareNative(TranslateJetSql(jetSql), operation);
}

Statement DatabaseConnection::PrepareNative(std::string_view sql, std::string_view operation) {
  ClearError();
  if (!db_) {
    SetEngineError(operation);
    return {};
  }
  sqlite3_stmt* stmt = nullptr;
  if (sqlite3_prepare_v2(db_, sql.data(), int(sql.size()), &stmt, nullptr) != SQLITE_OK) {
    SetEngineError(operation);
    sqlite3_finalize(stmt);
    return {};
  }
  if (!stmt) {  // only blanks or a comment
    SetError(kDbEngineError, Describe(operation, "The query is empty."));
    return {};
  }
  return Statement(db_, stmt);
}

int DatabaseConnection::Begin() {
  return ExecuteNative(readOnly_ ? "BEGIN" : "BEGIN IMMEDIATE", "Starting Transaction");
}

int DatabaseConnection::Commit() { return ExecuteNative("COMMIT", "Committing Transaction"); }

int DatabaseConnection::Rollback() {
  if (!InTransaction()) return kDbOk;
  return ExecuteNative("ROLLBACK", "Cancelling Transaction");
}

bool DatabaseConnection::InTransaction() const { return db_ && !sqlite3_get_autocommit(db_); }

const std::vector<FieldInfo>& DatabaseConnection::TableFields(std::string_view table) {
  static const std::vector<FieldInfo> kNone;
  if (!db_ || table.empty()) return kNone;
  const auto found = cache_->fields.find(table);
  if (found != cache_->fields.end()) return found->second;
  std::vector<FieldInfo> fields;
  Statement st = PrepareNative("SELECT name, type FROM pragma_table_info(?1)");
  st.BindText(1, table);
  while (st.Next() == Statement::Step::Row) fields.push_back(FieldInfoFromDeclaredType(st.ColumnText(0), st.ColumnText(1)));
  ClearError();
  return cache_->fields.emplace(std::string(table), std::move(fields)).first->second;
}

const FieldInfo* DatabaseConnection::FindDomainField(std::string_view name) {
  const std::string resolved = ResolveFieldAlias(name);
  for (const FieldInfo& f : TableFields(kDomainsTable))
    if (EqualsNoCase(f.name, resolved)) return &f;
  return nullptr;
}

Statement* DatabaseConnection::CachedStatement(const std::string& sql) {
  auto found = cache_->statements.find(sql);
  if (found == cache_->statements.end()) {
    Statement st = PrepareNative(sql, "Creating Recordset");
    if (!st) return nullptr;
    if (cache_->statements.size() >= 32) cache_->statements.clear();
    found = cache_->statements.emplace(sql, std::move(st)).first;
  }
  found->second.Reset();
  found->second.ClearBindings();
  return &found->second;
}

bool DatabaseConnection::HasDomain(std::string_view name) {
  ClearError();
  Statement* st = CachedStatement("SELECT 1 FROM " + QuoteName(kDomainsTable) + DomainKeyClause());
  if (!st) return false;
  st->BindText(1, name);
  const Statement::Step step = st->Next();
  st->Reset();
  if (step == Statement::Step::Error) SetError(st->ErrorCode(), Describe("Seeking Record", st->ErrorText()));
  return step == Statement::Step::Row;
}

void DatabaseConnection::RecordFromRow(const Statement& row, DomainRecord& record) {
  record.ClearFields();
  const std::vector<FieldInfo>& fields = TableFields(kDomainsTable);
  for (int c = 0; c < row.ColumnCount(); ++c) {
    const std::string name = row.ColumnName(c);
    const FieldInfo* info = nullptr;
    if (std::size_t(c) < fields.size() && fields[std::size_t(c)].name == name) {
      info = &fields[std::size_t(c)];
    } else {
      for (const FieldInfo& f : fields)
        if (EqualsNoCase(f.name, name)) info = &f;
    }
    const FieldType type = info ? info->type : TypeOfStorage(sqlite3_column_type(row.handle(), c));
    record.Set(name, row.ColumnValue(c, type));
  }
}

bool DatabaseConnection::ReadDomainRecord(std::string_view name, DomainRecord& record) {
  ClearError();
  Statement* st = CachedStatement("SELECT * FROM " + QuoteName(kDomainsTable) + DomainKeyClause());
  if (!st) return false;
  st->BindText(1, name);
  const Statement::Step step = st->Next();
  if (step == Statement::Step::Row) RecordFromRow(*st, record);
  st->Reset();
  if (step == Statement::Step::Error) SetError(st->ErrorCode(), Describe("Seeking Record", st->ErrorText()));
  return step == Statement::Step::Row;
}

int DatabaseConnection::BindRecord(Statement& st, const DomainRecord& record, const std::vector<FieldInfo>& fields) {
  int index = 1;
  for (const FieldInfo& f : fields) {
    const std::optional<FieldValue> value = record.StoredValue(f.name);
    if (!value) continue;
    if (!st.BindValue(++index, CoerceToField(*value, f))) return SetEngineError("Updating Record");
  }
  return kDbOk;
}

namespace {

// "UPDATE Domains SET a = ?2, b = ?3 ... WHERE <key> = ?1" for the fields of
// the table marked '1' in `held`.
std::string UpdateSql(const std::vector<FieldInfo>& fields, const std::string& held) {
  std::string sql = "UPDATE " + QuoteName(kDomainsTable) + " SET ";
  int index = 1;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (held[i] != '1') continue;
    if (index > 1) sql += ", ";
    ++index;
    sql += QuoteName(fields[i].name) + " = ?" + std::to_string(index);
  }
  return sql + DomainKeyClause();
}

}  // namespace

int DatabaseConnection::WriteDomainRecord(const DomainRecord& record) {
  ClearError();
  const std::vector<FieldInfo>& fields = TableFields(kDomainsTable);
  if (fields.empty()) return SetError(kDbEngineError, Describe("Updating Record", "no such table: Domains"));
  // One pass over the table's fields finds the values the record holds; the
  // statement for that set of fields is built once per connection.
  std::string held(fields.size(), '0');
  std::vector<FieldValue> values;
  values.reserve(fields.size());
  for (std::size_t i = 0; i < fields.size(); ++i) {
    std::optional<FieldValue> value = record.StoredValue(fields[i].name);
    if (!value) continue;
    held[i] = '1';
    values.push_back(CoerceToField(*value, fields[i]));
  }
  if (values.empty()) return kDbOk;
  std::string& sql = cache_->updateSql[held];
  if (sql.empty()) sql = UpdateSql(fields, held);
  Statement* st = CachedStatement(sql);
  if (!st) return lastErrorCode_;
  st->BindText(1, record.Domain());
  for (std::size_t i = 0; i < values.size(); ++i)
    if (!st->BindValue(int(i) + 2, values[i])) return SetEngineError("Updating Record");
  if (st->Next() == Statement::Step::Error)
    return SetError(st->ErrorCode(), Describe("Updating Record", st->ErrorText()));
  if (sqlite3_changes(db_) == 0) return SetError(kDbEngineError, Describe("Updating Record", "No current record."));
  return kDbOk;
}

int DatabaseConnection::AddDomainRecord(const DomainRecord& record) {
  ClearError();
  const std::vector<FieldInfo>& fields = TableFields(kDomainsTable);
  if (fields.empty()) return SetError(kDbEngineError, Describe("Adding Record", "no such table: Domains"));
  if (record.Domain().empty()) return SetError(kDbEngineError, Describe("Adding Record", "The domain name is empty."));
  // A new row holds the values the record has; group fields only where it is
  // a member.
  std::vector<FieldInfo> written;
  for (const FieldInfo& f : fields) {
    if (IsGroupFieldName(f.name) ? record.Number(f.name) != 0 : record.Has(f.name)) written.push_back(f);
  }
  std::string names, params;
  for (std::size_t i = 0; i < written.size(); ++i) {
    names += (i ? ", " : "") + QuoteName(written[i].name);
    params += (i ? ", ?" : "?") + std::to_string(i + 2);
  }
  Statement* st = CachedStatement("INSERT INTO " + QuoteName(kDomainsTable) + " (" + names + ") VALUES (" + params + ")");
  if (!st) return lastErrorCode_;
  if (const int rc = BindRecord(*st, record, written)) return rc;
  if (st->Next() == Statement::Step::Error)
    return SetError(st->ErrorCode(), Describe("Adding Record", st->ErrorText()));
  return kDbOk;
}

int DatabaseConnection::DeleteDomainRecord(std::string_view name) {
  ClearError();
  Statement* st = CachedStatement("DELETE FROM " + QuoteName(kDomainsTable) + DomainKeyClause());
  if (!st) return lastErrorCode_;
  st->BindText(1, name);
  if (st->Next() == Statement::Step::Error)
    return SetError(st->ErrorCode(), Describe("Deleting Record", st->ErrorText()));
  return kDbOk;
}

std::string DatabaseConnection::GetFieldText(std::string_view domain, std::string_view fieldName) {
  ClearError();
  const FieldInfo* info = FindDomainField(fieldName);
  if (!info) return "";
  const FieldType type = info->type;
  Statement* st = CachedStatement("SELECT " + QuoteName(info->name) + " FROM " + QuoteName(kDomainsTable) +
                                         DomainKeyClause());
  if (!st) return "";
  st->BindText(1, domain);
  std::string text;
  const Statement::Step step = st->Next();
  if (step == Statement::Step::Row) text = FieldValueToText(st->ColumnValue(0, type));
  st->Reset();
  if (step == Statement::Step::Error) SetError(st->ErrorCode(), Describe("Seeking Record", st->ErrorText()));
  return text;
}

// ---------------------------------------------------------------------------
// DomainDatabase

void DomainDatabase::SetPath(std::string path, bool readOnly) {
  CloseAll();
  path_ = std::move(path);
  readOnly_ = readOnly && !path_.empty();
}

void DomainDatabase::CloseAll() {
  update_.Close();
  list_.Close();
  filter_.Close();
}

bool DomainDatabase::OpenDomainsTable() {
  if (update_.IsOpen() && EqualsNoCase(update_.CurrentTable(), kDomainsTable) && update_.Path() == path_)
    return true;
  if (path_.empty()) {
    update_.SetError(kDbOpenFailed, "Error: Opening Database.\r\nNo database is open.");
    return false;
  }
  return update_.OpenDatabase(path_, readOnly_) == kDbOk && update_.OpenTable(kDomainsTable) == kDbOk &&
         update_.OpenRecordset() == kDbOk;
}

bool DomainDatabase::OpenReadOnly(DatabaseConnection& connection) {
  if (path_.empty()) {
    connection.SetError(kDbOpenFailed, "Error: Opening Database.\r\nNo database is open.");
    return false;
  }
  return connection.OpenDatabase(path_, true) == kDbOk;
}

bool DomainDatabase::ReadRecord(std::string_view name, DomainRecord& record) {
  return OpenDomainsTable() && update_.ReadDomainRecord(name, record);
}

bool DomainDatabase::WriteRecord(const DomainRecord& record) {
  if (readOnly_) {
    update_.SetError(kDbEngineError, kReadOnlyDocumentText);
    return false;
  }
  return OpenDomainsTable() && update_.WriteDomainRecord(record) == kDbOk;
}

std::string DomainDatabase::GetFieldText(std::string_view domain, std::string_view fieldName) {
  return OpenDomainsTable() ? update_.GetFieldText(domain, fieldName) : std::string();
}

}  // namespace qv
