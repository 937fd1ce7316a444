// Whole-document operations: creating a new document, opening one, the
// structure check ("Normalize Database" and the user-group fields), repair,
// backup and deleting names. No dialogs here: each returns what happened and
// the text to show; the window asks the questions and shows the answers.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "store/database_connection.h"

namespace qv {

struct MaintenanceResult {
  bool ok = false;
  std::string message;  // the text to show ("Done!", an error text, a log)
  std::string details;  // more for the curious (the integrity check's findings)
};

// Creates a new document at `path`: `Domains` with its 62 fields in order,
// `DomainIndex` unique on `Domain` without regard to case, and
// `_Connections`. A file of that name is replaced, but only once the new one
// is complete. False with the engine's text in `errorText` on failure.
// Uses and closes `connection`.
bool CreateNewDatabase(DatabaseConnection& connection, const std::string& path, std::string& errorText);
// The same for the document's update connection; when `path` is the open
// document, all three connections are closed first.
bool CreateNewDatabase(DomainDatabase& db, const std::string& path, std::string& errorText);

// Makes `path` the open document, but only when it opens as a database with a
// `Domains` table; otherwise the message says why and the document stays as
// it was.
// True when this user may write the file and its folder (SQLite keeps its
// journal files beside the document).
bool IsWritableDocumentFile(const std::string& path);

// A document this user cannot write is opened read-only (see
// DomainDatabase::SetPath). Another program's database, even one with a table called "domains", is
// refused unchanged with kNotDocumentText.
MaintenanceResult OpenDocument(DomainDatabase& db, const std::string& path);
inline constexpr const char* kNotDocumentText =
    "Error: Opening Database.\r\nThis database was made by another program (it has no Domains table "
    "with a Domain field beside a _Connections table). It was left as it is.";

// The engine's quick integrity check of the open document, for a write that
// must not add to damage. False with kDamagedDocumentText and the findings.
bool CheckDocumentIntegrity(DomainDatabase& db, std::string& errorText);
inline constexpr const char* kDamagedDocumentText =
    "The document is damaged, so nothing was written to it. Repair it first (File, Repair "
    "Database...), then work on the repaired copy.";
// "&New": creates the file, opens it and adds the fields of the user groups.
MaintenanceResult NewDocument(DomainDatabase& db, const std::string& path);

// A user group's code: "*" and the display name upper-cased without blanks.
std::string UserGroupCodeOf(std::string_view displayName);
// The codes of the user groups kept in the settings ("User Groups",
// "User Group - %d"), in order; groups whose name is empty are left out.
std::vector<std::string> UserGroupCodesFromSettings();
// The display names of the user groups, in order (empty ones left out).
std::vector<std::string> UserGroupNamesFromSettings();
// Why these names cannot be the user groups: a name holding a character a
// field name cannot carry (only letters, digits, blanks, "-" and "_" may
// stand), or two names that give the same code (they differ only in
// capitals or blanks). Empty when they can.
std::string UserGroupNamesProblem(const std::vector<std::string>& names);
// Stores the names as "User Group - 1" ... and their number as "User Groups".
void StoreUserGroupNames(const std::vector<std::string>& names);

// The structure check. Closes the three connections, opens `Domains` (a
// failure is written to `log` and gives false), makes sure of `DomainIndex`,
// then, unless `groupsOnly`, creates every missing field of the schema, and
// creates the "GRP_" field of every user group that lacks one. Each created
// field logs "Success [Created Field:%s]\r\n", each failure
// "Error [Create Field:%s]: %s\r\n". Existing fields are never changed. The
// update connection is closed at the end. False without a document.
bool EnsureStructure(DomainDatabase& db, std::string& log, bool groupsOnly,
                     const std::vector<std::string>& userGroupCodes);
bool EnsureStructure(DomainDatabase& db, std::string& log, bool groupsOnly);

// "Normalize Database": the structure check with the user groups of the
// settings; `message` is the log.
MaintenanceResult NormalizeDatabase(DomainDatabase& db);

// True when both texts name the same file: the same path without regard to
// case, or two paths of one existing file.
bool IsSameFile(const std::string& a, const std::string& b);

// "Repair Database": checks the source's integrity and compacts it into the
// target. Refused with "%s is currently open.\r\n" when source or target is
// the open document (`openPath`). When the source is too damaged to be
// compacted, the rows that can still be read are copied into a new document
// at the target. "Done!" on success; `details` holds the integrity check's
// findings when it found any.
MaintenanceResult RepairDatabase(const std::string& openPath, const std::string& source,
                                 const std::string& target);

// "&Backup && Compact...": compacts the open document into `target`. Refused
// with "%s is currently open.\r\nPlease specify a different backup file
// name." when the target is the open document. Closes the three connections
// (the path stays); the caller re-runs the list afterwards.
MaintenanceResult BackupAndCompact(DomainDatabase& db, const std::string& target);

// "Delete Domains".
std::string DeleteConfirmationText(int count);  // "Are you sure?\n\nAbout to delete ..."
struct DeleteResult {
  int deleted = 0;         // rows removed
  bool cancelled = false;  // the progress callback asked to stop
  std::string error;       // empty on success
};
// Deletes the records of `names` in one transaction. `progress` (may be
// empty) is called with (done, total) before each name and once at the end;
// returning false stops, keeping the names deleted so far. On a failure
// nothing is deleted.
using ProgressCallback = std::function<bool(int done, int total)>;
DeleteResult DeleteDomains(DomainDatabase& db, const std::vector<std::string>& names,
                           const ProgressCallback& progress);

}  // namespace qv
