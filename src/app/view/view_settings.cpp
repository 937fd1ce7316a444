#include "app/view/view_settings.h"

#include <algorithm>
#include <optional>

#include "platform/ascii.h"
#include "platform/settings_store.h"

namespace qv {
namespace {

std::optional<int>& ExpiryDaysValue() {
  static std::optional<int> days;
  return days;
}

std::string EmailKey(int n) { return "Email-" + std::to_string(n); }

std::string_view Trim(std::string_view s) {
  constexpr std::string_view kBlanks = " \t\r\n";
  const std::size_t first = s.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  return s.substr(first, s.find_last_not_of(kBlanks) - first + 1);
}

}  // namespace

int ExpiryHighlightDays() {
  if (!ExpiryDaysValue()) ReloadExpiryHighlightDays();
  return *ExpiryDaysValue();
}

void SetExpiryHighlightDays(int days) {
  ExpiryDaysValue() = days;
  WriteProfileInt(kSettingsSection, kExpiryHighlightKey, days);
}

void ReloadExpiryHighlightDays() {
  ExpiryDaysValue() = GetProfileInt(kSettingsSection, kExpiryHighlightKey, kExpiryHighlightDefault);
}

bool HighlightImportantDomains() {
  return GetProfileInt(kSettingsSection, kHighlightImportantKey, 0) != 0;
}

std::string RegistrarAliasKey(std::string_view registrar) {
  std::string key;
  for (char c : registrar) {
    if (c == '%') key += "%25";
    else if (c == '/') key += "%2F";
    else if (c == '\\') key += "%5C";
    else key += c;
  }
  return key;
}

std::string GetRegistrarAlias(std::string_view registrar) {
  if (registrar.empty()) return {};
  const std::string alias = GetProfileString(kRegistrarAliasSection, RegistrarAliasKey(registrar), "");
  return alias.empty() ? std::string(registrar) : alias;
}

void SetRegistrarAlias(std::string_view registrar, std::string_view alias) {
  if (registrar.empty()) return;
  const std::string key = RegistrarAliasKey(registrar);
  if (alias.empty() || EqualsNoCase(alias, registrar))
    DeleteDirectValue(kCompanyName, kApplicationName, kRegistrarAliasSection, key);
  else
    WriteProfileString(kRegistrarAliasSection, key, alias);
}

std::vector<std::string> TaggedEmailList() {
  std::vector<std::string> list;
  const int size = GetProfileInt(kTaggedEmailSection, "Size", 0);
  for (int i = 1; i <= size; ++i) {
    std::string address = GetProfileString(kTaggedEmailSection, EmailKey(i), "");
    if (!address.empty()) list.push_back(std::move(address));
  }
  return list;
}

void StoreTaggedEmailList(const std::vector<std::string>& addresses) {
  SettingsBatch batch = SettingsBatch::Profile();
  batch.RemoveSection(kTaggedEmailSection);
  int i = 0;
  for (const std::string& address : addresses) batch.SetString(kTaggedEmailSection, EmailKey(++i), address);
  batch.SetInt(kTaggedEmailSection, "Size", i).Commit();
}

std::vector<std::string> SplitTaggedEmailText(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t pos = 0;
  while (pos <= text.size()) {
    std::size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view line = Trim(text.substr(pos, end - pos));
    if (!line.empty()) lines.emplace_back(line);
    pos = end + 1;
  }
  return lines;
}

}  // namespace qv
