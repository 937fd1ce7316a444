// `quorvel filter FILE [--start W,..] [--end W,..] [--middle W,..]
// [--chars LIST] [--longer N] [--shorter N] [--tld T] [--keep|--drop]`:
// loads a text file of names as the "Domain Name Filter" tool does, selects
// with each filter given (the selection grows with each, as in the tool with
// "Unselect all names whenever a filter is applied." off) and prints the
// selected names (--keep, the default) or the others (--drop), one per line,
// in file order.
#include <QFile>
#include <QStringList>
#include <cstdio>
#include <string>
#include <vector>

#include "app/cli/command.h"
#include "app/cli/commands.h"
#include "app/cli/line_writer.h"
#include "namegen/name_filter.h"
#include "platform/text.h"

namespace qv::cli {
namespace {

constexpr const char* kFilterUsage =
    "quorvel filter FILE [--start W,..] [--end W,..] [--middle W,..] [--chars LIST]\n"
    "                    [--longer N] [--shorter N] [--tld T] [--keep|--drop]";

int FilterUsage(const char* message) {
  std::fprintf(stderr, "quorvel filter: %s\nusage: %s\n", message, kFilterUsage);
  return kUsageError;
}

struct FilterOptions {
  QString file;
  std::vector<NameFilter> filters;
  bool drop = false;
};

// The filter an option names; false for an option that is not a filter.
bool FilterOfOption(const QString& option, FilterKind& kind) {
  static const std::pair<const char*, FilterKind> options[] = {
      {"--start", FilterKind::StartWords}, {"--end", FilterKind::EndWords},
      {"--middle", FilterKind::MiddleWords}, {"--chars", FilterKind::Chars},
      {"--longer", FilterKind::LongerThan}, {"--shorter", FilterKind::ShorterThan},
      {"--tld", FilterKind::Tld}};
  for (const auto& [name, k] : options)
    if (option == QLatin1String(name)) {
      kind = k;
      return true;
    }
  return false;
}

const char* ParseArguments(const QStringList& args, FilterOptions& options) {
  bool keep = false;
  for (qsizetype i = 0; i < args.size(); ++i) {
    const QString& arg = args[i];
    FilterKind kind;
    if (FilterOfOption(arg, kind)) {
      if (i + 1 >= args.size()) return "an option lacks its value";
      NameFilter filter{kind, ToStdString(args[++i]), 0};
      if (kind == FilterKind::LongerThan || kind == FilterKind::ShorterThan) {
        bool ok = false;
        filter.bound = args[i].toInt(&ok);
        if (!ok) return "--longer and --shorter take whole numbers";
      }
      options.filters.push_back(std::move(filter));
    } else if (arg == QLatin1String("--keep")) {
      keep = true;
    } else if (arg == QLatin1String("--drop")) {
      options.drop = true;
    } else if (arg.startsWith(QLatin1String("--"))) {
      return "unknown option";
    } else if (options.file.isEmpty()) {
      options.file = arg;
    } else {
      return "only one file may be given";
    }
  }
  if (options.file.isEmpty()) return "a file of names is needed";
  if (keep && options.drop) return "--keep and --drop cannot be used together";
  if (options.filters.empty()) return "at least one filter is needed";
  return nullptr;
}

}  // namespace

int RunFilterCommand(const QStringList& args) {
  FilterOptions options;
  if (const char* error = ParseArguments(args, options)) return FilterUsage(error);
  QFile file(options.file);
  if (!file.open(QIODevice::ReadOnly)) {
    std::fprintf(stderr, "quorvel filter: cannot read %s: %s\n", qPrintable(options.file),
                 qPrintable(file.errorString()));
    return 1;
  }
  const QByteArray bytes = file.readAll();
  std::vector<std::string> names;
  AppendNamesFromText(names, std::string_view(bytes.constData(), std::size_t(bytes.size())));

  std::vector<bool> selected(names.size(), false);
  for (const NameFilter& filter : options.filters)
    for (std::size_t row : MatchingRows(names, filter)) selected[row] = true;
  LineWriter out;
  for (std::size_t row = 0; row < names.size() && !out.Failed(); ++row)
    if (selected[row] != options.drop) out.Line(names[row]);
  return out.Flush() ? 0 : 1;
}

}  // namespace qv::cli
