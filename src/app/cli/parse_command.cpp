// `quorvel parse [--server HOST] FILE`: reads one whois answer and prints the
// values the program takes out of it as one JSON object.
// `quorvel parse --rdap FILE` does the same for a stored RDAP answer (the
// JSON as received, with or without the source footer).
#include <QFile>
#include <cstdio>

#include "app/cli/command.h"
#include "app/cli/commands.h"
#include "app/cli/fields_json.h"
#include "platform/ascii.h"
#include "platform/text.h"
#include "whois/normalise.h"
#include "whois/whois_fields.h"

namespace qv::cli {
namespace {

struct ParseArgs {
  bool rdap = false;
  QString server;
  QString file;
};

bool ReadArgs(const QStringList& args, ParseArgs& out) {
  for (int i = 0; i < args.size(); ++i) {
    if (args[i] == QLatin1String("--rdap")) {
      out.rdap = true;
    } else if (args[i] == QLatin1String("--server")) {
      if (i + 1 >= args.size()) return false;
      out.server = args[++i];
    } else if (out.file.isEmpty() && !args[i].startsWith(QLatin1String("--"))) {
      out.file = args[i];
    } else {
      return false;
    }
  }
  return !out.file.isEmpty() && !(out.rdap && !out.server.isEmpty());
}

int PrintRdap(const QString& file, const std::string& stored) {
  const StoredRdapAnswer split = SplitStoredRdapAnswer(stored);
  const RdapReading reading = ReadRdapAnswer(split.body);
  if (!reading.error.empty()) {
    std::fprintf(stderr, "quorvel parse: %s: %s\n", qPrintable(file), reading.error.c_str());
    return 1;
  }
  PrintJson(RdapAnswerJson(reading.answer, split.source));
  return 0;
}

constexpr qint64 kMaxParsedAnswer = 16 << 20;

}  // namespace

int RunParseCommand(const QStringList& args) {
  ParseArgs a;
  if (!ReadArgs(args, a)) {
    std::fprintf(stderr, "usage: quorvel parse [--server HOST] FILE\n       quorvel parse --rdap FILE\n");
    return kUsageError;
  }
  QFile file(a.file);
  if (!file.open(QIODevice::ReadOnly)) {
    std::fprintf(stderr, "quorvel parse: cannot read %s: %s\n", qPrintable(a.file),
                 qPrintable(file.errorString()));
    return 2;
  }
  // Whois answers are small; a file (or pipe) larger than any answer is not one,
  // and reading it whole could exhaust memory.
  const QByteArray bytes = file.read(kMaxParsedAnswer + 1);
  if (bytes.size() > kMaxParsedAnswer) {
    std::fprintf(stderr, "quorvel parse: %s is larger than 16 MiB; that is not a whois answer\n",
                 qPrintable(a.file));
    return 1;
  }
  if (file.error() != QFileDevice::NoError) {
    std::fprintf(stderr, "quorvel parse: cannot read %s: %s\n", qPrintable(a.file),
                 qPrintable(file.errorString()));
    return 1;
  }
  std::string answer(bytes.constData(), std::size_t(bytes.size()));
  if (a.rdap) return PrintRdap(a.file, answer);
  // As the lookup worker stores it: the server's text, then the source footer.
  if (!a.server.isEmpty() && answer.find(kWhoisSourceTag) == std::string::npos)
    answer += "\n" + std::string(kWhoisSourceTag) + ToStdString(a.server) + "]";
  PrintJson(WhoisFieldsJson(ParseWhoisFields(answer)));
  return 0;
}

}  // namespace qv::cli
