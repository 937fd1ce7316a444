// How lookup results reach a domain record.
//
// A fresh whois lookup first keeps a copy of the record (for the change log);
// its first answer clears what the lookup fills again and fills the
// registration fields (nothing is cleared in the stored record before an
// answer is in, so a failed lookup or a killed process loses nothing), and once the authoritative answer is in, the record is
// compared with the copy and the differences are logged (change_log.h). A
// registry answer that names the registrar's whois server marks the record
// `MultiLookup`: the registrar's answer follows and completes the same record
// without clearing it.
//
// Everything here runs on the main thread, on the open document's database.
// The lookup engine owns the RecordUpdater together with the snapshot list
// and the pending alerts it works on.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "platform/date.h"

namespace qv {

class AlertList;
class DomainDatabase;
class DomainRecord;
class SnapshotList;

// The text a whois answer carries when the server could not be reached; such
// an answer changes nothing but the stored text.
inline constexpr std::string_view kNotReachableText =
    "Whois Lookup Error: Whois server is currently not reachable.";

// What ApplyWhoisAnswer did, for the caller that decides on a follow-up.
struct AnswerOutcome {
  bool stored = false;        // the name is stored and the answer was applied
  bool parsed = false;        // false for a text that reports a failure
  std::string source;         // the server that answered (the footer)
  std::string whoisServer;    // the record's `Whois Server` afterwards
  bool multiLookup = false;   // the record's `MultiLookup` afterwards
  bool logged = false;        // a change-log entry was written
  // True when the record names a whois server other than the one that just
  // answered: the authoritative answer is still to come from that server.
  bool FollowUpDue() const;
};

// Empties what a fresh lookup fills again: the six lookup dates, the
// registration texts, the name servers, the e-mails, the owner and the
// availability; `MultiLookup`, `Lock` and `Edited` become 0. Notes, groups
// and every other field are kept. (The in-progress mark is the snapshot
// list's; see RecordUpdater::PrepareFullLookup.)
void ClearForLookup(DomainRecord& record);

// Sets or clears `Lock` of a stored name and writes the record. False when
// the name is not stored or the write failed.
bool SetLock(DomainDatabase& db, std::string_view name, bool locked);

// A date the user changed by hand in the domain's properties: writes the date
// into `field` (a date field of `Domains`; the older names are accepted), sets
// `Edited` and locks the record so that lookups leave the date alone. False
// when the name is not stored, the field is not a date field or the write
// failed.
bool ApplyManualDateEdit(DomainDatabase& db, std::string_view name, std::string_view field,
                         const Date& date);

class RecordUpdater {
 public:
  using NameCallback = std::function<void(const std::string& name)>;
  using TextSaver = std::function<void(const std::string& name, const std::string& whoisText)>;

  // `db` may be null while no document is open (every call then does
  // nothing); the snapshot list and the alert list must outlive the updater.
  RecordUpdater(DomainDatabase* db, SnapshotList& snapshots, AlertList& alerts);

  void SetDatabase(DomainDatabase* db) { db_ = db; }
  DomainDatabase* Database() const { return db_; }
  SnapshotList& Snapshots() { return snapshots_; }
  AlertList& Alerts() { return alerts_; }

  // Called after a record was written or its in-progress mark changed, so
  // the list can redraw the row.
  void SetRowChanged(NameCallback callback) { rowChanged_ = std::move(callback); }
  // Writes the answer file of a name (the whois worker's SaveWhoisText).
  void SetWhoisTextSaver(TextSaver saver) { saveText_ = std::move(saver); }
  // Sends the pending alerts now; called when the oldest one has waited
  // kAlertMaxWaitMinutes.
  void SetAlertSender(std::function<void()> sender) { sendAlerts_ = std::move(sender); }
  // Where entries are appended; ChangeLogPath() unless set.
  void SetChangeLogPath(std::filesystem::path path) { logPath_ = std::move(path); }
  std::filesystem::path ChangeLogFile() const;
  // Whether the engine follows referrals (`Get Full Whois Data`). When it does
  // not, the first answer is the last one and is logged at once.
  void SetFollowReferrals(bool follow) { followReferrals_ = follow; }
  // The clock for `Last Checked At` and alert times (tests fix it).
  void SetClock(std::function<Date()> clock) { clock_ = std::move(clock); }

  // Before a fresh lookup of a stored name: keeps a copy of the record and
  // notes that the first answer starts from a cleared record (keeping `IP`,
  // `IP Checked At` and the lock). Nothing is written. False when the name
  // is not stored.
  bool PrepareFullLookup(std::string_view name);
  // Marks a name as being looked up (or no longer) and redraws its row.
  void SetLookupInProgress(std::string_view name, bool inProgress);
  // Stores a whois answer (server text and source footer) in the record,
  // writes the record and the answer file, and logs the changes once the
  // authoritative answer is in. A text that reports a failure (a lookup
  // error, no server known, the server skipped) is kept as the answer file
  // only; the record stays as it was. False when the name is not stored.
  bool ApplyWhoisAnswer(std::string_view name, std::string_view whoisText,
                        AnswerOutcome* outcome = nullptr);
  // A lookup that ended without an answer. When it was the follow-up of a
  // referral, what the first answer brought is logged; the copy is kept.
  void ApplyWhoisFailure(std::string_view name);
  // Compares the record with its copy from before the lookup and, when a
  // watched field differs, adds the entry to `alerts` and to the log file.
  // The copy is dropped when `dropSnapshot` is set (whether or not anything
  // was logged). True when an entry was written.
  bool LogChanges(std::string_view name, AlertList& alerts, bool dropSnapshot);
  // SetLock on the open document.
  bool SetLock(std::string_view name, bool locked);

 private:
  Date Now() const;
  bool LogRecordChanges(const DomainRecord& current, AlertList& alerts, bool dropSnapshot);
  void RecordFailureText(const DomainRecord& record, std::string_view whoisText,
                         AnswerOutcome* outcome);
  void LogFailedFollowUp(const DomainRecord& record);
  void RowChanged(std::string_view name);
  void SendAlertsWhenOverdue();

  DomainDatabase* db_;
  SnapshotList& snapshots_;
  AlertList& alerts_;
  NameCallback rowChanged_;
  TextSaver saveText_;
  std::function<void()> sendAlerts_;
  std::function<Date()> clock_;
  std::filesystem::path logPath_;
  bool followReferrals_ = true;
};

}  // namespace qv
