// The whois directory's own tables: which server answers for the TLDs the
// program knows best, and how the answers of well-known registry, registrar
// and address-registry servers are read (query prefix, availability token,
// cleanup fragments, date order). Host names are lower-case.
#pragma once

#include <span>
#include <string_view>

#include "platform/ascii.h"

namespace qv {

struct BuiltinTldRow {
  std::string_view tld;
  std::string_view queryPrefix;
  std::string_view server;
  std::string_view tokenWhenFree;
};

struct BuiltinServerRow {
  std::string_view server;
  std::string_view removeLeftOf;
  std::string_view removeRightOf;
  std::string_view dateFormat;
};

// Searched from the top; the first matching row wins.
std::span<const BuiltinTldRow> BuiltinTldTable();
std::span<const BuiltinServerRow> BuiltinServerTable();

// The .com/.net registry answers under three host names and allows four
// connections at a time; the .org registry's three host names want 16 seconds
// between connections. Both compare without regard to case.
bool IsComNetRegistryHost(std::string_view host);
bool IsOrgRegistryHost(std::string_view host);


}  // namespace qv
