// RunAutoScan: the engine's idle-time walk over the shown list.
#include "lookup/auto_scan.h"

#include <algorithm>
#include <ctime>
#include <string>
#include <string_view>
#include <vector>

#include "lookup/answer_error_index.h"
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

// The rows from a name on, in the name index's order, with their due tests;
// the thresholds are bound as ?2 to ?5.
const std::string& ScanSql() {
  static const std::string sql = [] {
    const std::string domain = QuoteName(field::kDomain);
    return "SELECT " + domain + ", " + QuoteName(field::kLock) + ", " + DueTest(field::kLastCheckedAt, 2) + ", " +
           DueTest(field::kIpCheckedAt, 3) + ", " + DueTest(field::kPingCheckedAt, 4) + ", " +
           DueTest(field::kHomePageCheckedAt, 5) + " FROM " + QuoteName(kDomainsTable) + " WHERE " + domain +
           " >= ?1 COLLATE NOCASE ORDER BY " + domain + " COLLATE NOCASE";
  }();
  return sql;
}

// Reads the rows of the shown list's names by stepping along the name index.
// While the list follows the index's order (as it most often does) one step
// gives the next row; where it does not, or skips more than a few stored
// names, the walk starts again from the name sought. The statement is kept
// by the document's connection (dropped when the document closes or its
// structure changes) and is reset when the reader goes, so no read lasts
// beyond one rescan call.
class ScanReader {
 public:
  ScanReader(DatabaseConnection& connection, const AutoScanSettings& s)
      : statement_(connection.CachedStatement(ScanSql())),
        thresholds_{Threshold(s.whoisInterval), Threshold(s.dnsInterval), Threshold(s.pingInterval),
                    Threshold(s.httpInterval)} {}
  ~ScanReader() {
    if (statement_) statement_->Reset();
  }
  ScanReader(const ScanReader&) = delete;
  ScanReader& operator=(const ScanReader&) = delete;

  bool IsValid() const { return statement_ != nullptr; }

  // The row of `name`; null when the document does not hold it.
  const ScanRow* Find(std::string_view name) {
    for (int skipped = 0; onRow_ && skipped <= kMostSkipped && LessNoCase(row_.name, name); ++skipped) Step();
    if (!onRow_ || !EqualsNoCase(row_.name, name)) Seek(name);
    return onRow_ && EqualsNoCase(row_.name, name) ? &row_ : nullptr;
  }

 private:
  // Stored names stepped over before a new start is cheaper.
  static constexpr int kMostSkipped = 8;

  void Seek(std::string_view from) {
    statement_->Reset();
    statement_->BindText(1, from);
    for (int i = 0; i < 4; ++i) statement_->BindText(2 + i, thresholds_[i]);
    Step();
  }

  void Step() {
    onRow_ = statement_->Next() == Statement::Step::Row;
    if (!onRow_) return;
    row_.name = statement_->ColumnText(0);
    row_.locked = statement_->ColumnInt(1) != 0;
    for (int i = 0; i < 4; ++i) row_.due[i] = statement_->ColumnInt(2 + i) != 0;
  }

  Statement* statement_;
  std::string thresholds_[4];
  ScanRow row_;
  bool onRow_ = false;
};

}  // namespace

bool LookupEngine::RunAutoScan() {
  const AutoScanSettings s = AutoScanSettings::Load();
  DomainDatabase* db = Database();
  if (!db || !s.AnyOn() || !db->OpenDomainsTable()) return false;
  DomainList& list = ShownList();
  const int count = list.Count();
  if (autoScanCursor_ < 0 || autoScanCursor_ >= count) autoScanCursor_ = 0;
  ScanReader reader(db->update(), s);
  if (!reader.IsValid()) return false;

  // Whether a fresh row's kept answer holds a lookup error: from the index of
  // the answer folder once it is read, from the row's own file until then.
  const std::filesystem::path answers = s.whois ? WhoisDataFolder() : std::filesystem::path();
  AnswerErrorIndex& errorIndex = AnswerErrorIndex::Instance();
  const bool indexed = s.whois && errorIndex.Ready(answers);
  const auto keptError = [&](std::string_view name) {
    return indexed ? errorIndex.HasLookupError(name) : KeptAnswerHasLookupError(answers, name);
  };
  const std::chrono::microseconds until = ThreadTime() + kAutoScanBudget;
  int queuedNames = 0;
  int position = autoScanCursor_;
  while (position < count) {
    const std::string_view name = list.NameAt(position++);
    if (const ScanRow* row = reader.Find(name)) {
      bool queued = false;
      if (s.whois && !row->locked &&
          (row->due[0] || keptError(name)))
        queued = AddToWhoisQueue(std::string(name)) || queued;
      if (s.dns && !row->locked && row->due[1]) queued = AddToQueue(QueueKind::Dns, std::string(name)) || queued;
      if (s.ping && row->due[2]) queued = AddToQueue(QueueKind::Ping, std::string(name)) || queued;
      if (s.http && row->due[3]) queued = AddToQueue(QueueKind::HomePage, std::string(name)) || queued;
      if (queued && ++queuedNames >= kAutoScanMaxQueuedNames) break;
    }
    if (position % 8 == 0 && ThreadTime() >= until) break;
  }
  autoScanCursor_ = position;
  // A sweep is done: files another program wrote meanwhile are read for the next.
  if (indexed && position >= count) errorIndex.Refresh(answers);
  return true;
}

}  // namespace qv
