// The display names of the domain groups a record belongs to, for the
// properties window: the built-in groups by their codes, then the user's own
// groups kept in the settings.
#pragma once

#include <QStringList>
#include <string_view>

#include "store/domain_record.h"

namespace qv {

// The display name of a group code ("*HIVALUEDOMAINS" -> "Most Important
// Domains"); a user group's own name; "" for an unknown code.
QString GroupDisplayName(std::string_view groupCode);
// The display names of the groups `record` is a member of, in table order.
QStringList MemberGroupNames(const DomainRecord& record);

}  // namespace qv
