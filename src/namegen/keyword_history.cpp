#include "namegen/keyword_history.h"

#include <algorithm>

#include "platform/settings_store.h"

namespace qv {

std::vector<std::string> LoadKeywordHistory() {
  std::vector<std::string> history;
  const int count = GetProfileInt(kKeywordHistorySection, "Count", 0);
  for (int i = 1; i <= count; ++i) {
    std::string entry = GetProfileString(kKeywordHistorySection, std::to_string(i), "");
    if (!entry.empty()) history.push_back(std::move(entry));
  }
  return history;
}

int PushKeyword(std::vector<std::string>& history, std::string_view keyword) {
  const std::size_t first = keyword.find_first_not_of(" \t\r\n");
  if (first == std::string_view::npos) return -1;
  const std::string trimmed(keyword.substr(first, keyword.find_last_not_of(" \t\r\n") - first + 1));
  const auto old = std::find(history.begin(), history.end(), trimmed);
  if (old != history.end())
    history.erase(old);
  else if (history.size() > kKeywordHistoryCap)
    history.pop_back();
  history.insert(history.begin(), trimmed);
  return 0;
}

void SaveKeywordHistory(const std::vector<std::string>& history) {
  SettingsBatch batch = SettingsBatch::Profile();
  batch.RemoveSection(kKeywordHistorySection);
  for (std::size_t i = 0; i < history.size(); ++i)
    batch.SetString(kKeywordHistorySection, std::to_string(i + 1), history[i]);
  batch.SetInt(kKeywordHistorySection, "Count", int(history.size())).Commit();
}

}  // namespace qv
