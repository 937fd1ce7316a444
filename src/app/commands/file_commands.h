// The document commands of the main window: New, Open, Backup & Compact,
// Repair & Compact, Update Database Fields (the structure check), Delete
// Selected Domains, and the "No Database Specified" dialog that commands
// needing a database show when none is open.
#pragma once

#include <QString>
#include <QStringList>

class CMainFrame;

namespace qv {

// The file types offered by the document file dialogs.
inline constexpr const char* kDocumentFilter = "QVDISP Files (*.qvl);;All Files (*)";
inline constexpr const char* kDocumentExtension = ".qvl";

// Asks for a file to write (title and filter as given). A name typed without
// an extension gets `extension` (".qvl"); when that made a name of an
// existing file, the user is asked about replacing it, since the dialog only
// asked about the name as typed. "" when cancelled or not to be replaced.
QString ChooseSaveTarget(CMainFrame& frame, const QString& title, const QString& filter,
                         const QString& extension);
// The question about replacing a file.
QString ReplaceFileQuestion(const QString& path);

// True when a document is open; otherwise shows "No Database Specified",
// which lets the user create or open one, and tells whether one is open then.
bool RequireDatabase(CMainFrame& frame);

// "&New": asks for a file name ("Database File Name"), creates the database
// and opens it. False when cancelled or when creation failed (the error was
// shown).
bool RunNewDocument(CMainFrame& frame);
// "&Open...": asks for a file ("Database File Name") and opens it.
bool RunOpenDocument(CMainFrame& frame);
// "&Backup && Compact...": compacts the open document into a file the user
// names ("Save the backup file to"), then shows the list again.
void RunBackupAndCompact(CMainFrame& frame);
// "Repair & Compact Database": asks for the damaged file and the target.
void RunRepairDatabase(CMainFrame& frame);
// "Update Database Fields": adds missing fields and shows the log.
void RunNormalizeDatabase(CMainFrame& frame);
// "Additional Domain Groups": the "User Groups" dialog, then the group
// fields the document lacks are added and the log shown.
void RunAdditionalGroups(CMainFrame& frame);
// "Delete Selected Domains": the selected names of the list.
void RunDeleteSelectedDomains(CMainFrame& frame);
// Asks "Are you sure?..." for `names` and, on Yes, deletes them under a
// progress window that can be cancelled, then re-runs the list. Returns how
// many records were deleted.
int DeleteDomainsAfterAsking(CMainFrame& frame, const QStringList& names);

}  // namespace qv
