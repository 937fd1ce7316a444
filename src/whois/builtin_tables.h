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

// Labels of one server for one field, written as a server's stored list is
// ("|" between labels, "{lf}" for a line feed). They serve where a label of
// the generic list would find the wrong line in that server's answers, or
// where the label is too short to be safe for every server.
struct BuiltinServerTokensRow {
  std::string_view server;
  std::string_view settingsKey;
  std::string_view tokens;
};

// Searched from the top; the first matching row wins.
std::span<const BuiltinTldRow> BuiltinTldTable();
std::span<const BuiltinServerRow> BuiltinServerTable();
std::span<const BuiltinServerTokensRow> BuiltinServerTokensTable();

// The built-in labels of a server for a field's settings key; empty when the
// table has none. Host compared without regard to case.
std::string_view BuiltinServerTokens(std::string_view server, std::string_view settingsKey);

// The .com/.net registry answers under three host names and allows four
// connections at a time; the .org registry's three host names want 16 seconds
// between connections. Both compare without regard to case.
bool IsComNetRegistryHost(std::string_view host);
bool IsOrgRegistryHost(std::string_view host);


}  // namespace qv
