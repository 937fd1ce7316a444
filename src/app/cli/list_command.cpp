// `quorvel list DOC [--mode LETTER|0-9|*] [--sql SQL]`: prints the names of a
// document's list, one per line, in list order. --mode shows a list mode
// (sorted by name in the direction of the sort settings), --sql runs the
// user's own query (Jet dialect, date placeholders allowed); without either,
// all names as they are stored.
#include <QStringList>
#include <cstdio>
#include <string>

#include "app/cli/command.h"
#include "app/cli/commands.h"
#include "app/cli/terminal_output.h"
#include "platform/text.h"
#include "store/database_connection.h"
#include "store/database_maintenance.h"
#include "store/domain_list.h"
#include "store/list_modes.h"
#include "store/list_query.h"

namespace qv::cli {
namespace {

int ListUsage(const char* message) {
  std::fprintf(stderr, "quorvel list: %s\nusage: quorvel list DOC [--mode LETTER|0-9|*] [--sql SQL]\n",
               message);
  return kUsageError;
}

struct ListOptions {
  QString doc;
  QString mode;
  QString sql;
  bool hasMode = false, hasSql = false;
};

const char* ParseArguments(const QStringList& args, ListOptions& options) {
  for (qsizetype i = 0; i < args.size(); ++i) {
    const QString& arg = args[i];
    if (arg == QLatin1String("--mode") || arg == QLatin1String("--sql")) {
      if (i + 1 >= args.size()) return "an option lacks its value";
      const bool mode = arg == QLatin1String("--mode");
      (mode ? options.mode : options.sql) = args[++i];
      (mode ? options.hasMode : options.hasSql) = true;
    } else if (arg.startsWith(QLatin1String("--"))) {
      return "unknown option";
    } else if (options.doc.isEmpty()) {
      options.doc = arg;
    } else {
      return "only one document may be given";
    }
  }
  if (options.doc.isEmpty()) return "a document is needed";
  if (options.hasMode && options.hasSql) return "--mode and --sql cannot be used together";
  if (options.hasMode && options.mode.isEmpty()) return "--mode needs a letter, 0-9 or *";
  if (options.hasSql && options.sql.trimmed().isEmpty()) return "--sql needs a query";
  return nullptr;
}

}  // namespace

int RunListCommand(const QStringList& args) {
  ListOptions options;
  if (const char* error = ParseArguments(args, options)) return ListUsage(error);

  DomainDatabase db;
  if (!OpenDocumentOrReport(db, options.doc)) return 1;
  const bool ok = options.hasMode ? ShowListMode(db, ToStdString(options.mode))
                                  : RunListQuery(db, options.hasSql ? ToStdString(options.sql) : "");
  if (!ok) {
    PrintError(ListErrorText());
    return 1;
  }
  const DomainList& list = ShownList();
  std::string out;
  for (int i = 0, n = list.Count(); i < n; ++i) {
    out += list.NameAt(i);
    out += '\n';
    if (out.size() >= 1 << 16) {
      std::fwrite(out.data(), 1, out.size(), stdout);
      out.clear();
    }
  }
  std::fwrite(out.data(), 1, out.size(), stdout);
  std::fflush(stdout);
  return 0;
}

}  // namespace qv::cli
