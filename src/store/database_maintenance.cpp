#include "store/database_maintenance.h"

#include <sqlite3.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

#include "platform/settings_store.h"

namespace qv {
namespace {

namespace fs = std::filesystem;

constexpr const char* kSideSuffixes[] = {"-wal", "-shm", "-journal"};

// A database file's companions: a stale write-ahead log left beside a new
// file of the same name would be played into it on the next opening.
void RemoveSideFiles(const std::string& path) {
  std::error_code ec;
  for (const char* suffix : kSideSuffixes) fs::remove(path + suffix, ec);
}

void RemoveDatabaseFiles(const std::string& path) {
  std::error_code ec;
  fs::remove(path, ec);
  RemoveSideFiles(path);
}

// A new file is built under this name beside the target and moved over the
// target only when complete, so a failure never costs the old file.
std::string BuildingPath(const std::string& target) { return target + ".building"; }

bool MoveIntoPlace(const std::string& built, const std::string& target, std::string& error) {
  RemoveSideFiles(built);
  RemoveSideFiles(target);
  std::error_code ec;
  fs::rename(built, target, ec);
  if (ec) {
    error = "Error: Creating Database\r\n" + ec.message();
    RemoveDatabaseFiles(built);
    return false;
  }
  return true;
}

std::vector<FieldInfo> SchemaFields() {
  std::vector<FieldInfo> fields;
  for (const SchemaField& row : DomainSchema()) fields.push_back(SchemaFieldInfo(row));
  return fields;
}

// The `Domains` table (first its key field, then the index, then every other
// field in order) and `_Connections`, in one transaction.
int BuildStructure(DatabaseConnection& c, const std::vector<FieldInfo>& fields) {
  if (const int rc = c.Begin()) return rc;
  const auto fail = [&c](int rc) {
    const std::string text = c.GetLastError();
    c.Rollback();
    c.SetError(rc, text);
    return rc;
  };
  const FieldInfo& key = fields.front();
  if (const int rc = c.CreateTable(kDomainsTable, {key})) return fail(rc);
  if (const int rc = c.CreateIndex(key.name, kDomainIndex, true, true)) return fail(rc);
  for (std::size_t i = 1; i < fields.size(); ++i) {
    const FieldInfo& f = fields[i];
    if (EqualsNoCase(f.name, key.name)) continue;
    if (c.FieldExists(f.name)) {
      if (const int rc = c.DeleteField(f.name)) return fail(rc);
    }
    if (const int rc = c.CreateField(f.name, f.type, f.size)) return fail(rc);
  }
  if (const int rc = c.CreateTable(kConnectionsTable, {FieldInfo{"Field", FieldType::Text, 255}})) return fail(rc);
  return c.Commit();
}

bool CreateWithFields(DatabaseConnection& c, const std::string& path, const std::vector<FieldInfo>& fields,
                      std::string& errorText) {
  RemoveDatabaseFiles(path);
  if (c.CreateDatabase(path) != kDbOk || BuildStructure(c, fields) != kDbOk) {
    errorText = c.GetLastError();
    c.Close();
    RemoveDatabaseFiles(path);
    return false;
  }
  c.Close();
  return true;
}

void LogField(DatabaseConnection& c, const FieldInfo& f, std::string& log) {
  if (c.FieldExists(f.name)) return;
  if (c.CreateField(f.name, f.type, f.size) == kDbOk)
    log += "Success [Created Field:" + f.name + "]\r\n";
  else
    log += "Error [Create Field:" + f.name + "]: " + c.GetLastError() + "\r\n";
}

std::string NormalPath(const std::string& path) {
  std::error_code ec;
  fs::path p = fs::absolute(path, ec);
  if (ec) p = path;
  return p.lexically_normal().string();
}

// ---------------------------------------------------------------------------
// Repair

// The findings of PRAGMA integrity_check (or the quicker quick_check); empty
// when the file is sound.
std::string IntegrityFindings(DatabaseConnection& source, const char* pragma = "integrity_check") {
  Statement check = source.PrepareNative(std::string("PRAGMA ") + pragma);
  if (!check) return source.GetLastError();
  std::string findings;
  Statement::Step step;
  while ((step = check.Next()) == Statement::Step::Row) {
    const std::string line = check.ColumnText(0);
    if (line != "ok") findings += line + "\r\n";
  }
  if (step == Statement::Step::Error) findings += check.ErrorText() + "\r\n";
  return findings;
}

int CompactInto(DatabaseConnection& source, const std::string& target) {
  Statement vacuum = source.PrepareNative("VACUUM INTO ?1", "Compacting Database");
  if (!vacuum) return source.GetLastErrorCode();
  vacuum.BindText(1, target);
  if (vacuum.Next() == Statement::Step::Error)
    return source.SetError(vacuum.ErrorCode(), "Error: Compacting Database\r\n" + vacuum.ErrorText());
  return kDbOk;
}

// A compacted copy keeps write-ahead logging when it is one of our documents.
void ReopenAsDocument(const std::string& path) {
  DatabaseConnection c;
  c.OpenDatabase(path, false);
  c.Close();
}

// Copies the readable rows of the source's `Domains` into a new document at
// `built`. Rows are read in rowid order; where a damaged page stops the read,
// the read starts again further on, skipping ever larger gaps. Returns the
// number of rows copied, or -1 when not even the structure can be read.
long long SalvageRows(DatabaseConnection& source, const std::string& built, std::string& error) {
  std::vector<FieldInfo> fields = source.TableFields(kDomainsTable);
  if (fields.empty() || !EqualsNoCase(fields.front().name, field::kDomain)) fields = SchemaFields();
  DatabaseConnection target;
  if (!CreateWithFields(target, built, fields, error)) return -1;
  if (target.OpenDatabase(built, false) != kDbOk || target.OpenTable(kDomainsTable) != kDbOk ||
      target.Begin() != kDbOk) {
    error = target.GetLastError();
    return -1;
  }
  Statement read = source.PrepareNative("SELECT rowid, * FROM \"Domains\" WHERE rowid > ?1 ORDER BY rowid");
  if (!read) {
    error = source.GetLastError();
    return -1;
  }
  long long copied = 0, last = -(1LL << 62), skip = 1;
  for (int failures = 0; failures < 62;) {
    read.Reset();
    read.BindInt(1, last);
    Statement::Step step;
    while ((step = read.Next()) == Statement::Step::Row) {
      last = read.ColumnInt(0);
      skip = 1;
      failures = 0;
      DomainRecord record;
      target.RecordFromRow(read, record);
      if (target.AddDomainRecord(record) == kDbOk) ++copied;
    }
    if (step == Statement::Step::Done) break;
    if (last < 0) last = 0;
    last += skip;
    skip *= 2;
    ++failures;
  }
  read = Statement();
  if (target.Commit() != kDbOk) {
    error = target.GetLastError();
    return -1;
  }
  return copied;
}

}  // namespace

bool CreateNewDatabase(DatabaseConnection& connection, const std::string& path, std::string& errorText) {
  errorText.clear();
  if (path.empty()) {
    errorText = "Error: Creating Database\r\nNo file name.";
    return false;
  }
  connection.Close();
  const std::string built = BuildingPath(path);
  if (!CreateWithFields(connection, built, SchemaFields(), errorText)) return false;
  return MoveIntoPlace(built, path, errorText);
}

bool CreateNewDatabase(DomainDatabase& db, const std::string& path, std::string& errorText) {
  if (IsSameFile(path, db.Path())) db.CloseAll();
  return CreateNewDatabase(db.update(), path, errorText);
}

bool IsWritableDocumentFile(const std::string& path) {
  std::error_code ec;
  const std::string folder = std::filesystem::absolute(path, ec).parent_path().string();
  return ::access(path.c_str(), W_OK) == 0 && ::access(folder.c_str(), W_OK) == 0;
}

MaintenanceResult OpenDocument(DomainDatabase& db, const std::string& path) {
  DatabaseConnection probe;
  const bool readOnly = !IsWritableDocumentFile(path);
  if (probe.OpenDatabase(path, readOnly) != kDbOk || probe.OpenTable(kDomainsTable) != kDbOk)
    return {false, probe.GetLastError(), {}};
  if (!probe.IsDocument()) return {false, kNotDocumentText, {}};
  probe.Close();
  db.SetPath(path, readOnly);
  return {true, {}, {}};
}

bool CheckDocumentIntegrity(DomainDatabase& db, std::string& errorText) {
  if (!db.OpenDomainsTable()) {
    errorText = db.update().GetLastError();
    return false;
  }
  const std::string findings = IntegrityFindings(db.update(), "quick_check");
  if (findings.empty()) return true;
  errorText = kDamagedDocumentText + std::string("\r\n\r\n") + findings;
  return false;
}

MaintenanceResult NewDocument(DomainDatabase& db, const std::string& path) {
  std::string error;
  if (!CreateNewDatabase(db, path, error)) return {false, error, {}};
  MaintenanceResult opened = OpenDocument(db, path);
  if (!opened.ok) return opened;
  std::string log;
  EnsureStructure(db, log, true);
  return {true, {}, log};
}

std::string UserGroupCodeOf(std::string_view displayName) {
  std::string code = "*";
  for (char c : displayName)
    if (c != ' ') code += char(std::toupper(static_cast<unsigned char>(c)));
  return code;
}

std::vector<std::string> UserGroupCodesFromSettings() {
  std::vector<std::string> codes;
  const int count = GetProfileInt(kSettingsSection, "User Groups", 0);
  for (int i = 1; i <= count; ++i) {
    const std::string code =
        UserGroupCodeOf(GetProfileString(kSettingsSection, "User Group - " + std::to_string(i), ""));
    if (code.size() > 1) codes.push_back(code);
  }
  return codes;
}

std::vector<std::string> UserGroupNamesFromSettings() {
  std::vector<std::string> names;
  const int count = GetProfileInt(kSettingsSection, "User Groups", 0);
  for (int i = 1; i <= count; ++i) {
    std::string name = GetProfileString(kSettingsSection, "User Group - " + std::to_string(i), "");
    if (!name.empty()) names.push_back(std::move(name));
  }
  return names;
}

std::string UserGroupNamesProblem(const std::vector<std::string>& names) {
  std::vector<std::string> codes;
  for (const std::string& name : names) {
    for (char c : name) {
      const auto b = static_cast<unsigned char>(c);
      if (std::isalnum(b) || c == ' ' || c == '-' || c == '_' || b >= 0x80) continue;
      return "The group name \"" + name + "\" holds \"" + std::string(1, c) +
             "\". A group name may hold letters, digits, blanks, \"-\" and \"_\".";
    }
    const std::string code = UserGroupCodeOf(name);
    if (code.size() < 2) return "A group name needs a letter or digit.";
    if (std::find(codes.begin(), codes.end(), code) != codes.end())
      return "The group \"" + name + "\" is there twice (group names that differ only in capitals or "
             "blanks are one group).";
    codes.push_back(code);
  }
  return {};
}

void StoreUserGroupNames(const std::vector<std::string>& names) {
  SettingsBatch batch = SettingsBatch::Profile();
  batch.SetInt(kSettingsSection, "User Groups", int(names.size()));
  for (std::size_t i = 0; i < names.size(); ++i)
    batch.SetString(kSettingsSection, "User Group - " + std::to_string(i + 1), names[i]);
  batch.Commit();
}

bool EnsureStructure(DomainDatabase& db, std::string& log, bool groupsOnly,
                     const std::vector<std::string>& userGroupCodes) {
  if (!db.HasPath()) return false;
  db.CloseAll();
  DatabaseConnection& c = db.update();
  if (!db.OpenDomainsTable()) {
    log += c.GetLastError() + "\r\n";
    return false;
  }
  if (c.CreateIndex(field::kDomain, kDomainIndex, true, true) != kDbOk) log += c.GetLastError() + "\r\n";
  if (!groupsOnly)
    for (const SchemaField& row : DomainSchema()) LogField(c, SchemaFieldInfo(row), log);
  for (const std::string& code : userGroupCodes)
    LogField(c, FieldInfo{GroupFieldOfCode(code), FieldType::Byte, 1}, log);
  c.Close();
  return true;
}

bool EnsureStructure(DomainDatabase& db, std::string& log, bool groupsOnly) {
  return EnsureStructure(db, log, groupsOnly, UserGroupCodesFromSettings());
}

MaintenanceResult NormalizeDatabase(DomainDatabase& db) {
  std::string log;
  const bool ok = EnsureStructure(db, log, false);
  return {ok, log, {}};
}

bool IsSameFile(const std::string& a, const std::string& b) {
  if (a.empty() || b.empty()) return false;
  if (EqualsNoCase(NormalPath(a), NormalPath(b))) return true;
  std::error_code ec;
  return fs::equivalent(a, b, ec) && !ec;
}

MaintenanceResult RepairDatabase(const std::string& openPath, const std::string& source,
                                 const std::string& target) {
  if (IsSameFile(source, openPath)) return {false, source + " is currently open.\r\n", {}};
  if (IsSameFile(target, openPath)) return {false, target + " is currently open.\r\n", {}};
  DatabaseConnection from;
  if (from.OpenDatabase(source, true) != kDbOk) return {false, from.GetLastError(), {}};
  const std::string findings = IntegrityFindings(from);
  const std::string built = BuildingPath(target);
  RemoveDatabaseFiles(built);
  std::string error;
  // A sound file is compacted as it is. Compacting a damaged one would copy
  // damaged rows unread, so its rows are read one by one instead.
  if (!findings.empty() || CompactInto(from, built) != kDbOk) {
    RemoveDatabaseFiles(built);
    if (SalvageRows(from, built, error) < 0) return {false, error, findings};
    error.clear();
  }
  from.Close();
  ReopenAsDocument(built);
  if (!MoveIntoPlace(built, target, error)) return {false, error, findings};
  return {true, "Done!", findings};
}

MaintenanceResult BackupAndCompact(DomainDatabase& db, const std::string& target) {
  if (IsSameFile(target, db.Path()))
    return {false, target + " is currently open.\r\nPlease specify a different backup file name.", {}};
  if (!db.HasPath()) return {false, "Error: Opening Database.\r\nNo database is open.", {}};
  db.CloseAll();
  DatabaseConnection from;
  if (from.OpenDatabase(db.Path(), true) != kDbOk) return {false, from.GetLastError(), {}};
  const std::string built = BuildingPath(target);
  RemoveDatabaseFiles(built);
  if (CompactInto(from, built) != kDbOk) {
    RemoveDatabaseFiles(built);
    return {false, from.GetLastError(), {}};
  }
  from.Close();
  ReopenAsDocument(built);
  std::string error;
  if (!MoveIntoPlace(built, target, error)) return {false, error, {}};
  return {true, {}, {}};
}

std::string DeleteConfirmationText(int count) {
  return "Are you sure?\n\nAbout to delete records of " + std::to_string(count) + " domains.";
}

DeleteResult DeleteDomains(DomainDatabase& db, const std::vector<std::string>& names,
                           const ProgressCallback& progress) {
  DeleteResult result;
  if (!db.OpenDomainsTable()) {
    result.error = db.update().GetLastError();
    return result;
  }
  DatabaseConnection& c = db.update();
  if (c.Begin() != kDbOk) {
    result.error = c.GetLastError();
    return result;
  }
  const int total = int(names.size());
  for (int i = 0; i < total; ++i) {
    if (progress && !progress(i, total)) {
      result.cancelled = true;
      break;
    }
    if (c.DeleteDomainRecord(names[std::size_t(i)]) != kDbOk) {
      result.error = c.GetLastError();
      c.Rollback();
      result.deleted = 0;
      return result;
    }
    result.deleted += sqlite3_changes(c.handle());
  }
  if (c.Commit() != kDbOk) {
    result.error = c.GetLastError();
    c.Rollback();
    result.deleted = 0;
    return result;
  }
  if (progress && !result.cancelled) progress(total, total);
  return result;
}

}  // namespace qv
