// The check list of top-level domains that the name dialogs share: filled
// from the program's TLD list, each item ticked as it was left the last time
// in any of these dialogs (one stored tick per domain, .com ticked until the
// user says otherwise).
#pragma once

#include <string>
#include <vector>

class QListWidget;

namespace qv {

// Profile section of the ticks: one int per top-level domain (1 ticked).
inline constexpr const char* kCreateNamesTicksSection = "Create Domain Names";

// Fills `list` (emptied first) with the TLD list and the stored ticks.
void FillTldCheckList(QListWidget* list);
// Ticks or clears every item.
void SetAllTldTicks(QListWidget* list, bool ticked);
// Stores each item's tick and returns the ticked domains in list order
// (items trimmed; empty ones skipped).
std::vector<std::string> SaveTldTicks(const QListWidget* list);
// The ticked domains without storing anything.
std::vector<std::string> TickedTldsOf(const QListWidget* list);

}  // namespace qv
