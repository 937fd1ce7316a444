// `quorvel names keywords KEYWORD --set SET ...` and `quorvel names template
// TEMPLATE ...`: the names the two generators make, one per line, ready to
// be piped into `quorvel import`. The keyword generator reads the user's
// word set as the dialog does; the template is expanded word by word, so
// any range of a large template is printed without making the words before
// it.
#include <QStringList>
#include <cstdio>
#include <string>
#include <vector>

#include "app/cli/command.h"
#include "app/cli/commands.h"
#include "app/cli/line_writer.h"
#include "app/cli/terminal_output.h"
#include "namegen/builtin_word_lists.h"
#include "namegen/keyword_names.h"
#include "namegen/name_emitter.h"
#include "namegen/name_template.h"
#include "namegen/word_set.h"
#include "platform/ascii.h"
#include "platform/text.h"

namespace qv::cli {
namespace {

constexpr const char* kKeywordsUsage =
    "quorvel names keywords KEYWORD --set SET [--tld com,net] [--hyphens] [--single]\n"
    "                       [--no-prefix] [--no-suffix]";
constexpr const char* kTemplateUsage = "quorvel names template TEMPLATE [--from N] [--to M] [--tld com,net]";

int NamesUsage(const char* message) {
  std::fprintf(stderr, "quorvel names: %s\nusage: %s\n       %s\n", message, kKeywordsUsage,
               kTemplateUsage);
  return kUsageError;
}

std::vector<std::string> TldsOf(const QString& list) {
  std::vector<std::string> tlds;
  for (const QString& t : list.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
    QString tld = t.trimmed();
    while (tld.startsWith(QLatin1Char('.'))) tld.remove(0, 1);
    if (!tld.isEmpty()) tlds.push_back(ToStdString(tld));
  }
  return tlds;
}

// The set's name as the program spells it, or "" for an unknown set.
std::string KnownSetName(const QString& name) {
  for (const std::string& set : WordSetNames())
    if (EqualsNoCase(set, ToStdString(name))) return set;
  return {};
}

void ReportTooLong(std::size_t count) {
  if (count > 0) PrintError(TooLongNamesText(count));
}

int RunKeywords(const QStringList& args) {
  QString keyword, set, tlds = QStringLiteral("com");
  bool hasKeyword = false;
  KeywordOptions options;
  for (qsizetype i = 0; i < args.size(); ++i) {
    const QString& arg = args[i];
    if (arg == QLatin1String("--set") || arg == QLatin1String("--tld")) {
      if (i + 1 >= args.size()) return NamesUsage("an option lacks its value");
      (arg == QLatin1String("--set") ? set : tlds) = args[++i];
    } else if (arg == QLatin1String("--hyphens")) {
      options.allowHyphens = true;
    } else if (arg == QLatin1String("--single")) {
      options.singlePadding = true;
    } else if (arg == QLatin1String("--no-prefix")) {
      options.noPrefix = true;
    } else if (arg == QLatin1String("--no-suffix")) {
      options.noSuffix = true;
    } else if (arg.startsWith(QLatin1String("--")) || hasKeyword) {
      return NamesUsage(hasKeyword ? "only one keyword may be given" : "unknown option");
    } else {
      keyword = arg;
      hasKeyword = true;
    }
  }
  if (!hasKeyword) return NamesUsage("a keyword is needed");
  if (set.isEmpty()) return NamesUsage("--set names the word set to use");
  const std::string setName = KnownSetName(set);
  if (setName.empty()) {
    std::string known;
    for (const std::string& s : WordSetNames()) known += (known.empty() ? "" : ", ") + s;
    PrintError("There is no word set called \"" + ToStdString(set) + "\". The word sets are: " + known + ".");
    return kUsageError;
  }
  const WordBoxes boxes = WordBoxesFromSetText(LoadWordSetText(WordListFolder(), setName));
  const KeywordNames made = GenerateKeywordNames(ToStdString(keyword), SplitWordLines(boxes.startWords),
                                                 SplitWordLines(boxes.endWords), options, TldsOf(tlds));
  LineWriter out;
  for (const std::string& name : made.names) out.Line(name);
  ReportTooLong(made.tooLong);
  return out.Flush() ? 0 : 1;
}

bool ReadNumber(const QString& text, long long& value) {
  bool ok = false;
  value = text.toLongLong(&ok);
  return ok;
}

int RunTemplate(const QStringList& args) {
  QString text, tlds = QStringLiteral("com");
  bool hasTemplate = false;
  long long from = 1, to = -1;  // to -1: up to the last word
  for (qsizetype i = 0; i < args.size(); ++i) {
    const QString& arg = args[i];
    if (arg == QLatin1String("--from") || arg == QLatin1String("--to") || arg == QLatin1String("--tld")) {
      if (i + 1 >= args.size()) return NamesUsage("an option lacks its value");
      const QString& value = args[++i];
      if (arg == QLatin1String("--tld"))
        tlds = value;
      else if (!ReadNumber(value, arg == QLatin1String("--from") ? from : to))
        return NamesUsage("--from and --to take whole numbers");
    } else if (arg.startsWith(QLatin1String("--")) || hasTemplate) {
      return NamesUsage(hasTemplate ? "only one template may be given" : "unknown option");
    } else {
      text = arg;
      hasTemplate = true;
    }
  }
  if (!hasTemplate) return NamesUsage("a template is needed");
  const NameTemplate tmpl(ToStdString(text));
  const std::string refusal = TemplateRefusal(tmpl);
  if (!refusal.empty()) {
    PrintError(refusal);
    return 1;
  }
  const WordRange range = ExportRange(from, to < 0 ? (long long)tmpl.Count() : to, tmpl.Count());
  NameEmitter emitter(TldsOf(tlds));
  LineWriter out;
  if (range.first < range.end) {
    TemplateCursor cursor(tmpl, range.first);
    for (std::uint64_t i = range.first; i < range.end && !out.Failed(); ++i, cursor.Next())
      emitter.Emit(cursor.Word(), [&out](std::string_view name) { out.Line(name); });
  }
  ReportTooLong(emitter.TooLong());
  return out.Flush() ? 0 : 1;
}

}  // namespace

int RunNamesCommand(const QStringList& args) {
  if (args.isEmpty()) return NamesUsage("keywords or template?");
  const QStringList rest = args.mid(1);
  if (args[0] == QLatin1String("keywords")) return RunKeywords(rest);
  if (args[0] == QLatin1String("template")) return RunTemplate(rest);
  return NamesUsage("the generators are keywords and template");
}

}  // namespace qv::cli
