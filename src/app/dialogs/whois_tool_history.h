// The histories of the whois tool's two boxes: up to 100 entries each, newest
// first, an entry never twice (compared without regard to case; the newest
// spelling is kept). Each is stored in a profile section of its own as an
// integer "Count" and the entries "1" .. "Count".
#pragma once

#include <QString>
#include <QStringList>
#include <string_view>

namespace qv {

inline constexpr const char* kWhoisToolServerListSection = "Whois Tool Server List";
inline constexpr const char* kWhoisToolQueryListSection = "Whois Tool Query List";
inline constexpr int kWhoisToolHistoryMax = 100;

// `entry` (trimmed) put first; an older equal entry dropped; at most `max`.
// An empty entry leaves the list as it is.
QStringList AddToHistory(QStringList history, const QString& entry, int max = kWhoisToolHistoryMax);

// The stored history, kept to the rules above however the section was written.
QStringList LoadHistory(std::string_view section, int max = kWhoisToolHistoryMax);
// Replaces the stored section with `history` (at most `max` entries).
void SaveHistory(std::string_view section, const QStringList& history, int max = kWhoisToolHistoryMax);

}  // namespace qv
