// `quorvel whois`: one port-43 query from the command line, the diagnostic
// whois tool without its window.
//
//   quorvel whois [--server HOST[:PORT]] [--prefix TEXT] [--timeout SECONDS] NAME
//   quorvel whois --which NAME
#include <QStringList>
#include <cstdio>
#include <optional>
#include <string>

#include "app/cli/command.h"
#include "app/cli/commands.h"
#include "app/host_port.h"
#include "platform/text.h"
#include "whois/rdap_directory.h"
#include "whois/server_directory.h"
#include "whois/whois_query.h"

namespace qv::cli {
namespace {

struct WhoisOptions {
  std::optional<std::string> server;
  std::optional<int> port;
  std::optional<std::string> prefix;
  std::optional<int> timeoutSeconds;
  bool which = false;
  std::string name;
};

int UsageError(const char* message) {
  std::fprintf(stderr, "quorvel whois: %s\n", message);
  std::fprintf(stderr,
               "usage: quorvel whois [--server HOST[:PORT]] [--prefix TEXT] "
               "[--timeout SECONDS] NAME\n"
               "       quorvel whois --which NAME\n");
  return kUsageError;
}

std::optional<int> NumberIn(const QString& text, int low, int high) {
  bool ok = false;
  const int value = text.toInt(&ok, 10);
  if (!ok || value < low || value > high) return std::nullopt;
  return value;
}

// "HOST" or "HOST:PORT"; false when the port or host is not usable.
bool ParseServer(const QString& text, WhoisOptions& options) {
  const std::optional<HostPort> parsed = ParseHostPort(text);
  if (!parsed) return false;
  options.server = ToStdString(parsed->host);
  if (parsed->port) options.port = parsed->port;
  return true;
}

// Returns an error message, or nullptr when the arguments parse.
const char* ParseArguments(const QStringList& args, WhoisOptions& options) {
  bool haveName = false;
  bool optionsEnded = false;
  for (qsizetype i = 0; i < args.size(); ++i) {
    const QString& arg = args[i];
    const bool isOption = !optionsEnded && arg.startsWith(QLatin1Char('-'));
    if (!isOption) {
      if (haveName) return "only one NAME may be given";
      options.name = ToStdString(arg);
      haveName = true;
      continue;
    }
    if (arg == QLatin1String("--")) {
      optionsEnded = true;
      continue;
    }
    if (arg == QLatin1String("--which")) {
      options.which = true;
      continue;
    }
    const bool takesValue = arg == QLatin1String("--server") || arg == QLatin1String("--prefix") ||
                            arg == QLatin1String("--timeout");
    if (!takesValue) return "unknown option";
    if (i + 1 >= args.size()) return "an option lacks its value";
    const QString value = args[++i];
    if (arg == QLatin1String("--server")) {
      if (!ParseServer(value, options)) return "--server wants HOST or HOST:PORT (port 1-65535)";
    } else if (arg == QLatin1String("--prefix")) {
      options.prefix = ToStdString(value);
    } else {
      options.timeoutSeconds = NumberIn(value, 1, 2147483);
      if (!options.timeoutSeconds) return "--timeout wants a whole number of seconds (1 or more)";
    }
  }
  if (!haveName || options.name.empty()) return "NAME is missing";
  if (options.which && (options.server || options.prefix || options.timeoutSeconds))
    return "--which takes only NAME";
  return nullptr;
}

int PrintKeyAndServer(const std::string& name) {
  const TldRecord record = ServerForName(name);
  const std::string rdap = RdapBaseUrlFor(name);
  std::printf("%s\t%s\t%s\n", record.key.c_str(), record.server.c_str(), rdap.c_str());
  return 0;
}

int RunQuery(WhoisOptions& options) {
  if (!options.server) options.server = WhoisServerFor(options.name);
  if (options.server->empty()) {
    std::fprintf(stderr, "quorvel whois: no whois server is known for %s\n",
                 options.name.c_str());
    return 1;
  }
  {
    const WhoisServerRecord record(*options.server, true);
    if (!options.prefix) options.prefix = record.queryPrefix;
    if (!options.port) options.port = record.port;
  }
  const int seconds = options.timeoutSeconds.value_or(WhoisTimeoutSeconds());
  std::string output;
  const bool answered =
      WhoisQuery(options.name, *options.server, *options.prefix, output, *options.port,
                 seconds * 1000);
  std::fwrite(output.data(), 1, output.size(), stdout);
  std::fflush(stdout);
  return answered ? 0 : 1;
}

}  // namespace

int RunWhoisCommand(const QStringList& args) {
  WhoisOptions options;
  if (const char* error = ParseArguments(args, options)) return UsageError(error);
  if (options.which) return PrintKeyAndServer(options.name);
  return RunQuery(options);
}

}  // namespace qv::cli
