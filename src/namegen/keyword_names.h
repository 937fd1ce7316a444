// Names from a keyword: the keyword padded with words of a word set, before
// it, after it, or one of each, with or without hyphens.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "namegen/name_emitter.h"

namespace qv {

struct KeywordOptions {
  bool allowHyphens = false;
  bool singlePadding = false;  // never a start and an end word together
  bool noPrefix = false;
  bool noSuffix = false;
};

struct KeywordNames {
  std::vector<std::string> names;
  std::size_t tooLong = 0;  // candidates left out for their length
};

// Every candidate in order: start word + keyword (and "s-k"), keyword + end
// word (and "k-e"), then start + keyword + end ("s-ke", "s-k-e", "sk-e"),
// each joined to every domain of `tlds` before the next candidate. The bare
// keyword is never a candidate; duplicates are kept; case stays as typed.
KeywordNames GenerateKeywordNames(std::string_view keyword, const std::vector<std::string>& startWords,
                                  const std::vector<std::string>& endWords,
                                  const KeywordOptions& options, std::vector<std::string> tlds);

}  // namespace qv
