// The built-in label lists: for each field, the texts that whois servers put
// in front of its value, tried in order. A label that begins with a line feed
// matches only at the start of a line; blanks inside labels count. A server's
// own list (stored under the same key) is tried before these.
#pragma once

#include <string_view>
#include <vector>

namespace qv {

// The built-in list for a field's settings key ("Expiry Date Tokens"); empty
// for any other key.
const std::vector<std::string_view>& GenericTokens(std::string_view settingsKey);

}  // namespace qv
