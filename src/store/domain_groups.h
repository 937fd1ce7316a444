// Domain groups: the ten built-in groups and the user's own, their codes, and
// the bulk change of membership. A group's membership lives in the Byte field
// "GRP_" + its code less the "*" (1: member; 0 or empty: not).
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

class DomainDatabase;

struct DomainGroup {
  std::string name;  // display name
  std::string code;  // "*BIZDOMAINS"
  bool builtIn = false;
};

// "All Domains": the whole list, no membership.
inline constexpr const char* kAllDomainsName = "All Domains";
inline constexpr const char* kAllDomainsCode = "ALLDOMAINS";
// The group whose members get the ping alert and the list's highlight.
inline constexpr const char* kMostImportantGroupCode = "*HIVALUEDOMAINS";

// The ten built-in groups (without "All Domains"), in their fixed order.
const std::vector<DomainGroup>& BuiltInGroups();
// The built-in groups followed by the user groups of the settings.
std::vector<DomainGroup> AllDomainGroups();
// The display name of a group code; "" when no group has it.
std::string GroupNameOfCode(std::string_view code);

struct GroupChangeResult {
  int changed = 0;         // memberships that changed (one per name and group)
  bool cancelled = false;  // the progress callback asked to stop
  std::string error;       // empty on success
};

// How often ChangeGroups reports its progress, in names.
inline constexpr int kGroupProgressStep = 20;

// Adds the names to (or removes them from) every group of `codes`, in one
// transaction. Only a membership that changes writes the row; a name that is
// not stored is skipped. `progress` (may be empty) is called with
// (done, total) before the first name, every kGroupProgressStep names and at
// the end; returning false stops between names, keeping what was changed.
// A group whose field is missing fails the whole change with a message
// naming the command that adds the field; on any failure nothing is changed.
GroupChangeResult ChangeGroups(DomainDatabase& db, const std::vector<std::string>& names,
                               const std::vector<std::string>& codes, bool add,
                               const std::function<bool(int done, int total)>& progress = {});

// One name and one group; true when the membership changed.
bool SetGroupMembership(DomainDatabase& db, std::string_view name, std::string_view code, bool add);
bool IsGroupMember(DomainDatabase& db, std::string_view name, std::string_view code);
// The stored names in the group (any order); empty when its field is missing.
std::vector<std::string> GroupMembers(DomainDatabase& db, std::string_view code);

// The list query of a group's members (the "Domain Names" bar's group
// entries); "All Domains" gives the whole table.
std::string GroupListQuery(std::string_view code);

}  // namespace qv
