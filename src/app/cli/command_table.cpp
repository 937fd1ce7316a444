#include <cstdio>

#include "app/cli/command.h"
#include "app/cli/commands.h"

namespace qv::cli {

const std::vector<Command>& Commands() {
  // One row per subcommand, in the order --help lists them.
  static const std::vector<Command> table = {
      {"whois",
       "quorvel whois [--server HOST[:PORT]] [--prefix TEXT] [--timeout SECONDS] NAME\n"
       "  quorvel whois --which NAME",
       &RunWhoisCommand},
      {"rdap", "quorvel rdap [--url BASE] [--raw] NAME", &RunRdapCommand},
      {"parse", "quorvel parse [--server HOST] FILE\n  quorvel parse --rdap FILE", &RunParseCommand},
      {"import", "quorvel import DOC FILE", &RunImportCommand},
      {"ranks", "quorvel ranks DOC FILE", &RunRanksCommand},
      {"list", "quorvel list DOC [--mode LETTER|0-9|*] [--sql SQL] [--query NAME]", &RunListCommand},
      {"lookup",
       "quorvel lookup DOC [--whois] [--dns] [--ping] [--http] [--pop] [--tm] [--tick MS] [--query NAME] "
       "[NAME...]\n"
       "    (--tick or QUORVEL_TICK_MS: the tick period, 6000 ms unless set)",
       &RunLookupCommand},
      {"names",
       "quorvel names keywords KEYWORD --set SET [--tld com,net] [--hyphens] [--single]\n"
       "                       [--no-prefix] [--no-suffix]\n"
       "  quorvel names template TEMPLATE [--from N] [--to M] [--tld com,net]\n"
       "    (names one per line; the top-level domain is com unless --tld says otherwise)",
       &RunNamesCommand},
      {"filter",
       "quorvel filter FILE [--start W,..] [--end W,..] [--middle W,..] [--chars LIST]\n"
       "                    [--longer N] [--shorter N] [--tld T] [--keep|--drop]\n"
       "    (prints the names any filter selects, or with --drop the others)",
       &RunFilterCommand},
      {"fetch", "quorvel fetch [--timeout SECONDS] [--stop-at-redirect] URL", &RunFetchCommand},
      {"alert-test", "quorvel alert-test",
       &RunAlertTestCommand},
  };
  return table;
}

const Command* FindCommand(const QString& name) {
  for (const Command& c : Commands())
    if (name == QLatin1String(c.name)) return &c;
  return nullptr;
}

void PrintHelp() {
  std::printf("Usage: quorvel [DOCUMENT]\n"
              "       quorvel SUBCOMMAND [OPTIONS]\n\n"
              "Without a subcommand the program opens its main window, with DOCUMENT\n"
              "when one is given. Subcommands run without any window:\n\n");
  for (const Command& c : Commands()) std::printf("  %s\n", c.synopsis);
  std::printf("\n  quorvel --help    this text\n");
}

}  // namespace qv::cli
