#include "app/dialogs/token_box_text.h"

#include "whois/generic_tokens.h"

namespace qv {
namespace {

constexpr std::string_view kLineFeedMark = "{lf}";
// What is trimmed from the end of a list before it is stored.
constexpr std::string_view kListEndTrim = " |\r\n";

}  // namespace

std::string TokenBoxText(std::string_view storedList) {
  std::string box(storedList);
  for (char& c : box)
    if (c == '|') c = '\n';
  return box;
}

std::string StoredTokenList(std::string_view boxText) {
  std::string list;
  while (!boxText.empty()) {
    const std::size_t end = boxText.find('\n');
    std::string_view line = boxText.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (!line.empty()) {
      if (!list.empty()) list += '|';
      list += line;
    }
    if (end == std::string_view::npos) break;
    boxText.remove_prefix(end + 1);
  }
  const std::size_t last = list.find_last_not_of(kListEndTrim);
  list.erase(last == std::string::npos ? 0 : last + 1);
  return list;
}

std::string GenericTokenBoxText(std::string_view settingsKey) {
  std::string box;
  for (std::string_view token : GenericTokens(settingsKey)) {
    if (!box.empty()) box += '\n';
    for (char c : token) {
      if (c == '\n')
        box += kLineFeedMark;
      else
        box += c;
    }
  }
  return box;
}

}  // namespace qv
