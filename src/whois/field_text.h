// Small byte-string helpers shared by availability detection and field
// extraction (case rules are in platform/ascii.h).
#pragma once

#include <cstring>
#include <string>
#include <string_view>

namespace qv::fieldtext {

// The first occurrence of `part` in `text` at or after `from`; npos when
// none. Labels are searched in every answer many times over, so the C
// library's substring search is used where it has one.
inline std::size_t Find(std::string_view text, std::string_view part, std::size_t from = 0) {
#if defined(__GLIBC__)
  if (from > text.size()) return std::string_view::npos;
  if (part.empty()) return from;
  const void* hit = ::memmem(text.data() + from, text.size() - from, part.data(), part.size());
  return hit ? std::size_t(static_cast<const char*>(hit) - text.data()) : std::string_view::npos;
#else
  return text.find(part, from);
#endif
}

inline bool Contains(std::string_view text, std::string_view part) {
  return Find(text, part) != std::string_view::npos;
}

inline std::string_view TrimLeft(std::string_view s, std::string_view set) {
  const std::size_t b = s.find_first_not_of(set);
  return b == std::string_view::npos ? std::string_view() : s.substr(b);
}

inline std::string_view TrimRight(std::string_view s, std::string_view set) {
  const std::size_t e = s.find_last_not_of(set);
  return e == std::string_view::npos ? std::string_view() : s.substr(0, e + 1);
}

inline std::string_view Trim(std::string_view s, std::string_view set) {
  return TrimRight(TrimLeft(s, set), set);
}

}  // namespace qv::fieldtext
