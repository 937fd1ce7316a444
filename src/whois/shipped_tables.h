// The server tables shipped with the program (compiled in as a resource):
// the port-43 server of every current TLD and of common second-level
// suffixes, and the sentences many servers print for a name that is not
// registered. Each table is read once per process, on first use, from any
// thread.
#pragma once

#include <string>
#include <string_view>

namespace qv {

struct ShippedSuffixMatch {
  bool found = false;    // some suffix of the name is listed
  std::string suffix;    // the longest listed suffix
  std::string server;    // its server; empty when the table says it has none
};

// The longest suffix of the name (a whole-label suffix shorter than the name,
// or the name itself when it has no dot) that the shipped table lists.
// Compared without regard to case.
ShippedSuffixMatch ShippedSuffixForName(std::string_view name);

// The RDAP base URL the shipped bootstrap table gives the name's TLD (in
// `server`; the TLD in `suffix`); not found when the TLD has no RDAP service.
ShippedSuffixMatch ShippedRdapForName(std::string_view name);

// The shipped "not registered" sentences of a server host, several joined by
// "|"; empty when the table has none. Compared without regard to case.
std::string ShippedTokensForServer(std::string_view server);

}  // namespace qv
