// The lookup engine: the six queues of pending checks (whois, DNS, ping, home
// page, link popularity, trademark), the work in progress, the lookup run and
// the scheduler tick that hands queued names to workers within per-kind
// limits. The main window owns one and calls SchedulerTick from its timer
// (or lets the engine run its own timer, as the command-line run does).
//
// Everything here runs on the thread that owns the engine (the main thread).
// Workers run on threads of their own, fill their own job object and hand it
// back with a queued invocation; a result that arrives after the engine is
// gone is dropped.
//
// Ping, home page, link popularity and trademark checks are started through
// hooks (WebCheckHooks). A kind whose start function is not set is not
// offered: nothing is queued for it (so it never shows as pending work), and
// the commands and dialogs leave it out (Offers). Setting the hook turns the
// kind on.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <array>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "lookup/change_log.h"
#include "lookup/dns_check.h"
#include "lookup/invalid_ip_list.h"
#include "lookup/lookup_queue.h"
#include "lookup/lookup_run.h"
#include "lookup/lookup_settings.h"
#include "lookup/lookup_snapshot.h"
#include "lookup/record_update.h"
#include "lookup/whois_worker.h"
#include "platform/date.h"
#include "store/domain_fields.h"
#include "whois/whois_server_state.h"

namespace qv {

class DomainDatabase;

// Referrals followed for one name after its first answer: a chain of
// servers each naming another ends after this many.
inline constexpr int kMaxWhoisReferrals = 3;

// The period of the main window's timer.
inline constexpr int kSchedulerTickMs = 6000;

// The six queues, in the order the engine keeps them.
enum class QueueKind { Whois, Dns, Ping, HomePage, LinkPopularity, Trademark };
inline constexpr std::size_t kQueueKindCount = 6;

// Per-tick dispatch limits of the kinds without a setting of their own.
inline constexpr int kPingDispatchPerTick = 20;
inline constexpr int kPingRunningLimit = 4;     // pings start while at most this many run
inline constexpr int kWebDispatchPerTick = 2;   // home page, link popularity, trademark
inline constexpr int kLinkPopularityRunningLimit = 4;  // fetch jobs running (H)

// Status panes the engine fills (0-based, as the frame's status bar counts).
inline constexpr int kTotalPane = 2;
inline constexpr int kDisplayPane = 3;
inline constexpr int kQueuePane = 4;
inline constexpr int kWorkPane = 5;

// Markup of running work in the lookup queue bar (the list's colour mark 1).
inline constexpr const char* kRunningRowMark = "<#!1>";

// The checks that later parts of the program carry out, and what the
// scheduler needs to know about them. Every member may stay empty.
struct WebCheckHooks {
  // Start functions: true when the check was started; false puts the name
  // back at the end of its queue.
  std::function<bool(const std::string& name)> startPing;
  std::function<bool(const std::string& name)> startHomePage;
  std::function<bool(const std::string& name)> startLinkPopularity;
  std::function<bool(const std::string& name)> startTrademark;
  // Running ping workers (the counter P).
  std::function<int()> runningPings;
  // The tags of the running HTTP fetch jobs ("name:HTTP", ...); their number
  // is the counter H.
  std::function<std::vector<std::string>()> fetchJobTags;
  // Cancels every HTTP fetch job (Stop).
  std::function<void()> cancelFetchJobs;
  // Stops the running pings: no further echo, no result stored (Stop).
  std::function<void()> cancelPings;
  // Idle work: sends the pending alerts, runs the automatic rescans.
  std::function<void()> sendAlerts;
  std::function<void()> runRescans;
};

class LookupEngine : public QObject {
  Q_OBJECT

 public:
  // Gives the open document's database, or null (also a database without a
  // path counts as no document).
  using DatabaseGetter = std::function<DomainDatabase*()>;

  explicit LookupEngine(DatabaseGetter database, int tickMs = kSchedulerTickMs,
                        QObject* parent = nullptr);
  LookupEngine(DomainDatabase* database, int tickMs, QObject* parent = nullptr);
  ~LookupEngine() override;

  // --- The document --------------------------------------------------------
  // Another document was opened (or the document closed). Work started for
  // the old one is dropped: the queues, the run and the DNS checks are
  // emptied, and whois results still on their way are not applied. The
  // engine also notices a changed database path by itself.
  void DocumentChanged();

