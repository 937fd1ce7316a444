#include "namegen/name_template.h"

#include <chrono>

namespace qv {
namespace {

constexpr std::string_view kDigitsLetters = "0123456789abcdefghijklmnopqrstuvwxyz";
constexpr std::string_view kDigits = "0123456789";
constexpr std::string_view kLetters = "abcdefghijklmnopqrstuvwxyz";

std::string_view AlternativesOf(char c) {
  switch (c) {
    case '?': return kDigitsLetters;
    case '#': return kDigits;
    case '&': return kLetters;
    default: return {};
  }
}

std::uint64_t SaturatingProduct(std::uint64_t a, std::uint64_t b) {
  std::uint64_t product = 0;
  return __builtin_mul_overflow(a, b, &product) ? kSaturatedCount : product;
}

std::string WithThousands(std::uint64_t n) {
  std::string digits = std::to_string(n);
  for (int i = int(digits.size()) - 3; i > 0; i -= 3) digits.insert(std::size_t(i), ",");
  return digits;
}

}  // namespace

NameTemplate::NameTemplate(std::string_view text) : text_(text) {
  for (std::size_t i = 0; i < text_.size(); ++i) {
    const std::string_view alternatives = AlternativesOf(text_[i]);
    if (alternatives.empty()) continue;
    slots_.push_back({i, alternatives});
    count_ = SaturatingProduct(count_, alternatives.size());
  }
}

void NameTemplate::WordAt(std::uint64_t index, std::string& word) const {
  word = text_;
  // Mixed radix, the rightmost wildcard the lowest digit.
  for (auto slot = slots_.rbegin(); slot != slots_.rend(); ++slot) {
    const std::uint64_t base = slot->alternatives.size();
    word[slot->pos] = slot->alternatives[std::size_t(index % base)];
    index /= base;
  }
}

std::string NameTemplate::WordAt(std::uint64_t index) const {
  std::string word;
  WordAt(index, word);
  return word;
}

std::string TemplateRefusal(const NameTemplate& tmpl) {
  if (tmpl.Count() <= kMaxTemplateWords) return {};
  const std::string count = tmpl.Count() == kSaturatedCount
                                ? std::string("more than 18,446,744,073,709,551,615")
                                : WithThousands(tmpl.Count());
  return "This template makes " + count + " words.\r\nAt most " + WithThousands(kMaxTemplateWords) +
         " words can be generated at a time; please use fewer wildcards.";
}

TemplateCursor::TemplateCursor(const NameTemplate& tmpl, std::uint64_t first)
    : tmpl_(tmpl), digits_(tmpl.slots_.size()) {
  tmpl.WordAt(first, word_);
  for (std::size_t i = digits_.size(); i-- > 0;) {
    const std::uint64_t base = tmpl.slots_[i].alternatives.size();
    digits_[i] = std::uint8_t(first % base);
    first /= base;
  }
}

void TemplateCursor::Next() {
  for (std::size_t i = digits_.size(); i-- > 0;) {
    const NameTemplate::Slot& slot = tmpl_.slots_[i];
    if (++digits_[i] < slot.alternatives.size()) {
      word_[slot.pos] = slot.alternatives[digits_[i]];
      return;
    }
    digits_[i] = 0;
    word_[slot.pos] = slot.alternatives[0];
  }
}

std::uint64_t WalkTemplate(const NameTemplate& tmpl, const std::atomic<bool>& abort,
                           const std::function<void(std::uint64_t done)>& progress) {
  using Clock = std::chrono::steady_clock;
  constexpr std::uint64_t kStride = 1 << 16;  // words between looks at abort and the clock
  constexpr auto kProgressEvery = std::chrono::milliseconds(50);
  const std::uint64_t total = tmpl.Count();
  TemplateCursor cursor(tmpl, 0);
  std::uint64_t done = 0;
  Clock::time_point lastReport = Clock::now();
  while (done < total) {
    if (abort.load(std::memory_order_relaxed)) break;
    const std::uint64_t stop = std::min(total, done + kStride);
    for (; done < stop; ++done) cursor.Next();
    if (progress && Clock::now() - lastReport >= kProgressEvery) {
      lastReport = Clock::now();
      progress(done);
    }
  }
  return done;
}

WordRange ExportRange(long long from, long long to, std::uint64_t generated) {
  WordRange range;
  range.first = from > 1 ? std::uint64_t(from - 1) : 0;
  range.end = to > 0 ? std::min(std::uint64_t(to), generated) : 0;
  return range;
}

}  // namespace qv
