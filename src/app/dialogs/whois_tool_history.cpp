#include "app/dialogs/whois_tool_history.h"

#include <algorithm>
#include <string>

#include "platform/settings_store.h"
#include "platform/text.h"

namespace qv {

QStringList AddToHistory(QStringList history, const QString& entry, int max) {
  const QString text = entry.trimmed();
  if (text.isEmpty()) return history;
  history.removeIf([&text](const QString& old) { return old.compare(text, Qt::CaseInsensitive) == 0; });
  history.prepend(text);
  while (history.size() > max) history.removeLast();
  return history;
}

QStringList LoadHistory(std::string_view section, int max) {
  const int count = GetProfileInt(section, "Count", 0);
  QStringList history;
  for (int i = 1; i <= count && history.size() < max; ++i) {
    const QString entry = ToQString(GetProfileString(section, std::to_string(i), "")).trimmed();
    if (entry.isEmpty()) continue;
    const bool seen = std::any_of(history.begin(), history.end(), [&entry](const QString& old) {
      return old.compare(entry, Qt::CaseInsensitive) == 0;
    });
    if (!seen) history << entry;
  }
  return history;
}

void SaveHistory(std::string_view section, const QStringList& history, int max) {
  const int count = int(std::min<qsizetype>(history.size(), max));
  SettingsBatch batch = SettingsBatch::Profile();
  batch.RemoveSection(section).SetInt(section, "Count", count);
  for (int i = 0; i < count; ++i) batch.SetString(section, std::to_string(i + 1), ToStdString(history[i]));
  batch.Commit();
}

}  // namespace qv
