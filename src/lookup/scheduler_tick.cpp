// The scheduler tick: feeds the run, dispatches each queue within its limits,
// collects one finished DNS check, refreshes the status and, when nothing is
// queued or running, does the idle work.
#include <string>

#include "lookup/lookup_engine.h"
#include "store/database_connection.h"
#include "store/domain_list.h"

namespace qv {
namespace {

// Set only while a tick runs: a tick that begins inside another one (a nested
// event loop of a dialog opened by a step) returns at once.
bool tickRunning = false;

// The records a tick writes (lookups being prepared, addresses emptied while
// their checks run) are committed together, once, at the end of the tick.
class TickWrites {
 public:
  explicit TickWrites(DomainDatabase* db) {
    if (db && db->OpenDomainsTable() && !db->update().InTransaction() &&
        db->update().Begin() == kDbOk)
      connection_ = &db->update();
  }
  ~TickWrites() {
    if (connection_ && connection_->InTransaction()) connection_->Commit();
  }
  TickWrites(const TickWrites&) = delete;
  TickWrites& operator=(const TickWrites&) = delete;

 private:
  DatabaseConnection* connection_ = nullptr;
};

}  // namespace

void LookupEngine::SchedulerTick() {
  if (tickRunning) return;
  tickRunning = true;
  SyncDatabase();
  HoldRowChanges(true);
  {
    const TickWrites writes(Database());
    FeedRun();
    emit queueBarChanged(QueueBarRowCount());
    UpdateStatusPanes();
    DispatchWhois();
    CollectAndDispatchDns();
    DispatchPing();
    DispatchTrademark();
    DispatchHomePage();
    DispatchLinkPopularity();
  }
  HoldRowChanges(false);
  EndTick();
  tickRunning = false;
}

void LookupEngine::FeedRun() {
  if (run_.source == RunSource::List) {
    for (int i = 0; i < kRunListNamesPerTick && !run_.pending.empty(); ++i) {
      const std::string name = std::move(run_.pending.front());
      run_.pending.pop_front();
      QueueNameForRun(name);
    }
  } else if (run_.source == RunSource::Query) {
    for (int i = 0; i < kRunQueryNamesPerTick && run_.next < run_.total; ++i) {
      const std::string name = GetDomainAt(run_.next);
      ++run_.next;
      QueueNameForRun(name);
    }
  }
}

// Takes up to `limit` entries off the queue while `mayStart` holds, starting
// each; an entry that does not start goes back to the end of the queue.
int LookupEngine::DispatchWith(QueueKind kind, int limit, const std::function<bool()>& mayStart,
                               const std::function<bool(const std::string&)>& start) {
  LookupQueue& queue = Q(kind);
  int taken = 0;
  while (taken < limit && !queue.Empty() && (!mayStart || mayStart())) {
    std::string entry = queue.Take();
    ++taken;
    if (!start(entry)) queue.Add(std::move(entry));
  }
  return taken;
}

void LookupEngine::DispatchWhois() {
  DispatchWith(
      QueueKind::Whois, lookupCount_, [this] { return int(whoisJobs_.size()) < lookupCount_; },
      [this](const std::string& entry) { return StartWhoisLookup(entry); });
}

void LookupEngine::CollectAndDispatchDns() {
  if (std::optional<DnsResult> result = dnsChecks_.CollectOne()) {
    std::string name = result->host;
    if (name.starts_with("www.")) name.erase(0, 4);
    StoreDnsResult(name, result->address);
    emit dnsCompleted(QString::fromStdString(name), QString::fromStdString(result->address));
  }
  DispatchWith(
      QueueKind::Dns, lookupCount_, [this] { return int(dnsChecks_.Size()) < lookupCount_; },
      [this](const std::string& name) { return StartDnsCheck(name); });
}

void LookupEngine::DispatchPing() {
  if (!hooks_.startPing) return;  // no ping check yet: the queue waits
  DispatchWith(
      QueueKind::Ping, kPingDispatchPerTick,
      [this] { return RunningPingCount() <= kPingRunningLimit; }, hooks_.startPing);
}

bool LookupEngine::TrademarkSiteReady() const {
  // To the millisecond: the gap is a matter of seconds.
  if (trademarkNextRequest_.IsValid() && trademarkNextRequest_.days() > Date::NowExact().days())
    return false;
  if (!hooks_.fetchJobTags) return true;
  for (const std::string& tag : hooks_.fetchJobTags())
    if (tag.find("TESSLOGIN") != std::string::npos || tag.find(":TESS") != std::string::npos)
      return false;
  return true;
}

void LookupEngine::DispatchTrademark() {
  if (!hooks_.startTrademark) return;
  DispatchWith(
      QueueKind::Trademark, kWebDispatchPerTick, [this] { return TrademarkSiteReady(); },
      hooks_.startTrademark);
}

void LookupEngine::DispatchHomePage() {
  if (!hooks_.startHomePage) return;
  DispatchWith(QueueKind::HomePage, kWebDispatchPerTick, nullptr, hooks_.startHomePage);
}

void LookupEngine::DispatchLinkPopularity() {
  if (!hooks_.startLinkPopularity) return;
  DispatchWith(
      QueueKind::LinkPopularity, kWebDispatchPerTick,
      [this] { return FetchJobCount() <= kLinkPopularityRunningLimit; }, hooks_.startLinkPopularity);
}

void LookupEngine::EndTick() {
  const std::size_t work =
      QueuedTotal() + whoisJobs_.size() + dnsChecks_.Size() + std::size_t(FetchJobCount());
  if (work != 0) {
    if (!busy_) {
      busy_ = true;
      emit busyChanged(true);
    }
    return;
  }
  if (Database()) SendAlerts();
  if (busy_) {
    busy_ = false;
    emit busyChanged(false);
  }
  if (hooks_.runRescans) hooks_.runRescans();
  emit idle();
}

}  // namespace qv
