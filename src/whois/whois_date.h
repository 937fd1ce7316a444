// Dates as whois servers write them, and the program's few ways of writing
// dates back as text.
//
// Servers print dates in every shape (2007-01-15, 15-jan-2007, 01/15/07,
// 20070115, "Tue Jan 15 2007", ISO date-times with fractions and offsets).
// ParseWhoisDate reads them without a per-server template, from the numbers'
// ranges and the month names; the one thing ranges cannot settle, day before
// month or month before day, comes from the server's date order, which an
// unambiguous date also teaches.
#pragma once

#include <string>
#include <string_view>

#include "platform/date.h"

namespace qv {

// Day/month orders a server can use; an empty order means "not known yet".
inline constexpr const char* kDayFirst = "ddmm";
inline constexpr const char* kMonthFirst = "mmdd";

// Parses a whois date. On success `date` holds the date at 00:00:00 and the
// result is true; on failure `date` is null. `dateOrder` ("ddmm", "mmdd" or
// empty) settles ambiguous numeric dates and is set when the text itself shows
// the order (a day above 12 next to a month).
bool ParseWhoisDate(std::string_view text, std::string& dateOrder, Date& date);

// The date alone in the user's short date format; "-" when the date is null,
// invalid, or in 1970 or earlier.
std::string DateText(const Date& date);
// Date and time of day in the user's short formats, joined by a blank; "-"
// under the same condition as DateText.
std::string DateTimeText(const Date& date);

// How long ago `date` was: "%d d", "%d h" or "%d min" (withClock false), or
// DateText followed by " HH:MM" (withClock true).
std::string ElapsedText(const Date& date, bool withClock);
// The same, measured against a given "now" (used by tests).
std::string ElapsedText(const Date& date, bool withClock, const Date& now);

// The text the date editor writes for a picked day: "MM/DD/YYYY".
std::string DateEditorText(int year, int month, int day);

}  // namespace qv
