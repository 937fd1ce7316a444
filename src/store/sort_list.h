// The order of the list: the direction settings and re-sorting the current
// list query by one field.
#pragma once

#include <string>
#include <string_view>

namespace qv {

class DomainDatabase;

// The direction for the next list or sort: "Sort Ascending" (default 1), first
// inverted and written back when "Lock Sorting Order" (default 1) is zero.
// Call once per request.
bool GetSortDirection();

// `sql` without its ORDER BY clause: cut at "ORDER BY" (in any capitals), or
// failing that at " ORDER ", then trimmed of blanks, CR, LF and tabs.
std::string RemoveOrderBy(std::string_view sql);

// `sql` ordered by one field (a real field name, not an alias).
std::string SortedQuery(std::string_view sql, std::string_view field, bool ascending);

// Re-sorts the current list query by `fieldName` (aliases translated) and
// runs it. A name that is not a field of the domain table leaves the list as
// it is, and the direction setting untouched; then false.
bool SortList(DomainDatabase& db, std::string_view fieldName);

}  // namespace qv