  // --- The timer -----------------------------------------------------------
  // The engine's own timer calls SchedulerTick every tick period. A window
  // that has its own timer calls SchedulerTick instead.
  void StartTimer();
  void StopTimer();
  int TickPeriodMs() const { return tickMs_; }

  // --- Hooks and resolver ----------------------------------------------------
  void SetWebCheckHooks(WebCheckHooks hooks) { hooks_ = std::move(hooks); }
  // Who mails the pending alerts (the window's or the command line's alert
  // mailer); called when the engine becomes idle and when the oldest alert
  // is overdue. Without one, the hook's sendAlerts is used.
  void SetAlertSender(std::function<void()> send) { alertSender_ = std::move(send); }
  // The resolver used by DNS checks and minimum lookups (tests replace it).
  void SetHostResolver(HostResolver resolver);

  // --- Switches and limits ---------------------------------------------------
  int LookupCount() const { return lookupCount_; }
  // Reads `DNS Lookup Count` again (after the lookup settings dialog).
  void ReloadLookupCount();
  void SetLookupCount(int count);
  bool QuickWhoisLookup() const { return quickWhois_; }
  // On: `Get Full Whois Data` and `Auto DNS Lookup` go off in memory; off:
  // both are read from the settings again. Written to the settings.
  void SetQuickWhoisLookup(bool on);
  bool FullWhoisData() const { return fullWhoisData_; }
  void SetFullWhoisData(bool on);  // written to the settings
  bool AutoDnsLookup() const { return autoDns_; }
  // `Lookup Protocol`: read at start; ReloadLookupProtocol reads it again
  // (after the lookup settings dialog). Set changes it in memory only.
  LookupProtocol Protocol() const { return protocol_; }
  void SetLookupProtocol(LookupProtocol protocol) { protocol_ = protocol; }
  void ReloadLookupProtocol();

  // --- Queue operations ------------------------------------------------------
  // Refused for an empty name and while no document is open; with
  // `Quick Whois Lookup` on the entry is "name:DNS".
  bool AddToWhoisQueue(const std::string& name);
  // "name:server": a lookup of the name against that server.
  bool AddWhoisServerLookup(const std::string& name, const std::string& server);
  // AddToWhoisQueue when NeedsWhoisLookup holds.
  bool QueueWhoisIfDue(const std::string& name, int gapMinutes);
  // Add the name unless its stored record is locked (a name that is not
  // stored is queued).
  bool QueueDns(const std::string& name);
  bool QueuePing(const std::string& name);
  bool QueueHomePage(const std::string& name);
  bool QueueLinkPopularity(const std::string& name);
  bool QueueTrademark(const std::string& name);
  // Adds straight to a queue, without the lock test; refused for a kind the
  // engine does not offer.
  bool AddToQueue(QueueKind kind, const std::string& entry);
  // Empties one queue and gives back its entries in order.
  std::vector<std::string> TakeQueue(QueueKind kind);
  // Whether checks of this kind can run: whois and DNS always, the others
  // once their start function is set.
  bool Offers(QueueKind kind) const;
  const LookupQueue& Queue(QueueKind kind) const { return queues_[std::size_t(kind)]; }
  std::size_t QueuedTotal() const;

  // The record test of the whois commands: false for a name that is not
  // stored or is locked; true when it was never checked, when its kept answer
  // holds "Whois Lookup Error:", or when it was last checked `gapMinutes` or
  // more ago.
  bool NeedsWhoisLookup(const std::string& name, int gapMinutes) const;

  // --- The lookup run --------------------------------------------------------
  const LookupRun& Run() const { return run_; }
  bool RunBusy() const { return run_.Busy(); }
  // A list-source run over `names`.
  void StartListRun(const LookupRunOptions& options, std::vector<std::string> names);
  // Turns the run's six kind switches off (the Lookup dialog confirmed with no
  // kind ticked); the gap and what the run holds stay.
  void ClearRunSwitches();
  // A query-source run over the `total` rows of the lookup filter (read
  // with GetDomainAt).
  void StartQueryRun(const LookupRunOptions& options, int total);
  // The run's per-name step: each kind the run asks for, in order.
  void QueueNameForRun(const std::string& name);

