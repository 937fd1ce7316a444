// What every fuzz target shares: a private settings store and data folder,
// so a target that reads or writes settings never touches the user's own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace qvfuzz {

// Points the settings store and the data folder at a new temporary folder
// (removed when the process ends) and returns it. Idempotent.
const std::string& PrivateFolders();

// The input as text.
inline std::string_view AsText(const std::uint8_t* data, std::size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

// Splits off the first line (at most `maxHead` bytes, without its line feed);
// `text` keeps what follows. No line feed within `maxHead`: the head is empty
// and `text` is unchanged.
std::string_view TakeHead(std::string_view& text, std::size_t maxHead);

}  // namespace qvfuzz
