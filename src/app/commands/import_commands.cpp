#include "app/commands/import_commands.h"

#include <QFile>

#include "app/commands/file_commands.h"
#include "app/commands/file_filters.h"
#include "app/commands/name_file.h"
#include "app/dialogs/create_domain_names_dialog.h"
#include "app/main_frame.h"
#include "app/progress.h"
#include "platform/text.h"
#include "store/database_maintenance.h"

namespace qv {
namespace {

AddNamesProgress ProgressOf(ProgressWindow& window) {
  return [&window](const AddNamesReport&, std::size_t done, std::size_t total) {
    return window.Advance(static_cast<long long>(done), static_cast<long long>(total));
  };
}

}  // namespace

AddNamesReport AddNamesWithProgress(DomainDatabase& db, const std::vector<std::string>& names,
                                    QWidget* parent, std::chrono::milliseconds commitInterval) {
  ProgressWindow window(parent, QString::fromLatin1(kAddingNamesTitle));
  return AddDomainNames(db, names, ProgressOf(window), commitInterval);
}

AddNamesReport AddNamesTextWithProgress(DomainDatabase& db, std::string_view text, QWidget* parent,
                                        std::chrono::milliseconds commitInterval) {
  ProgressWindow window(parent, QString::fromLatin1(kAddingNamesTitle));
  return AddNamesFromText(db, text, ProgressOf(window), commitInterval);
}

bool ImportNamesFromFile(DomainDatabase& db, const QString& path, QWidget* parent,
                         AddNamesReport& report, QString& error,
                         std::chrono::milliseconds commitInterval) {
  error = ImportRefusal(ToQString(db.Path()), path);
  if (!error.isEmpty()) return false;
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    error = QObject::tr("The file %1 could not be read.\r\n%2").arg(path, file.errorString());
    return false;
  }
  std::string damage;
  if (!CheckDocumentIntegrity(db, damage)) {
    error = ToQString(damage);
    return false;
  }
  ProgressWindow window(parent, QString::fromLatin1(kAddingNamesTitle));
  const std::size_t total = file.isSequential() ? 0 : std::size_t(std::max<qint64>(file.size(), 0));
  report = AddNamesFromStream(db, ChunkReaderOf(file), total, ProgressOf(window), commitInterval);
  return true;
}

QString AddNamesReportText(const AddNamesReport& report) {
  QString text = QObject::tr("Domain names added: %1\r\nAlready in the list: %2")
                     .arg(report.added)
                     .arg(report.alreadyStored);
  if (report.refused > 0)
    text += QObject::tr("\r\nRefused (not usable as domain names): %1").arg(report.refused);
  if (report.cancelled) text += QObject::tr("\r\nCancelled: the names added so far are kept.");
  if (!report.error.empty()) text += QStringLiteral("\r\n\r\n") + ToQString(report.error);
  return text;
}

void RunCreateSimpleDomainNames(CMainFrame& frame) {
  if (!RequireDatabase(frame)) return;
  CCreateDomainNamesDialog dialog(&frame);
  dialog.prompts = frame.UserPrompts();
  if (dialog.exec() != QDialog::Accepted) return;
  const std::vector<std::string> names = dialog.Names();
  if (names.empty()) return;
  frame.UserPrompts().tell(&frame, AddNamesReportText(AddNamesWithProgress(frame.Document().Database(), names, &frame)));
}

void RunImportFromLargeTextFile(CMainFrame& frame) {
  if (!RequireDatabase(frame)) return;
  const QString path = frame.UserPrompts().openFile(&frame, QObject::tr("Import Domain Names From"),
                                                    QString::fromLatin1(kTextFilesFilter));
  if (path.isEmpty()) return;
  AddNamesReport report;
  QString error;
  if (!ImportNamesFromFile(frame.Document().Database(), path, &frame, report, error)) {
    frame.UserPrompts().tell(&frame, error);
    return;
  }
  frame.UserPrompts().tell(&frame, AddNamesReportText(report));
}

}  // namespace qv
