// The engine's state, its queue operations and the lookup run. The tick is in
// scheduler_tick.cpp, whois jobs in engine_whois.cpp, DNS checks in
// engine_dns.cpp and the texts the window shows in engine_status.cpp.
#include "lookup/lookup_engine.h"

#include "lookup/answer_error_index.h"
#include "lookup/answer_files.h"
#include "lookup/lookup_settings.h"
#include "store/database_connection.h"
#include "store/domain_record.h"
#include "store/name_text.h"

namespace qv {

LookupEngine::LookupEngine(DatabaseGetter database, int tickMs, QObject* parent)
    : QObject(parent),
      database_(std::move(database)),
      tickMs_(tickMs > 0 ? tickMs : kSchedulerTickMs),
      lookupCount_(DnsLookupCountSetting()),
      invalidAddresses_(InvalidIpList::Load()),
      updater_(nullptr, snapshots_, alerts_) {
  quickWhois_ = QuickWhoisLookupSetting();
  fullWhoisData_ = !quickWhois_ && GetFullWhoisDataSetting();
  autoDns_ = !quickWhois_ && AutoDnsLookupSetting();
  protocol_ = LookupProtocolSetting();
  updater_.SetFollowReferrals(fullWhoisData_);
  updater_.SetWhoisTextSaver([](const std::string& name, const std::string& text) {
    SaveWhoisText(name, text);  // a file that cannot be written leaves the result standing
  });
  updater_.SetRowChanged([this](const std::string& name) { RowChanged(name); });
  updater_.SetAlertSender([this] { SendAlerts(); });
  timer_.setInterval(tickMs_);
  connect(&timer_, &QTimer::timeout, this, &LookupEngine::SchedulerTick);
  if (DomainDatabase* db = Database()) databasePath_ = db->Path();
}

LookupEngine::LookupEngine(DomainDatabase* database, int tickMs, QObject* parent)
    : LookupEngine(DatabaseGetter([database] { return database; }), tickMs, parent) {}

LookupEngine::~LookupEngine() = default;

void LookupEngine::StartTimer() { timer_.start(); }

void LookupEngine::SendAlerts() {
  if (alertSender_) {
    alertSender_();
  } else if (hooks_.sendAlerts) {
    hooks_.sendAlerts();
  }
}
void LookupEngine::StopTimer() { timer_.stop(); }

void LookupEngine::SetHostResolver(HostResolver resolver) {
  dnsChecks_.SetResolver(std::move(resolver));
}

// --- Document -------------------------------------------------------------

DomainDatabase* LookupEngine::Database() const {
  DomainDatabase* db = database_ ? database_() : nullptr;
  return db && db->HasPath() ? db : nullptr;
}

void LookupEngine::SyncDatabase() {
  DomainDatabase* db = Database();
  const std::string path = db ? db->Path() : std::string();
  if (path != databasePath_) {
    databasePath_ = path;
    DocumentChanged();
  }
  updater_.SetDatabase(db);
}

void LookupEngine::DocumentChanged() {
  // The names queued, the copies and marks kept and the results on their way
  // all belong to the old document and mean nothing in the new one.
  ++document_;
  snapshots_.Clear();
  asked_.clear();
  for (LookupQueue& queue : queues_) queue.Clear();
  dnsChecks_.Clear();
  run_.Clear();
  DomainDatabase* db = Database();
  databasePath_ = db ? db->Path() : std::string();
  updater_.SetDatabase(db);
  emit queueBarChanged(QueueBarRowCount());
}

void LookupEngine::RowChanged(const std::string& name) {
  if (holdRows_)
    heldRows_.push_back(name);
  else
    emit recordChanged(QString::fromStdString(name));
}

void LookupEngine::HoldRowChanges(bool hold) {
  holdRows_ = hold;
  if (hold) return;
  std::vector<std::string> rows;
  rows.swap(heldRows_);
  for (const std::string& name : rows) emit recordChanged(QString::fromStdString(name));
}

// --- Switches ---------------------------------------------------------------

void LookupEngine::ReloadLookupCount() { lookupCount_ = DnsLookupCountSetting(); }

void LookupEngine::ReloadLookupProtocol() { protocol_ = LookupProtocolSetting(); }

void LookupEngine::SetLookupCount(int count) {
  SetDnsLookupCountSetting(count);
  ReloadLookupCount();
}

void LookupEngine::SetQuickWhoisLookup(bool on) {
  quickWhois_ = on;
  SetQuickWhoisLookupSetting(on);
  fullWhoisData_ = !on && GetFullWhoisDataSetting();
  autoDns_ = !on && AutoDnsLookupSetting();
  updater_.SetFollowReferrals(fullWhoisData_);
}

void LookupEngine::SetFullWhoisData(bool on) {
  fullWhoisData_ = on;
  SetGetFullWhoisDataSetting(on);
  updater_.SetFollowReferrals(on);
}

// --- Queues -------------------------------------------------------------------

bool LookupEngine::Offers(QueueKind kind) const {
  switch (kind) {
    case QueueKind::Whois:
    case QueueKind::Dns:
      return true;
    case QueueKind::Ping:
      return bool(hooks_.startPing);
    case QueueKind::HomePage:
      return bool(hooks_.startHomePage);
    case QueueKind::LinkPopularity:
      return bool(hooks_.startLinkPopularity);
    case QueueKind::Trademark:
      return bool(hooks_.startTrademark);
  }
  return false;
}

bool LookupEngine::AddToQueue(QueueKind kind, const std::string& entry) {
  if (entry.empty() || !Offers(kind)) return false;
  // A document of an older release may hold text that is no domain name
  // ("#", "...."); no server is asked about it.
  if (!StorableDomainName(std::string_view(entry).substr(0, entry.find(':')))) return false;
  return Q(kind).Add(entry);
}

std::vector<std::string> LookupEngine::TakeQueue(QueueKind kind) {
  std::vector<std::string> entries;
  while (!Q(kind).Empty()) entries.push_back(Q(kind).Take());
  return entries;
}

std::size_t LookupEngine::QueuedTotal() const {
  std::size_t total = 0;
  for (const LookupQueue& queue : queues_) total += queue.Size();
  return total;
}

bool LookupEngine::AddToWhoisQueue(const std::string& name) {
  if (name.empty() || !Database()) return false;
  return AddToQueue(QueueKind::Whois, quickWhois_ ? name + ":DNS" : name);
}

bool LookupEngine::AddWhoisServerLookup(const std::string& name, const std::string& server) {
  if (name.empty()) return false;
  return AddToQueue(QueueKind::Whois, name + ":" + server);
}

bool LookupEngine::QueueWhoisIfDue(const std::string& name, int gapMinutes) {
  return NeedsWhoisLookup(name, gapMinutes) && AddToWhoisQueue(name);
}

bool LookupEngine::IsLocked(const std::string& name) const {
  DomainDatabase* db = Database();
  DomainRecord record;
  return db && db->ReadRecord(name, record) && record.Locked();
}

bool LookupEngine::AddUnlessLocked(QueueKind kind, const std::string& name) {
  if (name.empty() || IsLocked(name)) return false;
  return AddToQueue(kind, name);
}

bool LookupEngine::QueueDns(const std::string& name) { return AddUnlessLocked(QueueKind::Dns, name); }
bool LookupEngine::QueuePing(const std::string& name) { return AddUnlessLocked(QueueKind::Ping, name); }
bool LookupEngine::QueueHomePage(const std::string& name) {
  return AddUnlessLocked(QueueKind::HomePage, name);
}
bool LookupEngine::QueueLinkPopularity(const std::string& name) {
  return AddUnlessLocked(QueueKind::LinkPopularity, name);
}
bool LookupEngine::QueueTrademark(const std::string& name) {
  return AddUnlessLocked(QueueKind::Trademark, name);
}

bool LookupEngine::NeedsWhoisLookup(const std::string& name, int gapMinutes) const {
  DomainDatabase* db = Database();
  DomainRecord record;
  if (!db || !db->ReadRecord(name, record) || record.Locked()) return false;
  const Date checked = record.DateValue(field::kLastCheckedAt);
  if (!checked.IsValid()) return true;
  const int gap = std::max(gapMinutes, 0);
  const double gapDays = gap / 1440 + (gap % 1440 / 60) / 24.0 + (gap % 60) / 1440.0;
  const Date threshold = Date::Now().AddDays(-gapDays);
  if (!threshold.IsValid() || checked.days() <= threshold.days()) return true;
  // Checked within the gap: due all the same when the kept answer is an
  // error, known from the index of the answer folder once it is read (a run
  // over a whole list would otherwise open every recent name's file).
  const std::filesystem::path answers = WhoisDataFolder();
  AnswerErrorIndex& errorIndex = AnswerErrorIndex::Instance();
  return errorIndex.Ready(answers) ? errorIndex.HasLookupError(record.Domain())
                                   : KeptAnswerHasLookupError(answers, record.Domain());
}

// --- The run -------------------------------------------------------------------

void LookupEngine::StartListRun(const LookupRunOptions& options, std::vector<std::string> names) {
  run_.Clear();
  run_.options = options;
  run_.source = RunSource::List;
  run_.total = int(names.size());
  run_.pending.assign(std::make_move_iterator(names.begin()), std::make_move_iterator(names.end()));
}

void LookupEngine::ClearRunSwitches() {
  const int gap = run_.options.gapMinutes;
  run_.options = LookupRunOptions{};
  run_.options.gapMinutes = gap;
}

void LookupEngine::StartQueryRun(const LookupRunOptions& options, int total) {
  run_.Clear();
  run_.options = options;
  run_.source = RunSource::Query;
  run_.total = std::max(total, 0);
  run_.next = 0;
}

void LookupEngine::QueueNameForRun(const std::string& name) {
  const LookupRunOptions& o = run_.options;
  if (o.whois) QueueWhoisIfDue(name, o.gapMinutes);
  if (o.dns) QueueDns(name);
  if (o.ping) QueuePing(name);
  if (o.homePage) QueueHomePage(name);
  if (o.linkPopularity) QueueLinkPopularity(name);
  if (o.trademark) QueueTrademark(name);
}

// --- Counters -------------------------------------------------------------------

int LookupEngine::FetchJobCount() const {
  return hooks_.fetchJobTags ? int(hooks_.fetchJobTags().size()) : 0;
}

int LookupEngine::RunningPingCount() const {
  return hooks_.runningPings ? hooks_.runningPings() : 0;
}

bool LookupEngine::IsIdle() const {
  return QueuedTotal() == 0 && whoisJobs_.empty() && dnsChecks_.Size() == 0 && FetchJobCount() == 0;
}

bool LookupEngine::CanStop() const { return !IsIdle(); }

void LookupEngine::StopLookups() {
  for (LookupQueue& queue : queues_) queue.Clear();
  dnsChecks_.Clear();
  run_.Clear();
  if (FetchJobCount() != 0 && hooks_.cancelFetchJobs) hooks_.cancelFetchJobs();
  if (RunningPingCount() != 0 && hooks_.cancelPings) hooks_.cancelPings();
  trademarkNextRequest_ = Date::Null();
  emit queueBarChanged(QueueBarRowCount());
}

}  // namespace qv
