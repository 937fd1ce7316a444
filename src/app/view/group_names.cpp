#include "app/view/group_names.h"

#include <utility>

#include "platform/ascii.h"
#include "platform/settings_store.h"
#include "platform/text.h"
#include "store/database_maintenance.h"

namespace qv {
namespace {

constexpr std::pair<const char*, const char*> kBuiltInGroups[] = {
    {"*PERSONALDOMAINS", "Personal Domains"},     {"*BIZDOMAINS", "Business Domains"},
    {"*COMPDOMAINS", "Competitor's Domains"},     {"*BOOKMARKDOMAINS", "Bookmarked Domains"},
    {"*KEYWORDDOMAINS", "Keyword Domains"},       {"*HITRAFFICDOMAINS", "High Traffic Domains"},
    {"*LOTRAFFICDOMAINS", "Low Traffic Domains"}, {"*HIVALUEDOMAINS", "Most Important Domains"},
    {"*LOWVALUEDOMAINS", "Unimportant Domains"},  {"*DESIREDDOMAINS", "Desired Domains"},
};

// The user groups as (code, display name), in their stored order.
std::vector<std::pair<std::string, std::string>> UserGroups() {
  std::vector<std::pair<std::string, std::string>> groups;
  const int count = GetProfileInt(kSettingsSection, "User Groups", 0);
  for (int i = 1; i <= count; ++i) {
    const std::string name = GetProfileString(kSettingsSection, "User Group - " + std::to_string(i), "");
    if (!name.empty()) groups.emplace_back(UserGroupCodeOf(name), name);
  }
  return groups;
}

}  // namespace

QString GroupDisplayName(std::string_view groupCode) {
  for (const auto& [code, name] : kBuiltInGroups)
    if (EqualsNoCase(code, groupCode)) return QString::fromLatin1(name);
  for (const auto& [code, name] : UserGroups())
    if (EqualsNoCase(code, groupCode)) return ToQString(name);
  return {};
}

QStringList MemberGroupNames(const DomainRecord& record) {
  QStringList names;
  for (const auto& [code, name] : kBuiltInGroups)
    if (record.IsGroupMember(code)) names << QString::fromLatin1(name);
  for (const auto& [code, name] : UserGroups())
    if (record.IsGroupMember(code)) names << ToQString(name);
  return names;
}

}  // namespace qv
