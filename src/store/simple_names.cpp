#include "store/simple_names.h"

namespace qv {
namespace {

std::string_view Trim(std::string_view s, std::string_view chars) {
  const std::size_t first = s.find_first_not_of(chars);
  if (first == std::string_view::npos) return {};
  const std::size_t last = s.find_last_not_of(chars);
  return s.substr(first, last - first + 1);
}

}  // namespace

std::vector<std::string> MakeSimpleDomainNames(std::string_view text,
                                               const std::vector<std::string>& topLevelDomains) {
  std::vector<std::string> names;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = text.find_first_of(kWordSeparators, pos);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view word = Trim(text.substr(pos, end - pos), ".");
    pos = end + 1;
    if (word.empty()) continue;
    if (word.find('.') != std::string_view::npos) {
      names.emplace_back(word);
      continue;
    }
    const std::string_view bare = Trim(word, "- \r\n\t:,;/\\");
    if (bare.empty()) continue;
    for (const std::string& tld : topLevelDomains) {
      std::string name(bare);
      name += '.';
      name += tld;
      names.push_back(std::move(name));
    }
  }
  return names;
}

bool IsQualifiedName(std::string_view name) {
  return name.size() > 1 && name.find('.', 1) != std::string_view::npos;
}

QualifiedSplit SplitQualifiedNames(const std::vector<std::string>& names) {
  QualifiedSplit split;
  for (const std::string& n : names) (IsQualifiedName(n) ? split.qualified : split.bare).push_back(n);
  return split;
}

}  // namespace qv
