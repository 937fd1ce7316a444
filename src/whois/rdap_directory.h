// The RDAP service directory: which RDAP base URL answers for a domain name.
//
// A suffix's section of the whois store ("Whois Setup" / <suffix>) may hold
// `RDAP URL`, a base URL chosen by the user; the longest suffix of the name
// with one wins. Otherwise the bootstrap table shipped with the program gives
// the service of the name's TLD. The query URL is the base URL followed by
// the name in A-labels.
#pragma once

#include <string>
#include <string_view>

namespace qv {

inline constexpr const char* kRdapUrlValue = "RDAP URL";

struct RdapService {
  std::string suffix;   // the suffix the URL belongs to ("com", "co.uk")
  std::string baseUrl;  // empty: the name has no RDAP service
  bool overridden = false;  // the URL is the user's, not the shipped table's
};

RdapService RdapServiceForName(std::string_view name);
// Just the base URL; empty when none is known.
std::string RdapBaseUrlFor(std::string_view name);

// The `RDAP URL` stored for a suffix (empty when none) and its change; an
// empty URL removes the override.
std::string StoredRdapUrlOfSuffix(std::string_view suffix);
void StoreRdapUrlOfSuffix(std::string_view suffix, std::string_view url);

// The query URL of a name: the base with a "/" added when it lacks one, then
// the name in A-labels. Empty when the name cannot be written in A-labels or
// the base is not an http(s) URL.
std::string RdapQueryUrl(std::string_view baseUrl, std::string_view name);

// The host of an http(s) URL, lower case; empty when there is none.
std::string RdapHostOf(std::string_view url);

// The name an RDAP service goes by where a whois server's name would: its
// host, with ":port" when the URL gives a port. Lookups keep the politeness
// of a service (connections, interval, failures) under this name, the
// answer's source footer names it, and the record's `Whois Server` holds it
// for the registrar's service a registry answer links to.
std::string RdapServerKey(std::string_view url);

}  // namespace qv
