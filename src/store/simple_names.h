// Turning typed words into domain names, as the "Create Domain Names" dialog
// does, and telling full names from bare words in free lists.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qv {

// The characters that separate words in the "Create Domain Names" box.
inline constexpr std::string_view kWordSeparators = " \r\n,\t/;:<>(){}|+=_*&^%$#@!";

// Splits `text` into words. A word holding a "." (after dots at both ends are
// dropped) is a full name and is taken as it is; any other word, trimmed of
// "- \r\n\t:,;/\\", is joined to each of `topLevelDomains` as "word.tld".
// Names come out in the order of the words, each word's names in the order of
// the domains.
std::vector<std::string> MakeSimpleDomainNames(std::string_view text,
                                               const std::vector<std::string>& topLevelDomains);

// A qualified name holds a "." somewhere after its first character.
bool IsQualifiedName(std::string_view name);

struct QualifiedSplit {
  std::vector<std::string> qualified;  // ready to be added
  std::vector<std::string> bare;       // to be offered to the "Create Domain Names" dialog
};
QualifiedSplit SplitQualifiedNames(const std::vector<std::string>& names);

}  // namespace qv
