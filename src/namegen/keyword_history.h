// The history of main keywords, newest first, kept in the profile section
// "Name Gen Keyword" as "1" .. "Count".
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qv {

inline constexpr const char* kKeywordHistorySection = "Name Gen Keyword";
// The oldest entry is dropped only when more than this many are held before
// an insertion, so at most one more is ever kept.
inline constexpr std::size_t kKeywordHistoryCap = 100;

// Entries 1 .. Count, empty ones skipped.
std::vector<std::string> LoadKeywordHistory();
// Puts the keyword (trimmed of white space) at the top: an equal older entry
// is removed first, else the oldest when the list is over the cap. An empty
// keyword changes nothing. Returns the index the keyword is now at (0), or
// -1 when nothing changed.
int PushKeyword(std::vector<std::string>& history, std::string_view keyword);
// Writes the whole list back ("1" .. "N", then Count = N).
void SaveKeywordHistory(const std::vector<std::string>& history);

}  // namespace qv
