// What the trademark search reads and writes on the search site: the search
// term of a name, the login and search addresses, the state token a login
// page hands out, the session-expired mark and the record count of a result
// page. Pure text functions; trademark_search.h runs the requests.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qv {

// The login request; its page links to searches with "...&state=<token>".
inline constexpr const char* kTessLoginPath = "/bin/gate.exe?f=login&p_lang=english&p_d=trmk";
inline constexpr const char* kTessStateMark = "/bin/gate.exe?f=searchss&state=";
inline constexpr const char* kTessExpiredMark = "This search session has expired";
// Result lists of this many records are asked for.
inline constexpr int kTessRecordsPerPage = 100;

// The public search page the user's browser opens for a name.
inline constexpr const char* kPublicTrademarkSearchUrl = "https://tmsearch.uspto.gov/search/search-results";
inline constexpr const char* kPublicTrademarkHomeUrl = "https://tmsearch.uspto.gov/search/search-information";

// The name's text before its first "." (a dot in the first place does not
// count; the whole name when there is no other), with every "?" written
// "%3F".
std::string TrademarkSearchTerm(std::string_view name);

// The site's base address from the `Tess Host` setting: "host", "host:port"
// or a whole "http(s)://host[:port]" address (a final "/" dropped). Empty
// when the setting is empty or names no host.
std::string TessBaseUrl(std::string_view hostSetting);
std::string TessLoginUrl(std::string_view base);
std::string TessSearchUrl(std::string_view base, std::string_view term, std::string_view state);

// The token after the state mark up to the next double quote; nullopt when
// the page has no state mark (an empty token counts as none).
std::optional<std::string> TessStateToken(std::string_view page);
bool TessSessionExpired(std::string_view page);
// The number of records a result page reports; nullopt when the page
// carries none of the marks.
std::optional<std::int32_t> TrademarkRecordCount(std::string_view page);

// "https://tmsearch.uspto.gov/search/search-results?query=<term>" with the
// name's search term (without the "%3F" rule: the term is percent-encoded
// as a whole); the search page itself for an empty name.
std::string PublicTrademarkSearchUrl(std::string_view name);

}  // namespace qv
