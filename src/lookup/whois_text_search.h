// The whois text search: texts the user looks for in the kept whois answers
// (a registrar's name, a status, a phrase of an expiry notice), to pick out
// the names whose answer holds one of them. Kept in the setting
// `Whois Search String` as texts joined by "|", with "{lf}" for a line feed.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qv {

inline constexpr const char* kWhoisSearchStringKey = "Whois Search String";

// The texts of a stored search string: split at "|", "{lf}" made a line
// feed, empty texts left out.
std::vector<std::string> ParseWhoisSearchString(std::string_view stored);
// The stored form of texts (each holding no "|").
std::string JoinWhoisSearchTexts(const std::vector<std::string>& texts);

std::vector<std::string> WhoisSearchTexts();  // from the settings
void StoreWhoisSearchTexts(const std::vector<std::string>& texts);

// True when the answer holds one of the texts, compared without regard to
// the case of ASCII letters.
bool WhoisTextMatches(std::string_view answer, const std::vector<std::string>& texts);

}  // namespace qv
