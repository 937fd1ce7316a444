#include "namegen/name_emitter.h"


namespace qv {

namespace {

struct TrimTable {
  bool trimmed[256] = {};
  constexpr TrimTable() {
    for (char c : kCandidateTrim) trimmed[static_cast<unsigned char>(c)] = true;
  }
};
constexpr TrimTable kTrim;

bool Trimmed(char c) { return kTrim.trimmed[static_cast<unsigned char>(c)]; }

}  // namespace

std::string_view TrimCandidate(std::string_view word) {
  std::size_t first = 0, end = word.size();
  while (first < end && Trimmed(word[first])) ++first;
  while (end > first && Trimmed(word[end - 1])) --end;
  return word.substr(first, end - first);
}

bool NameEmitter::FitsLong(std::string_view name) { return DomainNameLength(name) <= kMaxDomainNameLength; }

std::string TooLongNamesText(std::size_t count) {
  if (count == 0) return {};
  return std::to_string(count) + " names were longer than " +
         std::to_string(kMaxDomainNameLength) + " characters and were left out.";
}

}  // namespace qv
