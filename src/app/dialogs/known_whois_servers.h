// The whois servers the data-extraction dialogs offer, and the server that
// answers for a domain of the list.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qv {

class DomainDatabase;

// Every server of the built-in tables, the servers stored for the keys of
// the TLD List and the `extra` ones, each once (compared without regard to
// case), sorted. Only reads the store.
std::vector<std::string> KnownWhoisServers(const std::vector<std::string>& extra = {});

// The whois server of a domain: the referral server its record names
// (`Whois Server`) when there is one, else the server of the directory.
// Empty when neither is known. `db` may be null (no document).
std::string DomainWhoisServer(DomainDatabase* db, std::string_view name);

}  // namespace qv
