// Automatic rescans: while the engine is idle, the names of the shown list are
// walked from a cursor and each check whose last result is older than its
// interval is queued again (whois, DNS, ping, home page, in that order).
#pragma once

#include <chrono>

namespace qv {

// Settings keys (section "Settings"); intervals in minutes.
inline constexpr const char* kEnableAutoWhoisKey = "Enable Auto Whois";
inline constexpr const char* kAutoWhoisIntervalKey = "Auto Whois Interval";
inline constexpr const char* kEnableAutoDnsKey = "Enable Auto DNS";
inline constexpr const char* kAutoDnsIntervalKey = "Auto DNS Check Interval";
inline constexpr const char* kEnableAutoPingKey = "Enable Auto Ping";
inline constexpr const char* kAutoPingIntervalKey = "Auto Ping Interval";
inline constexpr const char* kEnableAutoHttpKey = "Enable Auto Http Check";
inline constexpr const char* kAutoHttpIntervalKey = "Auto Http Check Interval";
inline constexpr int kAutoWhoisIntervalDefault = 10080;
inline constexpr int kAutoCheckIntervalDefault = 1440;
// The smallest interval; a stored 0 or less counts as this.
inline constexpr int kAutoScanMinInterval = 1;
// Below this the whois interval earns a warning.
inline constexpr int kSafeWhoisIntervalMinutes = 1440;

// Main-thread (processor) time one rescan call may take, and the most names it queues
// (queued work makes the engine busy, which pauses the rescan anyway). A call
// ends within a few rows of its budget, so it stays well under 5 ms; at about
// a thousand rows per millisecond a sweep of a million names takes some 35
// minutes of idle ticks.
inline constexpr std::chrono::microseconds kAutoScanBudget{3000};
inline constexpr int kAutoScanMaxQueuedNames = 100;

struct AutoScanSettings {
  bool whois = false, dns = false, ping = false, http = false;
  int whoisInterval = kAutoWhoisIntervalDefault;
  int dnsInterval = kAutoCheckIntervalDefault;
  int pingInterval = kAutoCheckIntervalDefault;
  int httpInterval = kAutoCheckIntervalDefault;

  static AutoScanSettings Load();
  void Save() const;
  bool AnyOn() const { return whois || dns || ping || http; }
};

}  // namespace qv
