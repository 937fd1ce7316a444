// The invalid-address list: addresses that a wildcard-answering registry or
// resolver gives for names that are not registered. A minimum whois lookup
// treats a name that resolves only to one of them as not resolving.
//
// Kept in the whois setup store, section "Invalid IP List": "Size" and the
// entries "1" to "Size" in order.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qv {

inline constexpr const char* kInvalidIpSection = "Invalid IP List";
inline constexpr const char* kInvalidIpSizeKey = "Size";
// Where the list's text is cut into entries.
inline constexpr std::string_view kInvalidIpSeparators = " \r\n\t,;";

class InvalidIpList {
 public:
  // Reads the stored list ("Size" entries; empty ones are skipped).
  static InvalidIpList Load();
  // Writes "Size" and the numbered entries; older entries beyond the new
  // size are removed.
  void Save() const;

  // Adds an entry unless an equal one (without regard to case) is listed.
  bool Add(std::string_view address);
  bool Contains(std::string_view address) const;
  void Clear() { entries_.clear(); }
  const std::vector<std::string>& Entries() const { return entries_; }

  // Empties the list and refills it from text cut at the separators; empty
  // pieces and repeated ones are dropped.
  void SetFromText(std::string_view text);
  // The entries joined by CR LF, as the list's dialog shows them.
  std::string Text() const;

 private:
  std::vector<std::string> entries_;
};

}  // namespace qv
