#include "namegen/keyword_names.h"

namespace qv {

KeywordNames GenerateKeywordNames(std::string_view keyword, const std::vector<std::string>& startWords,
                                  const std::vector<std::string>& endWords,
                                  const KeywordOptions& options, std::vector<std::string> tlds) {
  KeywordNames result;
  NameEmitter emitter(std::move(tlds));
  const std::string k(keyword);
  auto emit = [&](const std::string& candidate) {
    emitter.Emit(candidate, [&](std::string_view name) { result.names.emplace_back(name); });
  };
  const bool hyphens = options.allowHyphens;
  if (!options.noPrefix) {
    for (const std::string& s : startWords) {
      emit(s + k);
      if (hyphens) emit(s + "-" + k);
    }
  }
  if (!options.noSuffix) {
    for (const std::string& e : endWords) {
      emit(k + e);
      if (hyphens) emit(k + "-" + e);
    }
  }
  if (!options.singlePadding) {
    for (const std::string& s : startWords) {
      for (const std::string& e : endWords) {
        emit(s + k + e);
        if (!hyphens) continue;
        emit(s + "-" + k + e);
        emit(s + "-" + k + "-" + e);
        emit(s + k + "-" + e);
      }
    }
  }
  result.tooLong = emitter.TooLong();
  return result;
}

}  // namespace qv
