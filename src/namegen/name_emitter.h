// The last step of every generator: a candidate word is trimmed of the
// characters that cannot start or end a name and is joined to each chosen
// top-level domain in turn.
#pragma once

#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "store/name_text.h"

namespace qv {

// Trimmed from both ends of a candidate before it becomes a name.
inline constexpr std::string_view kCandidateTrim = "- \r\n\t:,;/\\";

std::string_view TrimCandidate(std::string_view word);

// Joins candidates to the top-level domains. A name longer than the adding
// step keeps (67 characters) is skipped and counted: cut short it would be
// a different name from the one the user asked for.
class NameEmitter {
 public:
  explicit NameEmitter(std::vector<std::string> tlds) : tlds_(std::move(tlds)) {}

  // Calls sink(name) for "word.tld" with each domain in order; nothing for
  // a word that trims to nothing.
  template <typename Sink>
  void Emit(std::string_view word, Sink&& sink) {
    word = TrimCandidate(word);
    if (word.empty()) return;
    for (const std::string& tld : tlds_) {
      const std::size_t size = word.size() + 1 + tld.size();
      if (name_.size() < size) name_.resize(size);
      char* out = name_.data();
      std::memcpy(out, word.data(), word.size());
      out[word.size()] = '.';
      std::memcpy(out + word.size() + 1, tld.data(), tld.size());
      const std::string_view name(out, size);
      if (Fits(name))
        sink(name);
      else
        ++tooLong_;
    }
  }

  const std::vector<std::string>& Tlds() const { return tlds_; }
  // Names skipped for being too long.
  std::size_t TooLong() const { return tooLong_; }

 private:
  // Cheap for the common short name; the cut counts UTF-8 characters.
  static bool Fits(std::string_view name) { return name.size() <= kMaxDomainNameLength || FitsLong(name); }
  static bool FitsLong(std::string_view name);

  std::vector<std::string> tlds_;
  std::string name_;  // the buffer names are built in
  std::size_t tooLong_ = 0;
};

// The message for names skipped as too long; "" when there were none.
std::string TooLongNamesText(std::size_t count);

}  // namespace qv
