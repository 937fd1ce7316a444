// Host names as the network wants them: the ASCII form of an international
// name (its A-labels) and the letters-digits-hyphens rule for labels.
#pragma once

#include <string>
#include <string_view>

namespace qv {

// The longest label of a host name, in bytes of its ASCII form.
inline constexpr std::size_t kMaxHostLabelLength = 63;

// The name with every label in ASCII ("münchen.de" gives "xn--mnchen-3ya.de").
// An ASCII name comes back unchanged; a name that cannot be converted (bytes
// that are not UTF-8, characters no label may hold) gives "".
std::string AceHostName(std::string_view name);

// The name with its A-labels ("xn--...") in Unicode ("xn--mnchen-3ya.de"
// gives "münchen.de"), in UTF-8; "" when it has none or one is not a valid
// A-label.
std::string UnicodeHostName(std::string_view name);

// The other form of an international name: the ASCII form of a name in
// Unicode, the Unicode form of one with A-labels; "" for any other name.
std::string OtherIdnForm(std::string_view name);

// True when an ASCII name has at least `minLabels` labels, each 1 to 63 of
// letters, digits and hyphens, none starting or ending with a hyphen.
bool IsAsciiHostName(std::string_view name, int minLabels = 2);

}  // namespace qv
