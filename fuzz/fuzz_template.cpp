// Template arithmetic: the first line is a template, the next bytes a word
// number and an export range. Word number -> word -> word number must come
// back to the same number, the cursor's steps must give the words that
// follow, and the count and the export range must follow their rules.
#include <cstdlib>
#include <cstring>
#include <string>

#include "fuzz_support.h"
#include "namegen/name_template.h"

namespace {

std::string_view Alternatives(char c) {
  switch (c) {
    case '?': return "0123456789abcdefghijklmnopqrstuvwxyz";
    case '#': return "0123456789";
    case '&': return "abcdefghijklmnopqrstuvwxyz";
    default: return {};
  }
}

// The count as the template's characters give it, in 128 bits.
unsigned __int128 Count(std::string_view text) {
  unsigned __int128 count = 1;
  for (char c : text)
    if (!Alternatives(c).empty()) count = std::min<unsigned __int128>(count * Alternatives(c).size(), ~std::uint64_t(0));
  return count;
}

// Reads a word of the template back into its number; aborts when the word
// does not fit the template.
std::uint64_t IndexOf(std::string_view text, std::string_view word) {
  if (word.size() != text.size()) std::abort();
  std::uint64_t index = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const std::string_view alternatives = Alternatives(text[i]);
    if (alternatives.empty()) {
      if (word[i] != text[i]) std::abort();
      continue;
    }
    const std::size_t digit = alternatives.find(word[i]);
    if (digit == std::string_view::npos) std::abort();
    index = index * alternatives.size() + digit;
  }
  return index;
}

template <typename T>
T Take(std::string_view& bytes) {
  T value{};
  const std::size_t n = std::min(sizeof(T), bytes.size());
  std::memcpy(&value, bytes.data(), n);
  bytes.remove_prefix(n);
  return value;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view rest = qvfuzz::AsText(data, size);
  const std::string_view text = qvfuzz::TakeHead(rest, 128);
  const qv::NameTemplate tmpl(text);
  const unsigned __int128 count = Count(text);
  const std::uint64_t expected = count > qv::kSaturatedCount ? qv::kSaturatedCount : std::uint64_t(count);
  if (tmpl.Count() != expected) std::abort();
  if (qv::TemplateRefusal(tmpl).empty() != (tmpl.Count() <= qv::kMaxTemplateWords)) std::abort();

  const std::uint64_t raw = Take<std::uint64_t>(rest);
  // Below the count; any 64-bit number when the count does not fit 64 bits.
  const std::uint64_t index = tmpl.Count() == qv::kSaturatedCount ? raw : raw % tmpl.Count();
  const std::string word = tmpl.WordAt(index);
  if (IndexOf(text, word) != index) std::abort();

  // The cursor walks on from there, as an export does, wrapping after the
  // last word.
  qv::TemplateCursor cursor(tmpl, index);
  const unsigned steps = Take<std::uint8_t>(rest) % 64;
  for (unsigned k = 0; k <= steps; ++k) {
    unsigned __int128 at = (unsigned __int128)index + k;
    if (tmpl.Count() != qv::kSaturatedCount) at %= tmpl.Count();
    else if (at > qv::kSaturatedCount) break;  // past what 64 bits number
    if (cursor.Word() != tmpl.WordAt(std::uint64_t(at))) std::abort();
    cursor.Next();
  }

  const long long from = Take<long long>(rest), to = Take<long long>(rest);
  const qv::WordRange range = qv::ExportRange(from, to, tmpl.Count());
  if (range.end > tmpl.Count() || (to <= 0 && range.end != 0)) std::abort();
  if (from > 1 && range.first != std::uint64_t(from - 1)) std::abort();
  if (from <= 1 && range.first != 0) std::abort();
  return 0;
}
