#include "app/commands/export_commands.h"

#include <QSaveFile>

#include "app/commands/file_commands.h"
#include "app/commands/file_filters.h"
#include "app/commands/list_rows.h"
#include "app/main_frame.h"
#include "app/progress.h"
#include "lookup/answer_files.h"
#include "platform/text.h"
#include "store/database_maintenance.h"

namespace qv {
namespace {

constexpr int kRawExportProgressStep = 20;

QString WriteFailedText(const QString& path, const QString& reason) {
  return QObject::tr("The file %1 could not be written.\r\n%2").arg(path, reason);
}

bool OpenForWriting(QSaveFile& file, QString& error) {
  if (file.open(QIODevice::WriteOnly)) return true;
  error = WriteFailedText(file.fileName(), file.errorString());
  return false;
}

bool WriteBytes(QSaveFile& file, std::string_view bytes) {
  return file.write(bytes.data(), qint64(bytes.size())) == qint64(bytes.size());
}

// Commits a finished file, or drops it when writing stopped early.
bool Finish(QSaveFile& file, bool complete, QString& error) {
  if (!complete) {
    if (error.isEmpty()) error = WriteFailedText(file.fileName(), file.errorString());
    file.cancelWriting();
    file.commit();
    return false;
  }
  if (file.commit()) return true;
  error = WriteFailedText(file.fileName(), file.errorString());
  return false;
}

QString CancelledText() { return QObject::tr("The export was cancelled."); }

// The kept answer of a name; nothing when none is kept.
std::string KeptAnswer(std::string_view name) {
  std::string answer = LoadWhoisText(name);
  if (answer == kWhoisLoggingDisabledText) answer.clear();
  return answer;
}

// The file an export writes; never the open document, which the export would
// replace.
QString AskTarget(CMainFrame& frame, const char* title, const char* filter, const char* extension) {
  const QString path = ChooseSaveTarget(frame, QObject::tr(title), QString::fromLatin1(filter),
                                        QString::fromLatin1(extension));
  if (!path.isEmpty() && IsSameFile(ToStdString(path), frame.Document().Database().Path())) {
    frame.UserPrompts().tell(&frame, QObject::tr("%1 is the open document; choose another file.").arg(path));
    return {};
  }
  return path;
}

void ExportRows(CMainFrame& frame, const QStringList& names) {
  if (!frame.Document().IsOpen()) return;
  const QString path = AskTarget(frame, "Export to Comma Separated Text File", kCsvFilesFilter, ".csv");
  if (path.isEmpty()) return;
  QString error;
  if (!WriteCsvExport(frame.Document().Database(), names, ShownColumns(frame), path, &frame, error))
    frame.UserPrompts().tell(&frame, error);
}

}  // namespace

std::string WithCrLfLineEnds(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 32);
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r' || c == '\n') {
      out += "\r\n";
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      out += c;
    }
  }
  return out;
}

std::string RawWhoisRecordText(std::string_view name, std::string_view answer) {
  std::string block = "\r\n<record>\r\nDomain: ";
  block += name;
  block += "\r\n\r\n";
  block += WithCrLfLineEnds(answer);
  block += "\r\n</record>\r\n\r\n";
  return block;
}

bool WriteRawWhoisExport(const QStringList& names, const QString& path, QWidget* parent, QString& error) {
  QSaveFile file(path);
  if (!OpenForWriting(file, error)) return false;
  ProgressWindow window(parent, QObject::tr("Exporting"));
  bool complete = true;
  for (qsizetype i = 0; i < names.size() && complete; ++i) {
    if (i % kRawExportProgressStep == 0 && !window.Advance(i, names.size())) {
      error = CancelledText();
      complete = false;
      break;
    }
    const std::string name = ToStdString(names[i]);
    complete = WriteBytes(file, RawWhoisRecordText(name, KeptAnswer(name)));
  }
  return Finish(file, complete, error);
}

bool WriteCsvExport(DomainDatabase& db, const QStringList& names, const QStringList& columns,
                    const QString& path, QWidget* parent, QString& error) {
  QSaveFile file(path);
  if (!OpenForWriting(file, error)) return false;
  const TableSource source = TableOfNames(db, names, columns, CellTextContext::FromSettings());
  ProgressWindow window(parent, QString::fromLatin1(kPreparingDataTitle));
  bool cancelled = false;
  const bool complete = WriteTableLines(
      source, TableTextForm::Commas,
      [&](int done, int total) {
        cancelled = !window.Advance(done, total);
        return !cancelled;
      },
      [&file](const QString& line) { return WriteBytes(file, ToStdString(line)); });
  if (cancelled) error = CancelledText();
  return Finish(file, complete, error);
}

bool WriteNamesFile(const QStringList& names, const QString& path, QString& error) {
  QSaveFile file(path);
  if (!OpenForWriting(file, error)) return false;
  bool complete = true;
  for (const QString& name : names) {
    std::string line = ToStdString(name);
    for (char& c : line) {
      if (c == ',') c = ' ';
      else if (c == '\t') c = ',';
    }
    line += "\r\n";
    if (!(complete = WriteBytes(file, line))) break;
  }
  return Finish(file, complete, error);
}

void RunExportSelectedRows(CMainFrame& frame) { ExportRows(frame, frame.SelectedNames()); }

void RunExportFullTable(CMainFrame& frame) { ExportRows(frame, AllListNames(frame)); }

void RunExportAvailableNames(CMainFrame& frame) {
  if (!frame.Document().IsOpen()) return;
  bool cancelled = false;
  const QStringList names = AvailableNames(frame.Document().Database(), AllListNames(frame), &frame, cancelled);
  if (cancelled) return;
  const QString path = AskTarget(frame, "Export All Available Names", kTextFilesFilter, ".txt");
  if (path.isEmpty()) return;
  QString error;
  if (!WriteNamesFile(names, path, error)) frame.UserPrompts().tell(&frame, error);
}

void RunExportRawWhois(CMainFrame& frame) {
  if (!frame.Document().IsOpen()) return;
  const QString path = AskTarget(frame, "Export the Entire Raw Whois Data", kTextFilesFilter, ".txt");
  if (path.isEmpty()) return;
  QString error;
  if (!WriteRawWhoisExport(AllListNames(frame), path, &frame, error)) frame.UserPrompts().tell(&frame, error);
}

}  // namespace qv
