#include "store/name_text.h"

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

std::string_view CutDomainName(std::string_view name) {
  if (name.size() <= kMaxDomainNameLength) return name;
  if (!IsValidUtf8(name)) return name.substr(0, kMaxDomainNameLength);
  std::size_t chars = 0;
  for (std::size_t i = 0; i < name.size(); ++i) {
    if ((static_cast<unsigned char>(name[i]) & 0xC0) == 0x80) continue;  // continuation byte
    if (chars == kMaxDomainNameLength) return name.substr(0, i);
    ++chars;
  }
  return name;
}

bool IsStorableName(std::string_view name) {
  for (char c : name) {
    const auto b = static_cast<unsigned char>(c);
    if (b < 0x20 || b == 0x7F || c == '/' || c == '\\') return false;
  }
  return true;
}

}  // namespace qv
