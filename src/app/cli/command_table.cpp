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
      {"list", "quorvel list DOC [--mode LETTER|0-9|*] [--sql SQL]", &RunListCommand},
      {"lookup",
       "quorvel lookup DOC [--whois] [--dns] [--tick MS] [NAME...]\n"
       "    (--tick or QUORVEL_TICK_MS: the tick period, 6000 ms unless set)",
       &RunLookupCommand},
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
