// The one-line answer of the .uk domain availability checker (DAC) and the
// readable text the program makes of it.
//
// A DAC answer's first line holds comma-separated fields: two when the name is
// not registered (name, flag), seven when it is (name, registered, detagged,
// suspended, registration date, renewal date, status code). Dates are
// month-first; flags and the status are one-letter codes.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace qv {

// The labelled text for a DAC answer, or nothing when the text is not one
// (no line break, empty first line, or a field count other than 2 or 7).
std::optional<std::string> ExpandedDacText(std::string_view text);

// Spells out the one-letter codes that stand alone between ": " and a CRLF
// ("Registered: Y" -> "Registered: Yes", "Registration status: 2" ->
// "Registration status: Registered until expiry date").
void SpellOutDacCodes(std::string& text);

// "%d-%B-%Y" of a DAC date: "11-June-2020"; the text unchanged when it is not
// a month-first date.
std::string DacDateText(std::string_view field);

}  // namespace qv
