// RunAutoScan: the engine's idle-time walk over the shown list.
#include "lookup/auto_scan.h"

#include <algorithm>
#include <ctime>
#include <string>
#include <string_view>
#include <vector>

#include "lookup/answer_files.h"
#include "lookup/lookup_engine.h"
#include "platform/ascii.h"
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
  SettingsBatch::Profile()
      .SetInt(kSection, kEnableAutoWhoisKey, whois ? 1 : 0)
      .SetInt(kSection, kAutoWhoisIntervalKey, whoisInterval)
      .SetInt(kSection, kEnableAutoDnsKey, dns ? 1 : 0)
      .SetInt(kSection, kAutoDnsIntervalKey, dnsInterval)
      .SetInt(kSection, kEnableAutoPingKey, ping ? 1 : 0)
      .SetInt(kSection, kAutoPingIntervalKey, pingInterval)
      .SetInt(kSection, kEnableAutoHttpKey, http ? 1 : 0)
      .SetInt(kSection, kAutoHttpIntervalKey, httpInterval)
      .Commit();
}

namespace {

std::string DueTest(const char* field, int parameter) {
  const std::string f = QuoteName(field);
  return "(" + f + " IS NULL OR " + f + " <= ?" + std::to_string(parameter) + ")";
}

bool LessNoCase(std::string_view a, std::string_view b) {
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    const char x = LowerAscii(a[i]), y = LowerAscii(b[i]);
    if (x != y) return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
  }
  return a.size() < b.size();
}

// One row as the rescan needs it.
struct ScanRow {
  std::string name;
  bool locked = false;
  bool due[4] = {};  // whois, DNS, ping, home page
};

// Reads the rows of the shown list's names: a run of names in the index's
// order at a time (the list is most often in that order), one name at a
// time where the list is not. The thresholds are bound once per call; the
// statement is made afresh in each call, since one kept past the document's
// closing would keep its file open.
class ScanReader {
 public:
  ScanReader(DomainDatabase& db, const AutoScanSettings& s) {
    const std::string domain = QuoteName(field::kDomain);
    statement_ = db.update().PrepareNative(
        "SELECT " + domain + ", " + QuoteName(field::kLock) + ", " + DueTest(field::kLastCheckedAt, 2) + ", " +
        DueTest(field::kIpCheckedAt, 3) + ", " + DueTest(field::kPingCheckedAt, 4) + ", " +
        DueTest(field::kHomePageCheckedAt, 5) + " FROM " + QuoteName(kDomainsTable) + " WHERE " + domain +
        " >= ?1 COLLATE NOCASE ORDER BY " + domain + " COLLATE NOCASE LIMIT ?6");
    if (!statement_) return;
    statement_.BindText(2, Threshold(s.whoisInterval));
    statement_.BindText(3, Threshold(s.dnsInterval));
    statement_.BindText(4, Threshold(s.pingInterval));
    statement_.BindText(5, Threshold(s.httpInterval));
  }
  bool IsValid() const { return bool(statement_); }

  // The row of `name`; null when the document does not hold it.
  const ScanRow* Find(std::string_view name) {
    while (at_ < rows_.size() && LessNoCase(rows_[at_].name, name)) ++at_;
    if (at_ < rows_.size() && EqualsNoCase(rows_[at_].name, name)) {
      ++served_;
      return &rows_[at_++];
    }
    // Not in the run read last: a new run from this name, longer while runs
    // serve well, a single row while they do not.
    batch_ = served_ * 2 >= batch_ ? std::min(batch_ * 2, kMaxBatch) : 1;
    Fill(name);
    served_ = 0;
    if (!rows_.empty() && EqualsNoCase(rows_[0].name, name)) {
      at_ = 1;
      served_ = 1;
      return &rows_[0];
    }
    return nullptr;
  }

 private:
  static constexpr int kMaxBatch = 512;

  void Fill(std::string_view from) {
    rows_.clear();
    at_ = 0;
    statement_.Reset();
    statement_.BindText(1, from);
    statement_.BindInt(6, batch_);
    while (statement_.Next() == Statement::Step::Row) {
      ScanRow row;
      row.name = statement_.ColumnText(0);
      row.locked = statement_.ColumnInt(1) != 0;
      for (int i = 0; i < 4; ++i) row.due[i] = statement_.ColumnInt(2 + i) != 0;
      rows_.push_back(std::move(row));
    }
  }

  Statement statement_;
  std::vector<ScanRow> rows_;
  std::size_t at_ = 0;
  int batch_ = 8;
  int served_ = 0;
};

}  // namespace

bool LookupEngine::RunAutoScan() {
  const AutoScanSettings s = AutoScanSettings::Load();
  DomainDatabase* db = Database();
  if (!db || !s.AnyOn() || !db->OpenDomainsTable()) return false;
  DomainList& list = ShownList();
  const int count = list.Count();
  if (autoScanCursor_ < 0 || autoScanCursor_ >= count) autoScanCursor_ = 0;
  ScanReader reader(*db, s);
  if (!reader.IsValid()) return false;

  const std::filesystem::path answers = WhoisDataFolder();
  const std::chrono::microseconds until = ThreadTime() + kAutoScanBudget;
  int queuedNames = 0;
  int position = autoScanCursor_;
  while (position < count) {
    const std::string_view name = list.NameAt(position++);
    if (const ScanRow* row = reader.Find(name)) {
      bool queued = false;
      if (s.whois && !row->locked &&
          (row->due[0] || KeptAnswerHasLookupError(answers, name)))
        queued = AddToWhoisQueue(std::string(name)) || queued;
      if (s.dns && !row->locked && row->due[1]) queued = AddToQueue(QueueKind::Dns, std::string(name)) || queued;
      if (s.ping && row->due[2]) queued = AddToQueue(QueueKind::Ping, std::string(name)) || queued;
      if (s.http && row->due[3]) queued = AddToQueue(QueueKind::HomePage, std::string(name)) || queued;
      if (queued && ++queuedNames >= kAutoScanMaxQueuedNames) break;
    }
    if (position % 8 == 0 && ThreadTime() >= until) break;
  }
  autoScanCursor_ = position;
  return true;
}

}  // namespace qv
