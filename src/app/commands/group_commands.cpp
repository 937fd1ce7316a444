#include "app/commands/group_commands.h"

#include <QDialog>
#include <map>

#include "app/command_ids.h"
#include "app/commands/file_commands.h"
#include "app/dialogs/alert_setup_dialog.h"
#include "app/dialogs/domain_group_dialog.h"
#include "app/dialogs/domain_notes_dialog.h"
#include "app/dialogs/group_editor_dialog.h"
#include "app/dialogs/registrar_alias_dialog.h"
#include "app/main_frame.h"
#include "app/progress.h"
#include "app/view/corvane_view.h"
#include "platform/text.h"
#include "store/domain_groups.h"
#include "store/domain_record.h"
#include "store/list_query.h"

namespace qv {
namespace {

GroupDialogRunner& Runner() {
  static GroupDialogRunner runner;
  return runner;
}

int RunDialog(QDialog& dialog) { return Runner() ? Runner()(dialog) : dialog.exec(); }

std::vector<std::string> StdNames(const QStringList& names) {
  std::vector<std::string> out;
  out.reserve(std::size_t(names.size()));
  for (const QString& n : names) out.push_back(ToStdString(n));
  return out;
}

// How many of the names each group holds (read only for a few names).
std::map<std::string, int> MemberCounts(DomainDatabase& db, const QStringList& names) {
  std::map<std::string, int> counts;
  if (names.size() >= kGroupColourLimit) return counts;
  for (const QString& name : names) {
    DomainRecord record;
    if (!db.ReadRecord(ToStdString(name), record)) continue;
    for (const std::string& code : record.Groups()) ++counts[code];
  }
  return counts;
}

// The name the single-name commands work on: the current row, else the
// first selected one.
QString OneName(CMainFrame& frame) {
  if (!frame.View()) return {};
  const QString current = frame.View()->CurrentName();
  if (!current.isEmpty()) return current;
  const QStringList selected = frame.SelectedNames();
  return selected.isEmpty() ? QString() : selected.front();
}

}  // namespace

void SetGroupDialogRunnerForTests(GroupDialogRunner runner) { Runner() = std::move(runner); }

bool ChangeGroupsWithProgress(CMainFrame& frame, const QStringList& names,
                              const std::vector<std::string>& codes, bool add) {
  if (names.isEmpty() || codes.empty()) return true;
  GroupChangeResult result;
  {
    ProgressWindow progress(&frame, QStringLiteral("Processing Domain Names"));
    result = ChangeGroups(frame.Document().Database(), StdNames(names), codes, add,
                          [&progress](int done, int total) { return progress.Advance(done, total); });
  }
  if (!result.error.empty()) {
    frame.UserPrompts().tell(&frame, ToQString(result.error));
    return false;
  }
  frame.Document().RefreshList();
  return true;
}

void RunGroupSelected(CMainFrame& frame, bool add) {
  if (!RequireDatabase(frame)) return;
  const QStringList names = frame.SelectedNames();
  if (names.isEmpty()) return;
  CDomainGroupDialog dialog(add, int(names.size()), MemberCounts(frame.Document().Database(), names), &frame);
  if (RunDialog(dialog) != QDialog::Accepted) return;
  ChangeGroupsWithProgress(frame, names, dialog.ChosenCodes(), add);
  frame.View()->Refresh();  // the highlight switch may have changed
}

void RunEditDomainGroups(CMainFrame& frame) {
  if (!RequireDatabase(frame) || !frame.View()) return;
  DomainDatabase* db = &frame.Document().Database();
  CMainFrame* f = &frame;
  CGroupEditorDialog dialog(
      frame.View()->AllShownNames(), [db](const std::string& code) { return GroupMembers(*db, code); },
      [f](const QStringList& names, const std::string& code, bool add) {
        return ChangeGroupsWithProgress(*f, names, {code}, add);
      },
      &frame);
  RunDialog(dialog);
}

void RunDomainNotes(CMainFrame& frame) {
  if (!RequireDatabase(frame)) return;
  const QString name = OneName(frame);
  DomainRecord record;
  if (name.isEmpty() || !frame.Document().Database().ReadRecord(ToStdString(name), record)) return;
  CDomainNotesDialog dialog(record, &frame);
  if (RunDialog(dialog) != QDialog::Accepted || !dialog.ApplyTo(record)) return;
  if (!frame.Document().Database().WriteRecord(record)) {
    frame.UserPrompts().tell(&frame, ToQString(frame.Document().Database().update().GetLastError()));
    return;
  }
  frame.View()->RefreshRow(name);
}

void RunEditRegistrarAlias(CMainFrame& frame) {
  if (!RequireDatabase(frame)) return;
  const QString name = OneName(frame);
  DomainRecord record;
  if (name.isEmpty() || !frame.Document().Database().ReadRecord(ToStdString(name), record)) return;
  const QString registrar = ToQString(record.Text(field::kRegistrar));
  if (registrar.isEmpty()) {
    frame.UserPrompts().tell(&frame, QStringLiteral("No registrar is known for %1 yet.").arg(name));
    return;
  }
  CRegistrarAliasDialog dialog(registrar, &frame);
  if (RunDialog(dialog) == QDialog::Accepted) frame.View()->Refresh();
}

void ShowGroupList(CMainFrame& frame, const std::string& code) {
  if (!frame.Document().IsOpen()) return;
  SetCurrentListQuery(GroupListQuery(code) + " ORDER BY [Domain]");
  frame.Document().RefreshList();
}

void RunAlertSettings(CMainFrame& frame) {
  CAlertSetupDialog dialog(&frame);
  RunDialog(dialog);
}

void WireGroupCommands(CMainFrame& frame) {
  CMainFrame* f = &frame;
  frame.SetHandler(kCmdGroupSelected, [f] { RunGroupSelected(*f, true); });
  frame.SetHandler(kCmdUngroupSelected, [f] { RunGroupSelected(*f, false); });
  frame.SetHandler(kCmdEditDomainGroups, [f] { RunEditDomainGroups(*f); });
  frame.SetHandler(kCmdDomainNotes, [f] { RunDomainNotes(*f); });
  frame.SetHandler(kCmdEditRegistrarAlias, [f] { RunEditRegistrarAlias(*f); });
  frame.SetHandler(kCmdEmailAlertSettings, [f] { RunAlertSettings(*f); });
}

}  // namespace qv
