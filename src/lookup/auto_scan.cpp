// RunAutoScan: the engine's idle-time walk over the shown list.
#include "lookup/auto_scan.h"

#include <algorithm>
#include <ctime>
#include <string>

#include "lookup/answer_files.h"
#include "lookup/lookup_engine.h"
#include "platform/settings_store.h"
#include "store/database_connection.h"
#include "store/domain_list.h"

namespace qv {
namespace {

constexpr const char* kSection = "Settings";

// The main thread's own processor time: the budget holds however busy the
// machine is.
std::chrono::microseconds ThreadTime() {
#ifdef CLOCK_THREAD_CPUTIME_ID
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return std::chrono::seconds(t.tv_sec) + std::chrono::microseconds(t.tv_nsec / 1000);
#else
  return std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now().time_since_epoch());
#endif
}

int Interval(const char* key, int fallback) {
  return std::max(GetProfileInt(kSection, key, fallback), kAutoScanMinInterval);
}

// The ISO text of now minus `minutes`: a stored time at or before it is due.
std::string Threshold(int minutes) {
  const int gap = std::max(minutes, kAutoScanMinInterval);
  const double days = gap / 1440 + (gap % 1440 / 60) / 24.0 + (gap % 60) / 1440.0;
  return Date::Now().AddDays(-days).ToIsoText();
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

namespace {

// The lock and whether each of the four checks is due, for one name, read
// through the index; the thresholds are bound once per call. Made afresh in
// each call: a statement kept past the document's closing would keep its
// file open.

std::string DueTest(const char* field, int parameter) {
  const std::string f = QuoteName(field);
  return "(" + f + " IS NULL OR " + f + " <= ?" + std::to_string(parameter) + ")";
}

Statement PrepareAutoScan(DomainDatabase& db) {
  return db.update().PrepareNative(
      "SELECT " + QuoteName(field::kLock) + ", " + DueTest(field::kLastCheckedAt, 2) + ", " +
      DueTest(field::kIpCheckedAt, 3) + ", " + DueTest(field::kPingCheckedAt, 4) + ", " +
      DueTest(field::kHomePageCheckedAt, 5) + " FROM " + QuoteName(kDomainsTable) + " WHERE " +
      QuoteName(field::kDomain) + " = ?1");
}

}  // namespace

bool LookupEngine::RunAutoScan() {
  const AutoScanSettings s = AutoScanSettings::Load();
  DomainDatabase* db = Database();
  if (!db || !s.AnyOn() || !db->OpenDomainsTable()) return false;
  DomainList& list = ShownList();
  const int count = list.Count();
  if (autoScanCursor_ < 0 || autoScanCursor_ >= count) autoScanCursor_ = 0;

  Statement st = PrepareAutoScan(*db);
  if (!st) return false;
  st.BindText(2, Threshold(s.whoisInterval));
  st.BindText(3, Threshold(s.dnsInterval));
  st.BindText(4, Threshold(s.pingInterval));
  st.BindText(5, Threshold(s.httpInterval));

  const std::chrono::microseconds until = ThreadTime() + kAutoScanBudget;
  int queuedNames = 0;
  int position = autoScanCursor_;
  while (position < count) {
    const std::string_view name = list.NameAt(position++);
    st.Reset();
    st.BindText(1, name);
    if (st.Next() == Statement::Step::Row) {
      const bool locked = st.ColumnInt(0) != 0;
      bool queued = false;
      if (s.whois && !locked &&
          (st.ColumnInt(1) != 0 || LoadWhoisText(name).find("Whois Lookup Error:") != std::string::npos))
        queued = AddToWhoisQueue(std::string(name)) || queued;
      if (s.dns && !locked && st.ColumnInt(2) != 0) queued = AddToQueue(QueueKind::Dns, std::string(name)) || queued;
      if (s.ping && st.ColumnInt(3) != 0) queued = AddToQueue(QueueKind::Ping, std::string(name)) || queued;
      if (s.http && st.ColumnInt(4) != 0) queued = AddToQueue(QueueKind::HomePage, std::string(name)) || queued;
      if (queued && ++queuedNames >= kAutoScanMaxQueuedNames) break;
    }
    if (position % 16 == 0 && ThreadTime() >= until) break;
  }
  autoScanCursor_ = position;
  return true;
}

}  // namespace qv