  // --- The scheduler -----------------------------------------------------------
  void SchedulerTick();
  // Stop: empties the queues, forgets the DNS checks and the run, cancels
  // the fetch jobs and the pings. Running whois jobs still report.
  void StopLookups();
  // Something is queued or running (Stop is enabled).
  bool CanStop() const;
  // Nothing queued, no whois job, DNS check or fetch job running.
  bool IsIdle() const;
  bool IsBusy() const { return busy_; }

  // --- Automatic rescans ------------------------------------------------------------
  // The idle-time walk over the shown list (auto_scan.cpp): from the cursor,
  // as many names as fit in kAutoScanBudget, each check that is due queued.
  // False when no document is open or every rescan switch is off (the
  // cursor stays then).
  bool RunAutoScan();
  int AutoScanCursor() const { return autoScanCursor_; }
  void SetAutoScanCursor(int position) { autoScanCursor_ = position; }

  // --- Work in progress ----------------------------------------------------------
  int WhoisJobCount() const { return int(whoisJobs_.size()); }       // W
  int DnsCheckCount() const { return int(dnsChecks_.Size()); }       // D
  int FetchJobCount() const;                                          // H
  int RunningPingCount() const;                                       // P
  const DnsCheckList& DnsChecks() const { return dnsChecks_; }
  const WhoisServerStateTable& ServerStates() const { return serverStates_; }

  // The trademark site's next request time (null: no wait).
  void SetTrademarkNextRequestTime(const Date& when) { trademarkNextRequest_ = when; }
  const Date& TrademarkNextRequestTime() const { return trademarkNextRequest_; }

  // --- Whois ---------------------------------------------------------------------
  // Starts the lookup of a whois queue entry ("name", "name:DNS" or
  // "name:server"). False when it cannot start now (the entry goes back to
  // the end of the queue); an entry without a name is dropped (true).
  bool StartWhoisLookup(const std::string& entry);
  // The completion of a whois job (kWhoisTextCode or kWhoisNoAnswerCode).
  // A job that is no longer listed is ignored.
  void OnWhoisDone(const WhoisJob* job, int code);

  // --- DNS -----------------------------------------------------------------------
  // Starts the check of "www." + name and empties the stored address until
  // the result comes. False for an empty name.
  bool StartDnsCheck(const std::string& name);
  // Stores an address (empty: none yet) and the time in the name's record;
  // a name that is not stored is ignored.
  void StoreDnsResult(const std::string& name, const std::string& address);
  InvalidIpList& InvalidAddresses() { return invalidAddresses_; }
  // Replaces the invalid-address list and writes it to the store.
  void SetInvalidAddresses(const InvalidIpList& list);

  // --- Record update ---------------------------------------------------------------
  RecordUpdater& Updater() { return updater_; }
  SnapshotList& Snapshots() { return snapshots_; }
  AlertList& Alerts() { return alerts_; }

  // --- What the window shows -------------------------------------------------------
  // The texts of panes 2 to 5 as of the last tick (empty for other panes).
  QString StatusPaneText(int pane) const;
  // Computes the pane texts now (the tick does this itself).
  void UpdateStatusPanes();
  // The lookup queue bar: its rows, running work first ("<#!1>" marked).
  int QueueBarRowCount() const;
  QString QueueBarRow(int row) const;
  // The bar's empty text.
  static QString QueueBarEmptyText() { return QStringLiteral("Empty Lookup Queue"); }

 signals:
  // Pane texts were recomputed.
  void statusChanged();
  // The lookup queue bar's row count may have changed.
  void queueBarChanged(int rowCount);
  // A record was written or its in-progress mark changed.
  void recordChanged(const QString& name);
  // The busy animation starts (true) or stops (false).
  void busyChanged(bool busy);
  // A tick found nothing queued or running.
  void idle();
  // A whois job's result was applied: `answered` is false for a lookup
  // without an answer or one whose text is a lookup error.
  void whoisCompleted(const QString& name, bool answered);
  // A DNS result was stored ("Error" when the host did not resolve).
  void dnsCompleted(const QString& name, const QString& address);

