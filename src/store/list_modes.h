// The list modes: all names, the names starting with a digit, or the names
// starting with one letter, each sorted by name.
#pragma once

#include <string>
#include <string_view>

namespace qv {

class DomainDatabase;

// Command identifiers of the list menu: the 26 letters, the digits, all.
inline constexpr int kListLetterFirstCommand = 33771;  // "List Domains that start with 'A'"
inline constexpr int kListLetterLastCommand = 33796;   // ... 'Z'
inline constexpr int kListDigitsCommand = 33797;       // "List Domains that start with numbers"
inline constexpr int kListAllCommand = 33798;          // "List All Domains"

// The mode name a list command passes: its letter in lower case (the low byte
// of the identifier plus 118), "0-9" or "*". "" for any other identifier.
std::string ListModeForCommand(int commandId);

// The query of a mode (compared without regard to case): "*" or "alldomains"
// for all names, "0-9" for names starting with a digit, any other text for
// names starting with its first character; then ordered by name.
std::string ListModeQuery(std::string_view mode, bool ascending);

// Builds the query of `mode` in the direction of GetSortDirection and runs it
// as the list (RunListQuery). False when the list could not be opened.
bool ShowListMode(DomainDatabase& db, std::string_view mode);

}  // namespace qv
