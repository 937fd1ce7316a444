// The change log: after the authoritative answer of a lookup is stored, the
// record is compared with its copy from before the lookup, and the
// differences that matter to an owner (dates, admin contact, the first two
// name servers, status) become one entry. Each entry goes to the pending
// alerts and is appended to "domainchangelog.txt" in the per-user data
// folder; the program never truncates that file.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "platform/date.h"

namespace qv {

class DomainRecord;

// --- Pending alerts ---------------------------------------------------------

// What raised an alert: a change of the registration data or a failed ping.
enum class AlertKind { Change, Ping };

// One alert waiting to be mailed, with the time it was added.
struct AlertItem {
  std::string text;
  Date added;
  AlertKind kind = AlertKind::Change;
};

// The alerts not sent yet, oldest first. The lookup engine owns the list;
// the alert mailer takes the items it sends.
class AlertList {
 public:
  void Add(std::string text, const Date& added, AlertKind kind = AlertKind::Change) {
    items_.push_back({std::move(text), added, kind});
  }
  const std::vector<AlertItem>& Items() const { return items_; }
  std::size_t size() const { return items_.size(); }
  bool empty() const { return items_.empty(); }
  // Hands every item over and leaves the list empty.
  std::vector<AlertItem> TakeAll();
  void Clear() { items_.clear(); }
  // When the oldest item was added; null when the list is empty.
  Date OldestAdded() const;

 private:
  std::vector<AlertItem> items_;
};

// Alerts are sent at once, without waiting for the engine to be idle, when
// the oldest pending one is this old.
inline constexpr int kAlertMaxWaitMinutes = 10;
// True when the oldest pending alert was added kAlertMaxWaitMinutes or more
// before `now`.
bool AlertsOverdue(const AlertList& alerts, const Date& now);

// --- The log file -----------------------------------------------------------

inline constexpr const char* kChangeLogFileName = "domainchangelog.txt";

// The change log in the per-user data folder (created when missing).
std::filesystem::path ChangeLogPath();

// Appends `entry` to the file, creating it when missing. False when the file
// cannot be opened or written; nothing is reported to the user.
bool AppendToChangeLog(const std::filesystem::path& path, std::string_view entry);

// --- Entry texts --------------------------------------------------------------

// True when the two records agree on everything the log watches: the created,
// registry expiry, registrar expiry and last update dates, the admin e-mail,
// NS1, NS2 and the status.
bool SameWatchedFields(const DomainRecord& oldRecord, const DomainRecord& newRecord);

// One line per watched field that differs, old value first, in the fixed
// order; dates in the short display form ("-" for an unset date). Empty when
// nothing differs.
std::string ChangeDifferenceText(const DomainRecord& oldRecord, const DomainRecord& newRecord);

// "Domain: %s, Lookup: %s\r\n%s\r\n": the name, the time of the lookup in the
// date-and-time display form, and the difference text.
std::string ChangeLogEntry(std::string_view name, const Date& lookedUpAt,
                           std::string_view differences);

}  // namespace qv
