// The thirteen fields read out of a whois answer, each with the identifier the
// program uses for it and the value name under which a server's own token list
// is stored in that server's section of the whois directory.
#pragma once

#include <array>
#include <string_view>

namespace qv {

struct TokenKey {
  std::string_view identifier;
  std::string_view settingsKey;
};

inline constexpr std::array<TokenKey, 13> kTokenKeys{{
    {"EXPIRYDATETOKEN", "Expiry Date Tokens"},
    {"UPDATEDATETOKEN", "Updated Date Tokens"},
    {"REGISTRARNAMETOKEN", "Registrar Name Tokens"},
    {"DOMSTATUSTOKEN", "Domain Status Tokens"},
    {"WHOISSERVERTOKEN", "Domain Whois Server Tokens"},
    {"NAMESERVERTOKEN", "Name Server Tokens"},
    {"CREATEDDATETOKEN", "Creation Date Tokens"},
    {"DOMIDTOKEN", "Domain ID Tokens"},
    {"ADMINEMAILTOKEN", "Admin Contact Email Tokens"},
    {"TECHEMAILTOKEN", "Tech Contact Email Tokens"},
    {"OWNEREMAILTOKEN", "Owner Contact Email Tokens"},
    {"BILLINGEMAILTOKEN", "Billing Contact Email Tokens"},
    {"OWNERNAMETOKEN", "Owner Name Tokens"},
}};

// The settings key of a field identifier; empty for any other identifier.
constexpr std::string_view TokenKeyOf(std::string_view identifier) {
  for (const TokenKey& k : kTokenKeys)
    if (k.identifier == identifier) return k.settingsKey;
  return {};
}

}  // namespace qv
