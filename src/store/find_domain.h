// "Find Domain": locating a name among the rows of the list as shown.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace qv {

// The shown text of the name column at a row, markup included.
using ShownText = std::function<std::string(int row)>;

// The cell text without the colour marks of the list (used for searching).
std::string StripListMarkup(std::string_view shown);

// The row to select for `searchText` over `rowCount` rows, or -1 when nothing
// matches (or the trimmed text is empty). First the first row whose text,
// markup removed, equals the search text in any capitalisation; otherwise the
// next row containing it exactly as typed, starting after `selectedRow` (-1
// for none), wrapping round to the top and ending with the selected row.
int FindDomainRow(int rowCount, const ShownText& shownText, std::string_view searchText,
                  int selectedRow);

// The text last searched for (setting "Find Domain").
std::string LastFindDomainText();
void StoreFindDomainText(std::string_view text);

}  // namespace qv
