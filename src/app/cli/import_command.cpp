// `quorvel import DOC FILE`: adds the names of a text file to a document, as
// "Import From Large Text File" does, creating the document when it does not
// exist. The file is read piece by piece (FILE may be a pipe such as
// /dev/stdin). While a long import runs, a line is printed after each batch of
// names is safely written, so the count shown is always stored.
#include <QFile>
#include <QStringList>
#include <cstdio>
#include <filesystem>
#include <string>

#include "app/cli/command.h"
#include "app/cli/commands.h"
#include "app/cli/terminal_output.h"
#include "app/commands/name_file.h"
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

int ImportFailed(const QString& message) {
  PrintError("quorvel import: " + ToStdString(message));
  return 1;
}

// Opens DOC, or creates it when there is no such file; an existing document
// must pass the integrity check, so that adding does not build on damage.
bool OpenOrCreate(DomainDatabase& db, const std::string& path) {
  std::error_code ec;
  const bool exists = std::filesystem::exists(path, ec);
  const MaintenanceResult result = exists ? OpenDocument(db, path) : NewDocument(db, path);
  if (!result.ok) {
    PrintError(result.message);
    return false;
  }
  std::string damage;
  if (exists && !CheckDocumentIntegrity(db, damage)) {
    PrintError(damage);
    return false;
  }
  return true;
}

bool PrintProgress(const AddNamesReport& soFar, std::size_t done, std::size_t total) {
  if (total == 0)
    std::printf("%zu names added so far\n", soFar.added);
  else if (done < total)
    std::printf("%zu names added so far (%zu%%)\n", soFar.added, done * 100 / total);
  std::fflush(stdout);
  return true;
}

}  // namespace

int RunImportCommand(const QStringList& args) {
  if (args.size() != 2) return ImportUsage("a document and a file of names are needed");
  const QString refusal = ImportRefusal(args[0], args[1]);
  if (!refusal.isEmpty()) return ImportFailed(refusal);
  QFile file(args[1]);
  if (!file.open(QIODevice::ReadOnly))
    return ImportFailed(QStringLiteral("cannot read %1: %2").arg(args[1], file.errorString()));

  DomainDatabase db;
  if (!OpenOrCreate(db, ToStdString(args[0]))) return 1;
  const std::size_t total = file.isSequential() ? 0 : std::size_t(std::max<qint64>(file.size(), 0));
  const AddNamesReport report = AddNamesFromStream(db, ChunkReaderOf(file), total, &PrintProgress);
  std::printf("%d names added\n", int(report.added));
  if (report.refused > 0) std::printf("%d names refused (not usable as domain names)\n", int(report.refused));
  std::fflush(stdout);
  if (!report.error.empty()) {
    PrintError(report.error);
    return 1;
  }
  return 0;
}

}  // namespace qv::cli
