// The command-line front end: `quorvel SUBCOMMAND ...` runs one capability of
// the program without any window. Each subcommand lives in a file of its own
// under cli/ and is listed in the table of command_table.cpp.
#pragma once

#include <QStringList>
#include <vector>

namespace qv::cli {

struct Command {
  const char* name;
  const char* synopsis;  // one usage line, shown by --help
  // args holds what follows the subcommand name. Returns the exit status.
  int (*run)(const QStringList& args);
};

const std::vector<Command>& Commands();
const Command* FindCommand(const QString& name);
// Prints the usage of every subcommand to standard output.
void PrintHelp();

// Exit status of a command line that does not parse.
inline constexpr int kUsageError = 2;

}  // namespace qv::cli
