// Output shared by the subcommands: the program's messages use "\r\n" line
// ends, which a terminal shows as plain line ends.
#pragma once

#include <QString>
#include <cstdio>
#include <string>

namespace qv {
class DomainDatabase;
}

namespace qv::cli {

// Writes the text with "\r\n" turned into "\n", ending with a line end.
void PrintForTerminal(std::FILE* out, std::string text);
inline void PrintError(std::string text) { PrintForTerminal(stderr, std::move(text)); }

// Opens the document a subcommand works on; prints the program's message and
// returns false when it cannot be opened.
bool OpenDocumentOrReport(DomainDatabase& db, const QString& path);

}  // namespace qv::cli
