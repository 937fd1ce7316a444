// RunAutoScan: the engine's idle-time walk over the shown list.
#include "lookup/auto_scan.h"

#include <algorithm>
#include <string>

#include "lookup/answer_files.h"
#include "lookup/lookup_engine.h"
#include "platform/settings_store.h"
#include "store/database_connection.h"
#include "store/domain_list.h"

namespace qv {
namespace {

constexpr const char* kSection = "Settings";

int Interval(const char* key, int fallback) {
  return std::max(GetProfileInt(kSection, key, fallback), kAutoScanMinInterval);
}

// The ISO text of now minus `minutes`: a stored time at or before it is due.
std::string Threshold(int minutes) {
  const int gap = std::max(minutes, kAutoScanMinInterval);
  const double days = gap / 1440 + (gap % 1440 / 60) / 24.0 + (gap % 60) / 1440.0;
  return Date::Now().AddDays(-days).ToIsoText();
}

// A stored time that is no valid date is due at once.
bool Due(const Statement& st, int column, const std::string& threshold) {
  if (st.IsNull(column)) return true;
  const Date when = Date::FromIsoText(st.ColumnText(column));
  return !when.IsValid() || when.ToIsoText() <= threshold;
}

}  // namespace

AutoScanSettings AutoScanSettings::Load() {
  AutoScanSettings s;
  s.whois = GetProfileInt(kSection, kEnableAutoWhoisKey, 0) != 0;
  s.dns = GetProfileInt(kSection, kEnableAutoDnsKey, 0) != 0;
  s.ping = GetProfileInt(kSection, kEnableAutoPingKey, 0) != 0;
  s.http = GetProfileInt(kSection, kEnableAutoHttpKey, 0) != 0;
  s.whoisInterval = Interval(kAutoWhoisIntervalKey, kAutoWhoisIntervalDefault);
  s.dnsInterval = Interval(kAutoDnsIntervalKey, kAutoCheckIntervalDefault);
  s.pingInterval = Interval(kAutoPingIntervalKey, kAutoCheckIntervalDefault);
  s.httpInterval = Interval(kAutoHttpIntervalKey, kAutoCheckIntervalDefault);
  return s;
}

void AutoScanSettings::Save() const {
  WriteProfileInt(kSection, kEnableAutoWhoisKey, whois ? 1 : 0);
  WriteProfileInt(kSection, kAutoWhoisIntervalKey, whoisInterval);
  WriteProfileInt(kSection, kEnableAutoDnsKey, dns ? 1 : 0);
  WriteProfileInt(kSection, kAutoDnsIntervalKey, dnsInterval);
  WriteProfileInt(kSection, kEnableAutoPingKey, ping ? 1 : 0);
  WriteProfileInt(kSection, kAutoPingIntervalKey, pingInterval);
  WriteProfileInt(kSection, kEnableAutoHttpKey, http ? 1 : 0);
  WriteProfileInt(kSection, kAutoHttpIntervalKey, httpInterval);
}

bool LookupEngine::RunAutoScan() {
  const AutoScanSettings s = AutoScanSettings::Load();
  DomainDatabase* db = Database();
  if (!db || !s.AnyOn() || !db->OpenDomainsTable()) return false;
  const int count = ShownList().Count();
  if (autoScanCursor_ < 0 || autoScanCursor_ >= count) autoScanCursor_ = 0;

  // The four times and the lock of one name, read through the index.
  Statement st = db->update().PrepareNative(
      "SELECT " + QuoteName(field::kLock) + ", " + QuoteName(field::kLastCheckedAt) + ", " +
      QuoteName(field::kIpCheckedAt) + ", " + QuoteName(field::kPingCheckedAt) + ", " +
      QuoteName(field::kHomePageCheckedAt) + " FROM " + QuoteName(kDomainsTable) + " WHERE " +
      QuoteName(field::kDomain) + " = ?1");
  if (!st) return false;
  const std::string whoisBefore = Threshold(s.whoisInterval);
  const std::string dnsBefore = Threshold(s.dnsInterval);
  const std::string pingBefore = Threshold(s.pingInterval);
  const std::string httpBefore = Threshold(s.httpInterval);

  const auto until = std::chrono::steady_clock::now() + kAutoScanBudget;
  int queuedNames = 0;
  int position = autoScanCursor_;
  while (position < count) {
    const std::string name(ShownList().NameAt(position++));
    st.Reset();
    st.BindText(1, name);
    if (st.Next() == Statement::Step::Row) {
      const bool locked = st.ColumnInt(0) != 0;
      bool queued = false;
      if (s.whois && !locked) {
        const bool due = Due(st, 1, whoisBefore) ||
                         LoadWhoisText(name).find("Whois Lookup Error:") != std::string::npos;
        if (due) queued = AddToWhoisQueue(name) || queued;
      }
      if (s.dns && !locked && Due(st, 2, dnsBefore)) queued = AddToQueue(QueueKind::Dns, name) || queued;
      if (s.ping && Due(st, 3, pingBefore)) queued = AddToQueue(QueueKind::Ping, name) || queued;
      if (s.http && Due(st, 4, httpBefore)) queued = AddToQueue(QueueKind::HomePage, name) || queued;
      if (queued && ++queuedNames >= kAutoScanMaxQueuedNames) break;
    }
    if (std::chrono::steady_clock::now() >= until) break;
  }
  autoScanCursor_ = position;
  return true;
}

}  // namespace qv
