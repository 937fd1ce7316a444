#include "store/find_domain.h"

#include <array>

#include "platform/ascii.h"
#include "platform/settings_store.h"

namespace qv {
namespace {

std::string_view TrimBlanks(std::string_view s) {
  constexpr std::string_view kBlanks = " \t\r\n\v\f";
  const std::size_t first = s.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  return s.substr(first, s.find_last_not_of(kBlanks) - first + 1);
}

}  // namespace

std::string StripListMarkup(std::string_view shown) {
  static constexpr std::array<std::string_view, 15> kMarks = {
      "<font color=\"#FF0000\">", "<#!0>", "<#!1>", "<#!2>", "<#!3>",
      "<#FF0000>", "<#00FF00>", "<#800000>", "<#808080>", "<#A0A0A0>",
      "<#000000>", "<#0000FF>", "<#000080>", "[{", "}]"};
  std::string text(shown);
  for (std::string_view mark : kMarks)
    for (std::size_t pos = text.find(mark); pos != std::string::npos; pos = text.find(mark, pos))
      text.erase(pos, mark.size());
  return text;
}

int FindDomainRow(int rowCount, const ShownText& shownText, std::string_view searchText,
                  int selectedRow) {
  const std::string_view wanted = TrimBlanks(searchText);
  if (wanted.empty() || rowCount <= 0) return -1;
  for (int row = 0; row < rowCount; ++row)
    if (EqualsNoCase(StripListMarkup(shownText(row)), wanted)) return row;

  const int start = selectedRow >= 0 && selectedRow < rowCount ? selectedRow + 1 : 0;
  for (int i = 0; i < rowCount; ++i) {
    const int row = (start + i) % rowCount;
    if (StripListMarkup(shownText(row)).find(wanted) != std::string::npos) return row;
  }
  return -1;
}

std::string LastFindDomainText() { return GetProfileString(kSettingsSection, "Find Domain", ""); }

void StoreFindDomainText(std::string_view text) {
  WriteProfileString(kSettingsSection, "Find Domain", text);
}

}  // namespace qv
