// The commands of groups, notes and registrar aliases: "Group Selected
// Domains...", "Ungroup Selected Domains...", "Edit Domain Groups...",
// "Edit Domain Notes...", "Edit Registrar Alias Name", and the group entries
// of the "Domain Names" bar. Also the e-mail alert settings.
#pragma once

#include <QStringList>
#include <functional>
#include <string>
#include <vector>

class CMainFrame;
class QDialog;

namespace qv {

// Adds the names to (or removes them from) the groups under the progress
// window "Processing Domain Names", then refreshes the list. False when the
// change failed (the user was told why); a cancel keeps what was done.
bool ChangeGroupsWithProgress(CMainFrame& frame, const QStringList& names,
                              const std::vector<std::string>& codes, bool add);

void RunGroupSelected(CMainFrame& frame, bool add);
void RunEditDomainGroups(CMainFrame& frame);
void RunDomainNotes(CMainFrame& frame);
void RunEditRegistrarAlias(CMainFrame& frame);
// Shows the members of a group ("ALLDOMAINS": every name) in the list.
void ShowGroupList(CMainFrame& frame, const std::string& code);
void RunAlertSettings(CMainFrame& frame);

void WireGroupCommands(CMainFrame& frame);

// Tests run the dialogs themselves (set up the dialog, then accept or reject).
using GroupDialogRunner = std::function<int(QDialog& dialog)>;
void SetGroupDialogRunnerForTests(GroupDialogRunner runner);

}  // namespace qv
