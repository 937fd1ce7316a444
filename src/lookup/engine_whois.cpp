// Whois jobs: starting a lookup for a queue entry, and applying its result
// when the worker hands the job back.
#include <QCoreApplication>
#include <QPointer>
#include <algorithm>
#include <system_error>
#include <thread>

#include "lookup/lookup_engine.h"
#include "whois/rdap_answer.h"
#include "whois/rdap_directory.h"
#include "whois/server_directory.h"

namespace qv {
namespace {

constexpr int kMaxRdapRetryAfterSeconds = 3600;

// A lookup that starts over (no server named, or a minimum lookup) rather than
// following a referral or retrying against a known server.
bool IsFreshLookup(std::string_view entry) {
  const std::size_t colon = entry.find(':');
  if (colon == std::string_view::npos) return true;
  const std::string_view server = entry.substr(colon + 1);
  return server.empty() || EqualsNoCase(server, kMinimumLookupServer);
}

// "name:server" with the server filled in from the directory when the entry
// names none.
std::string WithServer(const std::string& entry) {
  const std::size_t colon = entry.find(':');
  if (colon != std::string::npos && colon + 1 < entry.size()) return entry;
  const std::string name = entry.substr(0, colon);
  return name.empty() ? entry : name + ":" + WhoisServerFor(name);
}

bool IsAnswered(const WhoisJob& job, int code) {
  return code == kWhoisTextCode && job.whoisText.find("Whois Lookup Error:") == std::string::npos &&
         job.whoisText != kWhoisTemporarilyDisabledText;
}

}  // namespace

std::vector<std::string> LookupEngine::InFlightServers() const {
  std::vector<std::string> servers;
  servers.reserve(whoisJobs_.size());
  for (const std::shared_ptr<WhoisJob>& job : whoisJobs_) servers.push_back(job->server);
  return servers;
}

std::string LookupEngine::FreshRdapUrl(const std::string& name) const {
  if (protocol_ == LookupProtocol::WhoisOnly) return {};
  return RdapQueryUrl(RdapBaseUrlFor(name), name);
}

std::string LookupEngine::QueuedRdapUrl(const std::string& name, const std::string& server) const {
  const auto asked = asked_.find(name);
  if (asked == asked_.end()) return {};
  const auto url = asked->second.rdapUrls.find(server);
  return url == asked->second.rdapUrls.end() ? std::string() : url->second;
}

WhoisStartDecision LookupEngine::DecideStart(const std::string& entry, std::string& rdapUrl,
                                             bool& noRdapService) {
  const bool fresh = IsFreshLookup(entry);
  const std::size_t colon = entry.find(':');
  const std::string name = entry.substr(0, colon);
  const std::string server = colon == std::string::npos ? std::string() : entry.substr(colon + 1);
  // A fresh lookup (not a minimum one) takes the protocol the setting
  // chooses; a queued "name:server" is RDAP when that server is a service
  // this name's lookup was sent to.
  rdapUrl = fresh ? (server.empty() ? FreshRdapUrl(name) : std::string()) : QueuedRdapUrl(name, server);
  const bool rdapFirst = fresh && protocol_ == LookupProtocol::RdapFirst;
  // "RDAP first" does not wait for a busy service: whois looks the name up.
  if (rdapFirst && !rdapUrl.empty() && serverStates_.AskedToWait(RdapServerKey(rdapUrl))) rdapUrl.clear();
  noRdapService = fresh && server.empty() && rdapUrl.empty() && protocol_ == LookupProtocol::RdapOnly;
  WhoisStartDecision decision;
  if (noRdapService) {
    // Answered at once with the text that says so; no server is involved.
    decision.action = WhoisStartAction::StartWorker;
    decision.name = name;
    return decision;
  }
  const std::string target = rdapUrl.empty() ? WithServer(entry) : name + ":" + RdapServerKey(rdapUrl);
  decision = DecideWhoisStart(target, InFlightServers(), serverStates_);
  if (decision.action == WhoisStartAction::AnswerDisabled && rdapFirst && !rdapUrl.empty()) {
    // The service failed too often: whois looks this name up, and the
    // service is tried again for the next one.
    serverStates_.RecordSuccess(decision.server);
    rdapUrl.clear();
    decision = DecideWhoisStart(WithServer(entry), InFlightServers(), serverStates_);
  }
  return decision;
}

bool LookupEngine::StartWhoisLookup(const std::string& entry) {
  if (entry.empty()) return true;  // nothing to look up: dropped
  SyncDatabase();
  const bool fresh = IsFreshLookup(entry);
  std::string rdapUrl;
  bool noRdapService = false;
  const WhoisStartDecision decision = DecideStart(entry, rdapUrl, noRdapService);
  if (decision.action == WhoisStartAction::Discard) return true;
  if (decision.action == WhoisStartAction::Requeue) return false;

  auto job = std::make_shared<WhoisJob>();
  job->domain = decision.name;
  job->server = decision.server;
  job->rdapUrl = rdapUrl;
  job->document = document_;
  whoisJobs_.push_back(job);

  if (fresh) {
    asked_.erase(job->domain);
    updater_.PrepareFullLookup(job->domain);
    if (autoDns_) AddToQueue(QueueKind::Dns, job->domain);
  }
  if (!job->server.empty()) asked_[job->domain].servers.insert(job->server);
  if (!rdapUrl.empty()) asked_[job->domain].rdapUrls[job->server] = rdapUrl;

  if (noRdapService || decision.action == WhoisStartAction::AnswerDisabled) {
    job->whoisText = noRdapService ? std::string(kUnknownRdapServiceText) : decision.answer;
    PostWhoisDone(job, kWhoisTextCode);
    return true;
  }
  updater_.SetLookupInProgress(job->domain, true);
  if (StartWorkerThread(job)) return true;
  updater_.SetLookupInProgress(job->domain, false);
  TakeJob(job.get());
  return false;
}

bool LookupEngine::StartWorkerThread(const std::shared_ptr<WhoisJob>& job) {
  try {
    std::thread([job, resolver = dnsChecks_.resolver(),
                 guard = QPointer<LookupEngine>(this)] {
      const int code = WhoisWorker(*job, resolver);
      // Only the guard is used on this thread; the engine itself is touched
      // again on its own thread, when the posted call runs.
      QCoreApplication* app = QCoreApplication::instance();
      if (!app) return;
      QMetaObject::invokeMethod(
          app, [guard, job, code] {
            if (guard) guard->OnWhoisDone(job.get(), code);
          },
          Qt::QueuedConnection);
    }).detach();
  } catch (const std::system_error&) {
    return false;
  }
  return true;
}

void LookupEngine::PostWhoisDone(const std::shared_ptr<WhoisJob>& job, int code) {
  QMetaObject::invokeMethod(
      this, [this, job, code] { OnWhoisDone(job.get(), code); }, Qt::QueuedConnection);
}

std::shared_ptr<WhoisJob> LookupEngine::TakeJob(const WhoisJob* job) {
  for (auto it = whoisJobs_.begin(); it != whoisJobs_.end(); ++it) {
    if (it->get() != job) continue;
    std::shared_ptr<WhoisJob> taken = std::move(*it);
    whoisJobs_.erase(it);
    return taken;
  }
  return nullptr;
}

void LookupEngine::OnWhoisDone(const WhoisJob* finished, int code) {
  const std::shared_ptr<WhoisJob> job = TakeJob(finished);
  if (!job) return;  // stopped waiting for it
  SyncDatabase();
  if (!job->server.empty()) {
    if (code == kWhoisTextCode)
      serverStates_.RecordSuccess(job->server);
    else
      serverStates_.RecordFailure(job->server);
  }
  if (job->document != document_) {
    // Started for a document that is no longer open: its names are not this
    // document's, even where they are spelled alike.
    emit queueBarChanged(QueueBarRowCount());
    return;
  }
  if (code == kWhoisTextCode) {
    AnswerOutcome outcome;
    updater_.ApplyWhoisAnswer(job->domain, job->whoisText, &outcome);
    if (!job->rdapUrl.empty()) NoteRegistrarLink(*job);
    if (!job->address.empty()) StoreDnsResult(job->domain, job->address);
    const bool due = outcome.multiLookup && outcome.FollowUpDue();
    const bool followUp = fullWhoisData_ && due && QueueFollowUp(job->domain, outcome.whoisServer);
    // A referral that is not followed leaves this answer the last one.
    if (fullWhoisData_ && due && !followUp) updater_.LogChanges(job->domain, alerts_, true);
    if (!followUp) EndWhoisLookup(job->domain);
  } else if (!HandleWhoisFailure(*job)) {
    KeepRdapFailure(*job);
    EndWhoisLookup(job->domain);
  }
  emit whoisCompleted(QString::fromStdString(job->domain), IsAnswered(*job, code));
  emit queueBarChanged(QueueBarRowCount());
}

void LookupEngine::EndWhoisLookup(const std::string& name) {
  asked_.erase(name);
  snapshots_.SetClearPending(name, false);
}

bool LookupEngine::QueueFollowUp(const std::string& name, const std::string& server) {
  AskedServers& asked = asked_[name];
  if (asked.servers.contains(server)) return false;    // asked already
  if (asked.referrals >= kMaxWhoisReferrals) return false;  // the chain ends here
  ++asked.referrals;
  AddWhoisServerLookup(name, server);
  return true;
}

void LookupEngine::NoteRegistrarLink(const WhoisJob& job) {
  // The registrar's service a registry answer links to is asked as the whois
  // referral is: under its key, which the record now names.
  const std::string link =
      ReadRdapAnswer(SplitStoredRdapAnswer(job.whoisText).body).answer.registrarLink;
  const std::string key = RdapServerKey(link);
  if (key.empty() || EqualsNoCase(key, job.server)) return;
  std::map<std::string, std::string, NoCaseLess>& urls = asked_[job.domain].rdapUrls;
  if (!urls.contains(key)) urls[key] = link;
}

void LookupEngine::KeepRdapFailure(const WhoisJob& job) {
  // The last try of a registry's service failed: its reason becomes the
  // name's kept answer, so the raw answer pane tells why. The record keeps
  // what the last answer left (a failure text changes nothing else); after
  // a registrar's service the registry's answer stays the kept one.
  if (job.rdapUrl.empty() || job.failure.empty()) return;
  const auto asked = asked_.find(job.domain);
  if (asked != asked_.end() && asked->second.referrals > 0) return;
  updater_.ApplyWhoisAnswer(job.domain, "Whois Lookup Error: the RDAP query of " + job.rdapUrl +
                                            " failed.\n\n" + job.failure +
                                            WhoisSourceFooter(job.server));
}

bool LookupEngine::FallBackToWhois(const WhoisJob& job) {
  if (protocol_ != LookupProtocol::RdapFirst) return false;
  const auto asked = asked_.find(job.domain);
  if (asked != asked_.end() && asked->second.referrals > 0) return false;  // a registrar's service
  const std::string server = WhoisServerFor(job.domain);
  if (server.empty()) return false;
  AddWhoisServerLookup(job.domain, server);
  return true;
}

bool LookupEngine::HandleWhoisFailure(const WhoisJob& job) {
  updater_.ApplyWhoisFailure(job.domain);
  if (job.server.empty()) return false;
  if (!job.rdapUrl.empty()) {
    // A wait longer than an hour is cut to one: the run would stall for it.
    if (job.retryAfterSeconds >= 0)
      serverStates_.RecordRetryAfter(job.server, std::min(job.retryAfterSeconds, kMaxRdapRetryAfterSeconds));
    if (FallBackToWhois(job)) return true;
  }
  if (EqualsNoCase(job.server, kMinimumLookupServer)) {
    // No usable address: the name gets a full lookup against its server.
    const std::string rdapUrl = FreshRdapUrl(job.domain);
    if (!rdapUrl.empty()) {
      const std::string key = RdapServerKey(rdapUrl);
      asked_[job.domain].rdapUrls[key] = rdapUrl;
      AddWhoisServerLookup(job.domain, key);
      return true;
    }
    const std::string server = WhoisServerFor(job.domain);
    if (!server.empty()) {
      AddWhoisServerLookup(job.domain, server);
      return true;
    }
    updater_.ApplyWhoisAnswer(job.domain, kUnknownWhoisServerText);
    return false;
  }
  if (serverStates_.ServerFailCount(job.server) >= kWhoisFailuresBeforeSkip) return false;
  AddWhoisServerLookup(job.domain, job.server);
  return true;
}

}  // namespace qv
