// Date placeholders in stored and typed queries. A query may say "[TODAY]",
// "[TODAY+30]" or "[TODAY-7]"; just before it runs these become concrete dates
// in the month/day/year order the query dialect expects between "#" signs.
#pragma once

#include <string>
#include <string_view>

#include "platform/date.h"

namespace qv {

// Line breaks and tabs become blanks, then "[TODAY]" becomes the date of `now`
// and every "[TODAY+n]" / "[TODAY-n]" the date n days later / earlier, written
// "mm/dd/yyyy". A placeholder with some other character after "[TODAY", or a
// "[TODAY" with no "]" after it, ends the replacement: the rest of the text
// stays as it is.
std::string SubstituteDates(std::string_view sql, const Date& now);
std::string SubstituteDates(std::string_view sql);

// What the list runs: every "%20" made one blank (queries passed around in
// web-address form), then the date placeholders replaced.
std::string ExpandQueryText(std::string_view sql, const Date& now);
std::string ExpandQueryText(std::string_view sql);

// "mm/dd/yyyy" of a valid date; "" otherwise.
std::string FormatQueryDate(const Date& date);

}  // namespace qv
