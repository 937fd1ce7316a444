// `quorvel import DOC FILE`: adds the names of a text file to a document, as
// "Import From Large Text File" does, creating the document when it does not
// exist. While a long import runs, a line is printed after each batch of
// names is safely written, so the count shown is always stored.
#include <QFile>
#include <QStringList>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

#include "app/cli/command.h"
#include "app/cli/commands.h"
#include "app/cli/terminal_output.h"
#include "platform/text.h"
#include "store/add_names.h"
#include "store/database_connection.h"
#include "store/database_maintenance.h"

namespace qv::cli {
namespace {

int ImportUsage(const char* message) {
  std::fprintf(stderr, "quorvel import: %s\nusage: quorvel import DOC FILE\n", message);
  return kUsageError;
}

// Opens DOC, or creates it when there is no such file.
bool OpenOrCreate(DomainDatabase& db, const std::string& path) {
  std::error_code ec;
  const MaintenanceResult result =
      std::filesystem::exists(path, ec) ? OpenDocument(db, path) : NewDocument(db, path);
  if (!result.ok) PrintForTerminal(stderr, result.message);
  return result.ok;
}

}  // namespace

int RunImportCommand(const QStringList& args) {
  if (args.size() != 2) return ImportUsage("a document and a file of names are needed");
  const std::string docPath = ToStdString(args[0]);
  QFile file(args[1]);
  if (!file.open(QIODevice::ReadOnly)) {
    std::fprintf(stderr, "quorvel import: cannot read %s: %s\n", args[1].toLocal8Bit().constData(),
                 file.errorString().toLocal8Bit().constData());
    return 1;
  }
  const QByteArray bytes = file.readAll();
  file.close();
  std::string_view text(bytes.constData(), std::size_t(bytes.size()));
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);  // byte-order mark of UTF-8 files

  DomainDatabase db;
  if (!OpenOrCreate(db, docPath)) return 1;

  const AddNamesProgress progress = [](const AddNamesReport& soFar, std::size_t done, std::size_t total) {
    if (done < total) {
      std::printf("%zu names added so far (%zu%%)\n", soFar.added, total ? done * 100 / total : 100);
      std::fflush(stdout);
    }
    return true;
  };
  const AddNamesReport report = AddNamesFromText(db, text, progress);
  std::printf("%d names added\n", int(report.added));
  if (report.refused > 0)
    std::printf("%d names refused (control characters, \"/\" or \"\\\" in the name)\n",
                int(report.refused));
  std::fflush(stdout);
  if (!report.error.empty()) {
    PrintForTerminal(stderr, report.error);
    return 1;
  }
  return 0;
}

}  // namespace qv::cli
