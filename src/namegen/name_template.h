// Templates such as "???web": "?" stands for a digit or a letter ("0".."9",
// then "a".."z"), "#" for a digit, "&" for a letter, any other character for
// itself. The words of a template are numbered in order with the leftmost
// wildcard changing slowest (??web: 00web, 01web, ..., zzweb), and word i is
// computed from i alone, so no list of words is ever held: a count of the
// words made so far is all a generation needs to keep.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

// The most words one generation makes.
inline constexpr std::uint64_t kMaxTemplateWords = 700'000'000;
// A count too large for 64 bits is held as this.
inline constexpr std::uint64_t kSaturatedCount = std::numeric_limits<std::uint64_t>::max();

class NameTemplate {
 public:
  explicit NameTemplate(std::string_view text);

  const std::string& Text() const { return text_; }
  // How many words the template makes; kSaturatedCount when more than 64
  // bits hold (from 13 "?" on). 1 for a template without wildcards.
  std::uint64_t Count() const { return count_; }
  // The template's word number `index` (0-based, below Count()).
  std::string WordAt(std::uint64_t index) const;
  void WordAt(std::uint64_t index, std::string& word) const;

 private:
  friend class TemplateCursor;
  struct Slot {
    std::size_t pos;
    std::string_view alternatives;
  };
  std::string text_;
  std::vector<Slot> slots_;  // the wildcards, left to right
  std::uint64_t count_ = 1;
};

// The refusal of a template that makes more words than one generation may;
// "" when it is acceptable.
std::string TemplateRefusal(const NameTemplate& tmpl);

// Walks the words in order from a starting index; each step is O(1)
// amortised.
class TemplateCursor {
 public:
  TemplateCursor(const NameTemplate& tmpl, std::uint64_t first);
  const std::string& Word() const { return word_; }
  // Moves to the next word (after the last, back to the first).
  void Next();

 private:
  const NameTemplate& tmpl_;
  std::string word_;
  std::vector<std::uint8_t> digits_;  // one per wildcard
};

// Steps through the words of a template as a generation does, counting
// them, until the last word or until `abort` is set (looked at every few
// thousand words). `progress(done)` is called at most every 50 ms.
// Returns the number of words made; words 0 .. result-1 are then the
// generated list.
std::uint64_t WalkTemplate(const NameTemplate& tmpl, const std::atomic<bool>& abort,
                           const std::function<void(std::uint64_t done)>& progress = {});

// The 0-based word numbers an export covers: the 1-based range from..to
// (From 0 acts as From 1) cut to the `generated` words. first >= end when
// nothing is covered.
struct WordRange {
  std::uint64_t first = 0;
  std::uint64_t end = 0;
};
WordRange ExportRange(long long from, long long to, std::uint64_t generated);

}  // namespace qv
