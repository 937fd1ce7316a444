// The order of the list: the direction settings and re-sorting the current
// list query by one field.
#pragma once

#include <string>
#include <string_view>

namespace qv {

class DomainDatabase;

// The direction for the next list or sort: ascending while "Always Sort
// Ascending" (default 0) is on; otherwise "Sort Ascending" (default 1), first
// inverted and written back when "Lock Sorting Order" (default 1) is zero.
// Call once per request.
bool GetSortDirection();
bool AlwaysSortAscending();

// The column sort the user chose last, kept for the next start: the field
// and its direction; an empty field when the list was not sorted by a column.
struct ListSortChoice {
  std::string field;
  bool ascending = true;
};
ListSortChoice StoredSortChoice();
void StoreSortChoice(const ListSortChoice& choice);

// `sql` without its ORDER BY clause: cut at "ORDER BY" (in any capitals), or
// failing that at " ORDER ", then trimmed of blanks, CR, LF and tabs.
std::string RemoveOrderBy(std::string_view sql);

// `sql` ordered by one field (a real field name, not an alias).
std::string SortedQuery(std::string_view sql, std::string_view field, bool ascending);

// Re-sorts the current list query by `fieldName` (aliases translated) and
// runs it. A name that is not a field of the domain table leaves the list as
// it is, and the direction setting untouched; then false.
bool SortList(DomainDatabase& db, std::string_view fieldName);
// The same in a given direction.
bool SortList(DomainDatabase& db, std::string_view fieldName, bool ascending);

}  // namespace qv
