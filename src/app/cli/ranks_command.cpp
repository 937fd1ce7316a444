// `quorvel ranks DOC FILE`: gives the names of the document the ranks of a
// ranking list of "rank,domain" lines, as "Import Traffic Ranks..." does, and
// prints what it did. The whole list is stored in one transaction, so an
// interrupted or failed run stores nothing.
//
// Exit status 0 when the list was read, 1 when the document or the file
// cannot be used or the file holds no "rank,domain" line, 2 for a command
// line that does not parse.
#include <QFile>
#include <QStringList>
#include <cstdio>

#include "app/cli/command.h"
#include "app/cli/commands.h"
#include "app/cli/interrupt_flag.h"
#include "app/cli/terminal_output.h"
#include "app/commands/name_file.h"
#include "platform/text.h"
#include "store/database_connection.h"
#include "store/traffic_ranks.h"

namespace qv::cli {
namespace {

int RanksUsage(const char* message) {
  std::fprintf(stderr, "quorvel ranks: %s\nusage: quorvel ranks DOC FILE\n", message);
  return kUsageError;
}

int RanksFailed(const QString& message) {
  PrintError("quorvel ranks: " + ToStdString(message));
  return 1;
}

}  // namespace

int RunRanksCommand(const QStringList& args) {
  if (args.size() != 2) return RanksUsage("a document and a ranking list are needed");
  const QString refusal = ImportRefusal(args[0], args[1]);
  if (!refusal.isEmpty()) return RanksFailed(refusal);
  QFile file(args[1]);
  if (!file.open(QIODevice::ReadOnly))
    return RanksFailed(QStringLiteral("cannot read %1: %2").arg(args[1], file.errorString()));
  DomainDatabase db;
  if (!OpenDocumentOrReport(db, args[0])) return 1;
  const std::size_t total = file.isSequential() ? 0 : std::size_t(std::max<qint64>(file.size(), 0));
  InterruptFlag interrupted;
  const TrafficRanksReport report = ImportTrafficRanks(db, ChunkReaderOf(file), total, Date::Now(),
                                                       [&interrupted](std::size_t, std::size_t) {
                                                         return !interrupted.IsSet();
                                                       });
  const std::string text = TrafficRanksReportText(report);
  if (!report.error.empty() || report.cancelled) return RanksFailed(ToQString(text));
  PrintForTerminal(stdout, text);
  std::fflush(stdout);
  return report.Listed() > 0 ? 0 : 1;
}

}  // namespace qv::cli
