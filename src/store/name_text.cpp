#include "store/name_text.h"

#include "platform/host_name.h"
#include "platform/text.h"

namespace qv {

std::vector<std::string_view> SplitIntoPieces(std::string_view text) {
  std::vector<std::string_view> pieces;
  while (text.size() > kNamePieceSize) {
    const std::size_t cut = text.find_first_of(kNameSeparators, kNamePieceSize);
    if (cut == std::string_view::npos) break;  // the rest is one name-run
    pieces.push_back(text.substr(0, cut));
    text.remove_prefix(cut + 1);
  }
  if (!text.empty()) pieces.push_back(text);
  return pieces;
}

std::vector<std::string> SplitNames(std::string_view piece) {
  std::vector<std::string> names;
  ForEachName(piece, [&](std::string_view name) { names.emplace_back(name); });
  return names;
}

std::size_t DomainNameLength(std::string_view text) {
  if (!IsValidUtf8(text)) return text.size();
  std::size_t chars = 0;
  for (char c : text)
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++chars;
  return chars;
}

std::optional<std::string_view> StorableDomainName(std::string_view text) {
  if (text.ends_with('.')) text.remove_suffix(1);
  if (text.empty() || DomainNameLength(text) > kMaxDomainNameLength) return std::nullopt;
  if (!IsAsciiHostName(AceHostName(text))) return std::nullopt;
  return text;
}

}  // namespace qv
