// The settings that change what the list's cells say: the expiry highlight
// days, the tagged e-mail list, the highlight of important names and the
// registrar aliases.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qv {

// "Expiry Date Highlight" (section Settings, default 30, dialog range 1..180).
inline constexpr const char* kExpiryHighlightKey = "Expiry Date Highlight";
inline constexpr int kExpiryHighlightDefault = 30;
inline constexpr int kExpiryHighlightMin = 1;
inline constexpr int kExpiryHighlightMax = 180;
// "Highlight Important Domains" (section Settings, default 0).
inline constexpr const char* kHighlightImportantKey = "Highlight Important Domains";
// The group whose members are highlighted.
inline constexpr const char* kImportantGroupCode = "*HIVALUEDOMAINS";
// Registrar aliases: section "Registrar Alias", key = registrar, value = alias.
inline constexpr const char* kRegistrarAliasSection = "Registrar Alias";
// The tagged e-mail list: section "Tagged Email List", "Size" and "Email-%d".
inline constexpr const char* kTaggedEmailSection = "Tagged Email List";

// The expiry highlight days, one value for the whole run: read from the
// settings on first use, changed by the "Expiry Date Display" dialog.
int ExpiryHighlightDays();
void SetExpiryHighlightDays(int days);  // stores the setting too
// Reads the setting again (the dialog's "OK", tests).
void ReloadExpiryHighlightDays();

bool HighlightImportantDomains();

// The registrar's alias, the registrar itself when it has none, "" for an
// empty registrar.
std::string GetRegistrarAlias(std::string_view registrar);
// Stores the alias; an empty alias, or the registrar's own name in any
// capitals, removes it.
void SetRegistrarAlias(std::string_view registrar, std::string_view alias);
// The settings key of a registrar name from whois: "%", "/" and "\" are
// escaped, so that no name reaches into another key or section.
std::string RegistrarAliasKey(std::string_view registrar);

// The user's own management addresses, kept between runs.
std::vector<std::string> TaggedEmailList();
void StoreTaggedEmailList(const std::vector<std::string>& addresses);
// The dialog's text turned into addresses: split at line ends, each line
// trimmed, empty lines dropped.
std::vector<std::string> SplitTaggedEmailText(std::string_view text);

}  // namespace qv
