// The text rules the RDAP reader applies to the strings of an answer, on UTF-8
// bytes: blanks trimmed and case ignored as Qt's QString does it (Unicode
// white space, Unicode case folding). Most values are plain ASCII and are
// handled byte by byte; any other value goes through QString, so both kinds
// come out exactly as Qt would make them.
#pragma once

#include <string>
#include <string_view>

namespace qv::rdaptext {

// The text without white space at either end.
std::string Trimmed(std::string_view text);

// The text in lower case (not trimmed).
std::string Lower(std::string_view text);

// A vCard e-mail value as an address: without a leading "mailto:", trimmed,
// in lower case.
std::string EmailAddress(std::string_view text);

// True when the trimmed text equals `ascii`, case ignored.
bool SameText(std::string_view text, std::string_view ascii);

// True when the text starts with `ascii`, case ignored.
bool StartsWithNoCase(std::string_view text, std::string_view ascii);

}  // namespace qv::rdaptext
