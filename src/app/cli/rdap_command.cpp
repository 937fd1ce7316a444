// `quorvel rdap [--url BASE] [--raw] NAME`: one RDAP query from the command
// line. Prints the values read from the answer as `quorvel parse --rdap`
// does, or the answer as received with --raw.
#include <QStringList>
#include <cstdio>
#include <string>

#include "app/cli/command.h"
#include "app/cli/commands.h"
#include "app/cli/fields_json.h"
#include "platform/text.h"
#include "whois/rdap_directory.h"
#include "whois/rdap_query.h"
#include "whois/whois_query.h"

namespace qv::cli {
namespace {

struct RdapOptions {
  std::string baseUrl;
  bool raw = false;
  std::string name;
};

int UsageError(const char* message) {
  std::fprintf(stderr, "quorvel rdap: %s\nusage: quorvel rdap [--url BASE] [--raw] NAME\n", message);
  return kUsageError;
}

const char* ParseArguments(const QStringList& args, RdapOptions& o) {
  for (qsizetype i = 0; i < args.size(); ++i) {
    const QString& arg = args[i];
    if (arg == QLatin1String("--raw")) {
      o.raw = true;
    } else if (arg == QLatin1String("--url")) {
      if (i + 1 >= args.size()) return "--url lacks its value";
      o.baseUrl = ToStdString(args[++i]);
    } else if (arg.startsWith(QLatin1Char('-'))) {
      return "unknown option";
    } else if (!o.name.empty()) {
      return "only one NAME may be given";
    } else {
      o.name = ToStdString(arg);
    }
  }
  return o.name.empty() ? "NAME is missing" : nullptr;
}

}  // namespace

int RunRdapCommand(const QStringList& args) {
  RdapOptions o;
  if (const char* error = ParseArguments(args, o)) return UsageError(error);
  if (o.baseUrl.empty()) o.baseUrl = RdapBaseUrlFor(o.name);
  if (o.baseUrl.empty()) {
    std::fprintf(stderr, "quorvel rdap: no RDAP service is known for %s\n", o.name.c_str());
    return 1;
  }
  const std::string url = RdapQueryUrl(o.baseUrl, o.name);
  if (url.empty()) {
    std::fprintf(stderr, "quorvel rdap: cannot query %s at %s: not a domain name or not an http(s) URL\n",
                 o.name.c_str(), o.baseUrl.c_str());
    return 1;
  }
  const RdapResult result = RdapQuery(url, WhoisTimeoutSeconds() * 1000);
  if (result.outcome == RdapOutcome::Failed) {
    std::fprintf(stderr, "quorvel rdap: %s: %s\n", url.c_str(), result.error.c_str());
    return 1;
  }
  if (o.raw) {
    std::fwrite(result.body.data(), 1, result.body.size(), stdout);
    std::fputc('\n', stdout);
    return 0;
  }
  const RdapReading reading = ReadRdapAnswer(result.body);
  PrintJson(RdapAnswerJson(reading.answer, RdapHostOf(result.finalUrl)));
  return 0;
}

}  // namespace qv::cli
