// `quorvel list DOC [--mode LETTER|0-9|*] [--sql SQL] [--query NAME]`: prints
// the names of a document's list, one per line, in list order. --mode shows a
// list mode (sorted by name in the direction of the sort settings), --sql runs
// the user's own query (Jet dialect, date placeholders allowed), --query one
// of the stored display queries by name; without any, all names as they are
// stored.
#include <QStringList>
#include <chrono>
#include <cstdio>
#include <string>

#include "app/cli/command.h"
#include "app/cli/commands.h"
#include "app/cli/interrupt_flag.h"
#include "app/cli/terminal_output.h"
#include "platform/text.h"
#include "store/database_connection.h"
#include "store/database_maintenance.h"
#include "store/domain_list.h"
#include "store/list_modes.h"
#include "store/list_query.h"
#include "store/sort_list.h"
#include "store/sql_dates.h"
#include "store/sql_queries.h"

namespace qv::cli {
namespace {

int ListUsage(const char* message) {
  std::fprintf(stderr, "quorvel list: %s\nusage: quorvel list DOC [--mode LETTER|0-9|*] [--sql SQL] [--query NAME]\n",
               message);
  return kUsageError;
}

struct ListOptions {
  QString doc;
  QString mode;
  QString sql;
  QString query;
  bool hasMode = false, hasSql = false, hasQuery = false;
};

const char* ParseArguments(const QStringList& args, ListOptions& options) {
  for (qsizetype i = 0; i < args.size(); ++i) {
    const QString& arg = args[i];
    if (arg == QLatin1String("--mode") || arg == QLatin1String("--sql")) {
      if (i + 1 >= args.size()) return "an option lacks its value";
      const bool mode = arg == QLatin1String("--mode");
      (mode ? options.mode : options.sql) = args[++i];
      (mode ? options.hasMode : options.hasSql) = true;
    } else if (arg == QLatin1String("--query")) {
      if (i + 1 >= args.size()) return "an option lacks its value";
      options.query = args[++i];
      options.hasQuery = true;
    } else if (arg.startsWith(QLatin1String("--"))) {
      return "unknown option";
    } else if (options.doc.isEmpty()) {
      options.doc = arg;
    } else {
      return "only one document may be given";
    }
  }
  if (options.doc.isEmpty()) return "a document is needed";
  if (int(options.hasMode) + int(options.hasSql) + int(options.hasQuery) > 1)
    return "--mode, --sql and --query cannot be used together";
  if (options.hasMode && options.mode.isEmpty()) return "--mode needs a letter, 0-9 or *";
  if (options.hasSql && options.sql.trimmed().isEmpty()) return "--sql needs a query";
  if (options.hasQuery && options.query.trimmed().isEmpty()) return "--query needs the name of a stored query";
  return nullptr;
}

}  // namespace

int RunListCommand(const QStringList& args) {
  ListOptions options;
  if (const char* error = ParseArguments(args, options)) return ListUsage(error);

  if (options.hasQuery) {
    options.sql = ToQString(GetDisplayQuerySql(ToStdString(options.query.trimmed())));
    if (options.sql.isEmpty()) {
      std::fprintf(stderr, "quorvel list: no display query is named \"%s\"\n", qPrintable(options.query));
      return 1;
    }
    options.hasSql = true;
  }
  DomainDatabase db;
  if (!OpenDocumentOrReport(db, options.doc)) return 1;
  if (!db.OpenReadOnly(db.list())) {
    PrintError(db.list().GetLastError());
    return 1;
  }
  const std::string query =
      options.hasMode ? ListModeQuery(ToStdString(options.mode), GetSortDirection())
                      : ExpandQueryText(options.hasSql ? ToStdString(options.sql) : AllDomainsQuery());
  // Rows go out as the engine steps them, so an endless query never piles up
  // in memory, and Ctrl-C stops it between rows.
  InterruptFlag interrupted;
  db.list().SetCancelCheck([&interrupted] { return interrupted.IsSet(); });
  // They go out in blocks, and at least every tenth of a second, so a query
  // that finds its rows slowly shows the first ones at once.
  std::string out;
  using Clock = std::chrono::steady_clock;
  Clock::time_point written = Clock::now();
  const bool ok = ForEachListName(db.list(), query, [&out, &written](std::string_view name) {
    out += name;
    out += '\n';
    if (out.size() >= 1 << 16 || Clock::now() - written >= std::chrono::milliseconds(100)) {
      std::fwrite(out.data(), 1, out.size(), stdout);
      std::fflush(stdout);
      out.clear();
      written = Clock::now();
    }
    return true;
  });
  std::fwrite(out.data(), 1, out.size(), stdout);
  std::fflush(stdout);
  if (interrupted.IsSet()) {
    std::fprintf(stderr, "quorvel list: interrupted\n");
    return 130;
  }
  if (!ok) {
    PrintError(db.list().GetLastError());
    return 1;
  }
  return 0;
}

}  // namespace qv::cli
