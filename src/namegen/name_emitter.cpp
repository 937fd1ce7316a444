#include "namegen/name_emitter.h"

#include "store/name_text.h"

namespace qv {

std::string_view TrimCandidate(std::string_view word) {
  const std::size_t first = word.find_first_not_of(kCandidateTrim);
  if (first == std::string_view::npos) return {};
  return word.substr(first, word.find_last_not_of(kCandidateTrim) - first + 1);
}

bool NameEmitter::Fits(std::string_view name) {
  // Cheap for the common short name; the cut counts UTF-8 characters.
  return name.size() <= kMaxDomainNameLength || CutDomainName(name).size() == name.size();
}

std::string TooLongNamesText(std::size_t count) {
  if (count == 0) return {};
  return std::to_string(count) + " names were longer than " +
         std::to_string(kMaxDomainNameLength) + " characters and were left out.";
}

}  // namespace qv