 private:
  DomainDatabase* Database() const;
  void SyncDatabase();
  // recordChanged, or held back until HoldRowChanges(false) while a tick's
  // writes are not yet committed (a row read before the commit would show
  // the record as it was).
  void RowChanged(const std::string& name);
  void HoldRowChanges(bool hold);
  bool IsLocked(const std::string& name) const;
  bool AddUnlessLocked(QueueKind kind, const std::string& name);
  LookupQueue& Q(QueueKind kind) { return queues_[std::size_t(kind)]; }

  void FeedRun();
  void DispatchWhois();
  void CollectAndDispatchDns();
  void DispatchPing();
  void DispatchTrademark();
  void DispatchHomePage();
  void DispatchLinkPopularity();
  bool TrademarkSiteReady() const;
  int DispatchWith(QueueKind kind, int limit, const std::function<bool()>& mayStart,
                   const std::function<bool(const std::string&)>& start);
  void EndTick();
  void SendAlerts();

  std::vector<std::string> InFlightServers() const;
  std::shared_ptr<WhoisJob> TakeJob(const WhoisJob* job);
  void PostWhoisDone(const std::shared_ptr<WhoisJob>& job, int code);
  bool StartWorkerThread(const std::shared_ptr<WhoisJob>& job);
  // Queues the referral unless that server was asked already or the name has
  // followed kMaxWhoisReferrals referrals; true when queued.
  bool QueueFollowUp(const std::string& name, const std::string& server);
  // Forgets what the engine kept for one name's lookup.
  void EndWhoisLookup(const std::string& name);
  // The failure path; true when the name was queued again.
  bool HandleWhoisFailure(const WhoisJob& job);
  // What to do with a whois queue entry: the whois admission decision, for
  // an RDAP service when `rdapUrl` comes back set; `noRdapService` when
  // "RDAP only" finds no service for a fresh lookup.
  WhoisStartDecision DecideStart(const std::string& entry, std::string& rdapUrl, bool& noRdapService);
  // The RDAP query URL of a fresh lookup of `name` under the protocol
  // setting; empty when whois looks it up.
  std::string FreshRdapUrl(const std::string& name) const;
  // The URL of an RDAP service queued for a name ("name:key"); empty when
  // the entry's server is a whois server.
  std::string QueuedRdapUrl(const std::string& name, const std::string& server) const;
  // RDAP-first: after a failed RDAP query of a registry, the name's whois
  // server takes over. True when it was queued.
  bool FallBackToWhois(const WhoisJob& job);
  // The failure text of an RDAP lookup that is given up.
  void KeepRdapFailure(const WhoisJob& job);
  // Keeps the registrar link of an RDAP answer for the follow-up.
  void NoteRegistrarLink(const WhoisJob& job);

  DatabaseGetter database_;
  std::string databasePath_;  // the document the snapshots belong to
  unsigned long long document_ = 0;  // counts document changes
  int tickMs_;
  QTimer timer_;
  WebCheckHooks hooks_;
  std::function<void()> alertSender_;

  std::array<LookupQueue, kQueueKindCount> queues_;
  LookupRun run_;
  int lookupCount_;
  bool quickWhois_ = false;
  bool fullWhoisData_ = true;
  bool autoDns_ = true;
  LookupProtocol protocol_ = LookupProtocol::RdapFirst;
  bool busy_ = false;
  bool holdRows_ = false;
  std::vector<std::string> heldRows_;
  Date trademarkNextRequest_;

  std::vector<std::shared_ptr<WhoisJob>> whoisJobs_;  // W
  WhoisServerStateTable serverStates_;
  // Servers asked for each name since its fresh lookup began, and the
  // referrals followed; a referral to a server asked already is not followed
  // (two servers naming each other would otherwise be asked in turn for
  // ever), nor one beyond kMaxWhoisReferrals.
  struct AskedServers {
    std::set<std::string, NoCaseLess> servers;
    int referrals = 0;
    // The RDAP services among them: service key -> query URL.
    std::map<std::string, std::string, NoCaseLess> rdapUrls;
  };
  std::map<std::string, AskedServers, NoCaseLess> asked_;
  DnsCheckList dnsChecks_;                            // D
  InvalidIpList invalidAddresses_;

  SnapshotList snapshots_;
  AlertList alerts_;
  RecordUpdater updater_;

  std::array<QString, kWorkPane + 1> paneTexts_;
  int autoScanCursor_ = 0;
};

}  // namespace qv
