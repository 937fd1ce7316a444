// Small byte-string helpers shared by availability detection and field
// extraction. Whois answers are bytes; case changes touch ASCII letters only,
// so UTF-8 sequences pass through unchanged.
#pragma once

#include <string>
#include <string_view>

namespace qv::fieldtext {

inline bool Contains(std::string_view text, std::string_view part) {
  return text.find(part) != std::string_view::npos;
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

inline std::string ToLowerAscii(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
  return out;
}

inline std::string ToUpperAscii(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
  return out;
}

inline bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = char(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = char(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

}  // namespace qv::fieldtext
