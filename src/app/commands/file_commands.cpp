#include "app/commands/file_commands.h"

#include <QApplication>
#include <QFileInfo>
#include <QProgressDialog>

#include "app/dialogs/user_groups_dialog.h"
#include "app/docks/domain_names_bar.h"
#include "app/main_frame.h"
#include "platform/text.h"
#include "store/database_maintenance.h"

namespace qv {
namespace {

const QString kDatabaseFileTitle = QStringLiteral("Database File Name");

QString Filter() { return QString::fromLatin1(kDocumentFilter); }

QString ChooseDocumentTarget(CMainFrame& frame, const QString& title) {
  return ChooseSaveTarget(frame, title, Filter(), QString::fromLatin1(kDocumentExtension));
}

class WaitCursor {
 public:
  WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~WaitCursor() { QApplication::restoreOverrideCursor(); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;
};

void Tell(CMainFrame& frame, const std::string& text) {
  frame.UserPrompts().tell(&frame, ToQString(text));
}

}  // namespace

QString ReplaceFileQuestion(const QString& path) {
  return QObject::tr("%1 already exists.\r\nDo you want to replace it?").arg(path);
}

QString ChooseSaveTarget(CMainFrame& frame, const QString& title, const QString& filter,
                         const QString& extension) {
  const QString chosen = frame.UserPrompts().saveFile(&frame, title, filter);
  if (chosen.isEmpty() || !QFileInfo(chosen).suffix().isEmpty()) return chosen;
  const QString path = chosen + extension;
  if (QFileInfo::exists(path) &&
      frame.UserPrompts().ask(&frame, ReplaceFileQuestion(path), QMessageBox::Yes | QMessageBox::No) !=
          QMessageBox::Yes)
    return {};
  return path;
}

bool RequireDatabase(CMainFrame& frame) {
  if (frame.Document().IsOpen()) return true;
  switch (frame.UserPrompts().noDatabase(&frame)) {
    case NoDatabaseChoice::CreateNew:
      RunNewDocument(frame);
      break;
    case NoDatabaseChoice::OpenExisting:
      RunOpenDocument(frame);
      break;
    case NoDatabaseChoice::Cancel:
      break;
  }
  return frame.Document().IsOpen();
}

bool RunNewDocument(CMainFrame& frame) {
  const QString path = ChooseDocumentTarget(frame, kDatabaseFileTitle);
  if (path.isEmpty()) return false;
  QString error;
  bool created = false;
  {
    WaitCursor wait;
    created = frame.Document().CreateNew(path, &error);
  }
  if (!created) frame.UserPrompts().tell(&frame, error);
  return created;
}

bool RunOpenDocument(CMainFrame& frame) {
  const QString path = frame.UserPrompts().openFile(&frame, kDatabaseFileTitle, Filter());
  if (path.isEmpty()) return false;
  return frame.OpenDocumentFile(path);
}

void RunBackupAndCompact(CMainFrame& frame) {
  if (!RequireDatabase(frame)) return;
  const QString target = ChooseDocumentTarget(frame, QStringLiteral("Save the backup file to"));
  if (target.isEmpty()) return;
  MaintenanceResult result;
  {
    WaitCursor wait;
    result = BackupAndCompact(frame.Document().Database(), ToStdString(target));
  }
  Tell(frame, result.ok ? "The backup was saved to " + ToStdString(target) + "." : result.message);
  // The connections were closed for the copy; the list opens them again.
  frame.Document().RefreshList();
}

void RunRepairDatabase(CMainFrame& frame) {
  Prompts& ask = frame.UserPrompts();
  const std::string openPath = frame.Document().Database().Path();
  const QString source =
      ask.openFile(&frame, QStringLiteral("Database File to be repaired"), Filter());
  if (source.isEmpty()) return;
  if (IsSameFile(ToStdString(source), openPath)) {
    Tell(frame, ToStdString(source) + " is currently open.\r\nClose it first (File, Close).");
    return;
  }
  const QString target = ChooseDocumentTarget(frame, QStringLiteral("Save the repaired file to"));
  if (target.isEmpty()) return;
  MaintenanceResult result;
  {
    WaitCursor wait;
    result = RepairDatabase(openPath, ToStdString(source), ToStdString(target));
  }
  if (!result.details.empty())
    ask.showText(&frame, QStringLiteral("Repair Database"), ToQString(result.details));
  Tell(frame, result.message);
}

void RunNormalizeDatabase(CMainFrame& frame) {
  if (!RequireDatabase(frame)) return;
  MaintenanceResult result;
  {
    WaitCursor wait;
    result = NormalizeDatabase(frame.Document().Database());
  }
  frame.UserPrompts().showText(&frame, QStringLiteral("Normalize Database"),
                               ToQString(result.message));
  frame.Document().RefreshList();
}

void RunAdditionalGroups(CMainFrame& frame) {
  if (!RequireDatabase(frame)) return;
  QStringList current;
  for (const std::string& name : UserGroupNamesFromSettings()) current << ToQString(name);
  CUserGroupsDialog dialog(current, &frame);
  if (dialog.exec() != QDialog::Accepted) return;
  std::vector<std::string> names;
  for (const QString& name : dialog.Names()) names.push_back(ToStdString(name));
  StoreUserGroupNames(names);
  std::string log;
  {
    WaitCursor wait;
    EnsureStructure(frame.Document().Database(), log, true);
  }
  frame.DomainNamesBar()->ReloadGroups();
  frame.UserPrompts().showText(&frame, QStringLiteral("Additional Domain Groups"),
                               log.empty() ? QObject::tr("Every group has its field already.") : ToQString(log));
  frame.Document().RefreshList();
}

void RunDeleteSelectedDomains(CMainFrame& frame) {
  if (!RequireDatabase(frame)) return;
  DeleteDomainsAfterAsking(frame, frame.SelectedNames());
}

int DeleteDomainsAfterAsking(CMainFrame& frame, const QStringList& names) {
  // Nothing selected: nothing to ask about.
  if (names.isEmpty() || !frame.Document().IsOpen()) return 0;
  const QMessageBox::StandardButton answer = frame.UserPrompts().ask(
      &frame, ToQString(DeleteConfirmationText(int(names.size()))),
      QMessageBox::Yes | QMessageBox::No);
  if (answer != QMessageBox::Yes) return 0;

  std::vector<std::string> list;
  list.reserve(std::size_t(names.size()));
  for (const QString& name : names) list.push_back(ToStdString(name));

  QProgressDialog progress(QObject::tr("Deleting..."), QObject::tr("Cancel"), 0,
                           int(names.size()), &frame);
  progress.setWindowTitle(QStringLiteral("Deleting Domain Names"));
  progress.setWindowModality(Qt::WindowModal);
  progress.setMinimumDuration(500);
  const DeleteResult result =
      DeleteDomains(frame.Document().Database(), list, [&progress](int done, int total) {
        // Redrawing for every name would cost more than the deleting.
        if (done == total || done % 64 == 0) progress.setValue(done);
        return !progress.wasCanceled();
      });
  progress.reset();
  if (!result.error.empty()) Tell(frame, result.error);
  frame.Document().RefreshList();
  return result.deleted;
}

}  // namespace qv
