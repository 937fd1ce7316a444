#include "lookup/lookup_settings.h"

#include <algorithm>

#include "platform/ascii.h"
#include "platform/settings_store.h"

namespace qv {

int DnsLookupCountSetting() {
  const int count = GetProfileInt(kSettingsSection, kDnsLookupCountKey, kDnsLookupCountDefault);
  return std::clamp(count, kDnsLookupCountMin, kDnsLookupCountMax);
}

void SetDnsLookupCountSetting(int count) {
  WriteProfileInt(kSettingsSection, kDnsLookupCountKey,
                  std::clamp(count, kDnsLookupCountMin, kDnsLookupCountMax));
}

LookupProtocol LookupProtocolSetting() {
  const std::string text = GetProfileString(kSettingsSection, kLookupProtocolKey, "");
  for (int i = 0; i < 3; ++i)
    if (EqualsNoCase(text, kLookupProtocolTexts[i])) return LookupProtocol(i);
  return LookupProtocol::RdapFirst;
}

void SetLookupProtocolSetting(LookupProtocol protocol) {
  WriteProfileString(kSettingsSection, kLookupProtocolKey, kLookupProtocolTexts[int(protocol)]);
}

bool QuickWhoisLookupSetting() {
  return GetProfileInt(kSettingsSection, kQuickWhoisLookupKey, kQuickWhoisLookupDefault) != 0;
}

void SetQuickWhoisLookupSetting(bool on) {
  WriteProfileInt(kSettingsSection, kQuickWhoisLookupKey, on ? 1 : 0);
}

bool GetFullWhoisDataSetting() {
  return GetProfileInt(kSettingsSection, kGetFullWhoisDataKey, kGetFullWhoisDataDefault) != 0;
}

void SetGetFullWhoisDataSetting(bool on) {
  WriteProfileInt(kSettingsSection, kGetFullWhoisDataKey, on ? 1 : 0);
}

}  // namespace qv
