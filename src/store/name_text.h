// How text becomes names before anything is stored: the separators between
// names, the pieces a long text is handled in, and which names may be stored.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

// Characters that separate names in a text of names.
inline constexpr std::string_view kNameSeparators = "\r\n ;\t";
// A long text is handled in pieces of about this many characters.
inline constexpr std::size_t kNamePieceSize = 8192;
// The longest name stored, in characters.
inline constexpr std::size_t kMaxDomainNameLength = 67;

// The pieces of `text`, in order. A text of at most kNamePieceSize characters
// is one piece. A longer one is cut after kNamePieceSize characters and then
// at the next separator, so no name is split between two pieces; the separator
// itself belongs to neither. With no separator left, the rest is one piece.
std::vector<std::string_view> SplitIntoPieces(std::string_view text);

// Calls `each` for every name of `piece` (empty pieces between separators are
// skipped).
template <typename Each>
void ForEachName(std::string_view piece, Each&& each) {
  std::size_t pos = 0;
  while (pos < piece.size()) {
    std::size_t end = piece.find_first_of(kNameSeparators, pos);
    if (end == std::string_view::npos) end = piece.size();
    if (end > pos) each(piece.substr(pos, end - pos));
    pos = end + 1;
  }
}
std::vector<std::string> SplitNames(std::string_view piece);

// The name as it is stored, or nothing when the text is not a usable domain
// name. A usable name is a host name of at least two labels (letters, digits
// and hyphens; no label empty, longer than 63 or starting or ending with a
// hyphen) of at most kMaxDomainNameLength characters; an international name
// counts by its ASCII form and is stored as typed. A trailing dot is dropped.
// A longer name is refused, never cut: cutting makes another name.
std::optional<std::string_view> StorableDomainName(std::string_view text);
// The length of a name as the 67-character limit counts it: characters of
// UTF-8, bytes of anything else.
std::size_t DomainNameLength(std::string_view name);

}  // namespace qv
