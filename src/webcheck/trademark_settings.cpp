#include "webcheck/trademark_settings.h"

#include <algorithm>

#include "platform/settings_store.h"

namespace qv {

std::string TessHostSetting() { return GetProfileString(kSettingsSection, kTessHostKey, ""); }

void SetTessHostSetting(const std::string& host) { WriteProfileString(kSettingsSection, kTessHostKey, host); }

int TessConnectionGapSetting() {
  const int gap = GetProfileInt(kSettingsSection, kTessConnectionGapKey, kTessConnectionGapDefault);
  return std::clamp(gap, 0, kTessConnectionGapMax);
}

void SetTessConnectionGapSetting(int seconds) {
  WriteProfileInt(kSettingsSection, kTessConnectionGapKey, std::clamp(seconds, 0, kTessConnectionGapMax));
}

}  // namespace qv
