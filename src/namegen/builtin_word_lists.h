// The word lists the program ships, one per topic, and the names of every
// word set the keyword dialog offers.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

// The word-set names in their stored order (the dialog shows them sorted).
const std::vector<std::string>& WordSetNames();

// The shipped list of a set (matched without regard to case) as file text,
// entries ended by CR LF; nothing for a set without one ("adult", "custom",
// a name the program does not know).
std::optional<std::string> BuiltinWordList(std::string_view setName);

}  // namespace qv
