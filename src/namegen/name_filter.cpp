#include "namegen/name_filter.h"

#include <algorithm>

#include "platform/ascii.h"
#include "store/name_text.h"

namespace qv {
namespace {

constexpr std::string_view kFieldSeparators = "\r\n;\t, ";
constexpr std::size_t kProgressStride = 1 << 14;

bool StartsWithNoCase(std::string_view text, std::string_view lowerWord) {
  if (lowerWord.size() > text.size()) return false;
  for (std::size_t i = 0; i < lowerWord.size(); ++i)
    if (LowerAscii(text[i]) != lowerWord[i]) return false;
  return true;
}

bool EndsWithNoCase(std::string_view text, std::string_view lowerWord) {
  return lowerWord.size() <= text.size() &&
         StartsWithNoCase(text.substr(text.size() - lowerWord.size()), lowerWord);
}

std::vector<std::string> LowerWords(std::string_view field) {
  std::vector<std::string> words = SplitFilterWords(field);
  for (std::string& w : words) w = ToLowerAscii(w);
  return words;
}

std::string TldSuffix(std::string_view field) {
  const std::size_t first = field.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  std::string suffix = ToLowerAscii(field.substr(first, field.find_last_not_of(" \t") - first + 1));
  if (suffix.front() != '.') suffix.insert(suffix.begin(), '.');
  return suffix;
}

// Runs `matches` over every name, with progress; the rows that match.
template <typename Matches>
std::vector<std::size_t> Collect(const std::vector<std::string>& names, const FilterProgress& progress,
                                 Matches&& matches) {
  std::vector<std::size_t> rows;
  for (std::size_t row = 0; row < names.size(); ++row) {
    if (progress && row % kProgressStride == 0 && !progress(row, names.size())) break;
    if (matches(std::string_view(names[row]))) rows.push_back(row);
  }
  return rows;
}

}  // namespace

std::vector<std::string> SplitFilterWords(std::string_view field) {
  std::vector<std::string> words;
  std::size_t pos = 0;
  while (pos < field.size()) {
    std::size_t end = field.find_first_of(kFieldSeparators, pos);
    if (end == std::string_view::npos) end = field.size();
    if (end > pos) words.emplace_back(field.substr(pos, end - pos));
    pos = end + 1;
  }
  return words;
}

std::string_view NamePart(std::string_view name) {
  const std::size_t dot = name.find('.');
  return dot == std::string_view::npos || dot == 0 ? name : name.substr(0, dot);
}

bool FilterApplies(const NameFilter& filter) {
  if (filter.kind == FilterKind::Chars) return !filter.text.empty();
  if (filter.kind == FilterKind::Tld) return !TldSuffix(filter.text).empty();
  return true;
}

std::vector<std::size_t> MatchingRows(const std::vector<std::string>& names, const NameFilter& filter,
                                      const FilterProgress& progress) {
  if (!FilterApplies(filter)) return {};
  switch (filter.kind) {
    case FilterKind::StartWords: {
      const std::vector<std::string> words = LowerWords(filter.text);
      return Collect(names, progress, [&](std::string_view name) {
        return std::any_of(words.begin(), words.end(),
                           [&](const std::string& w) { return StartsWithNoCase(name, w); });
      });
    }
    case FilterKind::EndWords: {
      const std::vector<std::string> words = LowerWords(filter.text);
      return Collect(names, progress, [&](std::string_view name) {
        const std::string_view part = NamePart(name);
        return std::any_of(words.begin(), words.end(),
                           [&](const std::string& w) { return EndsWithNoCase(part, w); });
      });
    }
    case FilterKind::MiddleWords: {
      const std::vector<std::string> words = LowerWords(filter.text);
      std::string lower;
      return Collect(names, progress, [&](std::string_view name) {
        const std::string_view part = NamePart(name);
        lower.resize(part.size());
        std::transform(part.begin(), part.end(), lower.begin(), LowerAscii);
        return std::any_of(words.begin(), words.end(),
                           [&](const std::string& w) { return lower.find(w) != std::string::npos; });
      });
    }
    case FilterKind::Chars: {
      bool wanted[256] = {};
      for (char c : filter.text) wanted[static_cast<unsigned char>(LowerAscii(c))] = true;
      return Collect(names, progress, [&](std::string_view name) {
        for (char c : NamePart(name))
          if (wanted[static_cast<unsigned char>(LowerAscii(c))]) return true;
        return false;
      });
    }
    case FilterKind::LongerThan:
      return Collect(names, progress, [&](std::string_view name) {
        return filter.bound < 0 || name.size() > std::size_t(filter.bound);
      });
    case FilterKind::ShorterThan:
      return Collect(names, progress, [&](std::string_view name) {
        return filter.bound > 0 && name.size() < std::size_t(filter.bound);
      });
    case FilterKind::Tld: {
      const std::string suffix = TldSuffix(filter.text);
      return Collect(names, progress,
                     [&](std::string_view name) { return EndsWithNoCase(name, suffix); });
    }
  }
  return {};
}

void AppendNamesFromText(std::vector<std::string>& names, std::string_view text,
                         const FilterProgress& progress) {
  for (std::string_view piece : SplitIntoPieces(text)) {
    ForEachName(piece, [&names](std::string_view name) { names.emplace_back(name); });
    const std::size_t done = std::size_t(piece.data() + piece.size() - text.data());
    if (progress && !progress(done, text.size())) break;
  }
}

void DeleteRows(std::vector<std::string>& names, const std::vector<bool>& selected) {
  std::size_t kept = 0;
  for (std::size_t row = 0; row < names.size(); ++row) {
    if (row < selected.size() && selected[row]) continue;
    if (kept != row) names[kept] = std::move(names[row]);
    ++kept;
  }
  names.resize(kept);
}

std::size_t GroupRows(std::vector<std::string>& names, const std::vector<bool>& selected) {
  std::vector<std::string> grouped;
  std::vector<std::string> rest;
  for (std::size_t row = 0; row < names.size(); ++row)
    (row < selected.size() && selected[row] ? grouped : rest).push_back(std::move(names[row]));
  const std::size_t moved = grouped.size();
  names.clear();
  names.reserve(moved + rest.size());
  std::move(grouped.rbegin(), grouped.rend(), std::back_inserter(names));
  std::move(rest.begin(), rest.end(), std::back_inserter(names));
  return moved;
}

void StripTlds(std::vector<std::string>& names) {
  for (std::string& name : names) {
    const std::size_t dot = name.find('.');
    if (dot != std::string::npos) name.resize(dot);
  }
}

}  // namespace qv
