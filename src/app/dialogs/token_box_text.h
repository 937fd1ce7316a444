// How a field's token list reads in the "Whois Output Data Tokens" box: one
// token per line. The store keeps the tokens joined by "|", and a line feed
// inside a token is written "{lf}" in both places.
#pragma once

#include <string>
#include <string_view>

namespace qv {

// The stored list ("Expires:|Expiry date") as the box shows it, one token a
// line ("Expires:\nExpiry date").
std::string TokenBoxText(std::string_view storedList);

// What confirming the box stores: its lines (carriage returns dropped)
// joined by "|", lines that hold nothing at all left out, and blanks, bars
// and line breaks trimmed from the end. An empty box stores an empty list,
// which lets the generic tokens apply.
std::string StoredTokenList(std::string_view boxText);

// The built-in list of a field's settings key as box text, each line feed
// inside a label written "{lf}" so that it survives the round trip.
std::string GenericTokenBoxText(std::string_view settingsKey);

}  // namespace qv
