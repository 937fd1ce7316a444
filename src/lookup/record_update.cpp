#include "lookup/record_update.h"

#include <algorithm>

#include "lookup/change_log.h"
#include "lookup/lookup_snapshot.h"
#include "platform/ascii.h"
#include "store/database_connection.h"
#include "store/domain_record.h"
#include "whois/availability.h"
#include "whois/normalise.h"
#include "whois/whois_fields.h"

namespace qv {
namespace {

// The dates a fresh lookup starts over with.
constexpr const char* kLookupDates[] = {
    field::kExpiryDate, field::kRegistrarExpiry, field::kCreatedOn,
    field::kLastUpdate, field::kLastCheckedAt,   field::kIpCheckedAt,
};
// The texts a fresh lookup starts over with.
constexpr const char* kLookupTexts[] = {
    field::kRegistrar,  field::kStatus,     field::kId,           field::kWhoisServer,
    field::kWhoisSource, field::kIp,        field::kNs1,          field::kNs2,
    field::kNs3,        field::kNs4,        field::kAdminEmail,   field::kTechEmail,
    field::kBillingEmail, field::kOwner,    field::kAvailability,
};
constexpr const char* kNameServerFields[] = {field::kNs1, field::kNs2, field::kNs3, field::kNs4};
// What every error text that stands in for an answer begins with.
constexpr std::string_view kLookupErrorText = "Whois Lookup Error:";

// How the two yes/no text marks are written and read.
constexpr const char* kMultiLookupYes = "yes";
constexpr const char* kMultiLookupNo = "no";
constexpr const char* kEditedYes = "YES";
constexpr const char* kEditedNo = "NO";

bool IsMultiLookup(const DomainRecord& record) {
  return EqualsNoCase(record.Text(field::kMultiLookup), "yes");
}

void SetMultiLookup(DomainRecord& record, bool on) {
  record.SetText(field::kMultiLookup, on ? kMultiLookupYes : kMultiLookupNo);
}

// The part of a name after its first dot is exactly "info": the registry of
// .info answers with the one expiry date that counts, so it is not taken for
// the registrar's as well.
bool IsInfoName(std::string_view name) {
  const std::size_t dot = name.find('.');
  return dot != std::string_view::npos && EqualsNoCase(name.substr(dot + 1), "info");
}

// A text the answer may or may not carry: with a referral under way an empty
// extraction keeps what the first answer brought.
void SetFromExtraction(DomainRecord& record, const char* field, const std::string& value,
                       bool multiLookup) {
  if (!multiLookup || !value.empty()) record.SetText(field, value);
}

// Registrar, ID, status, availability, source and referral server.
void ApplyRegistration(DomainRecord& record, const WhoisFields& f) {
  record.SetText(field::kWhoisSource, f.source);
  const bool multi = IsMultiLookup(record);
  SetFromExtraction(record, field::kRegistrar, f.registrar, multi);
  SetFromExtraction(record, field::kId, f.domainId, multi);
  if (!multi || record.Text(field::kStatus).empty()) record.SetText(field::kStatus, f.status);
  if (!multi) record.SetText(field::kAvailability, f.availability);
  // The registrar's own answer often names no whois server; it must not
  // erase the server that the registry referred to, which is the one that
  // tells the registrar's answer apart from the registry's.
  SetFromExtraction(record, field::kWhoisServer, f.referralServer, multi);
  if (!f.referralServer.empty() && !EqualsNoCase(f.referralServer, f.source))
    SetMultiLookup(record, true);
}

// Dates, contacts and name servers; not for a name that is free.
void ApplyDetails(DomainRecord& record, const WhoisFields& f) {
  if (AvailabilityCode(record.Text(field::kAvailability)) == 1) return;
  const bool multi = IsMultiLookup(record);
  if (f.expiryFound) {
    if (!multi) {
      record.SetDate(field::kExpiryDate, f.expiryDate);
      if (!IsInfoName(ToLowerAscii(record.Domain())))
        record.SetDate(field::kRegistrarExpiry, f.expiryDate);
    } else if (EqualsNoCase(record.Text(field::kWhoisServer), f.source)) {
      record.SetDate(field::kRegistrarExpiry, f.expiryDate);
    } else {
      record.SetDate(field::kExpiryDate, f.expiryDate);
    }
  }
  if (f.createdFound) record.SetDate(field::kCreatedOn, f.createdDate);
  if (f.updatedFound) record.SetDate(field::kLastUpdate, f.updatedDate);
  SetFromExtraction(record, field::kAdminEmail, f.adminEmail, multi);
  SetFromExtraction(record, field::kTechEmail, f.techEmail, multi);
  SetFromExtraction(record, field::kBillingEmail, f.billingEmail, multi);
  SetFromExtraction(record, field::kOwner, f.ownerName, multi);
  if (!f.organization.empty()) record.SetText(field::kOrganization, f.organization);
  const std::size_t count = std::min<std::size_t>(f.nameServers.size(), 4);
  for (std::size_t i = 0; i < count; ++i) record.SetText(kNameServerFields[i], f.nameServers[i]);
}

// Writes a record that a lookup filled. Lookups write a record or two for
// every answer, and a synced commit each time would make a run of a thousand
// names wait seconds on the disk. In write-ahead mode a commit that is not
// synced at once still survives a crash of the program; a power cut could
// cost the last few answers, which the next run fetches again. The
// connection's own setting is put back afterwards.
bool WriteLookupRecord(DomainDatabase& db, const DomainRecord& record) {
  if (!db.OpenDomainsTable()) return false;
  DatabaseConnection& update = db.update();
  // Inside a transaction the commit decides how the write reaches the disk.
  if (update.InTransaction()) return update.WriteDomainRecord(record) == kDbOk;
  long long saved = 2;  // FULL, SQLite's default
  {
    Statement st = update.PrepareNative("PRAGMA synchronous");
    if (st.Next() == Statement::Step::Row) saved = st.ColumnInt(0);
  }
  const bool relax = saved > 1;
  if (relax) update.ExecuteNative("PRAGMA synchronous = NORMAL");
  const bool written = update.WriteDomainRecord(record) == kDbOk;
  if (relax) update.ExecuteNative("PRAGMA synchronous = " + std::to_string(saved));
  return written;
}

// Cuts the record's texts to their field sizes, as writing them does, so that
// the record in memory equals the stored one.
void CutToStoredSizes(DomainDatabase& db, DomainRecord& record) {
  if (!db.OpenDomainsTable()) return;
  for (const FieldInfo& info : db.update().TableFields(kDomainsTable)) {
    if (info.type != FieldType::Text || info.size <= 0) continue;
    const FieldValue value = record.Get(info.name);
    const auto* text = std::get_if<std::string>(&value);
    if (text && text->size() > std::size_t(info.size))
      record.SetText(info.name, CutToFieldSize(*text, info.size));
  }
}

// Texts that stand in for an answer the server did not give: without a
// source footer (no server known, lookups against the server disabled) or
// with a lookup error (refused, not reachable). They say nothing about the
// registration.
bool IsFailureText(std::string_view text) {
  return text.find(kLookupErrorText) != std::string_view::npos || WhoisSourceOf(text).empty();
}

// The answer of a minimum lookup, which only saw the name resolve.
bool IsMinimumAnswer(std::string_view source) { return EqualsNoCase(source, "None"); }

// The first answer of a fresh lookup starts from a cleared record. What the
// record gained while the lookup ran (an address, a lock set by the user) is
// not the lookup's to clear.
void ClearForAnswer(DomainRecord& record) {
  const FieldValue ip = record.Get(field::kIp);
  const FieldValue ipCheckedAt = record.Get(field::kIpCheckedAt);
  const bool locked = record.Locked();
  ClearForLookup(record);
  record.Set(field::kIp, ip);
  record.Set(field::kIpCheckedAt, ipCheckedAt);
  record.SetLocked(locked);
}

// The time of a lookup as it is stored: whole seconds.
Date WholeSeconds(const Date& date) {
  return date.IsValid() ? Date::FromParts(date.Parts()) : date;
}

}  // namespace

bool AnswerOutcome::FollowUpDue() const {
  return stored && parsed && !whoisServer.empty() && !EqualsNoCase(whoisServer, source);
}

void ClearForLookup(DomainRecord& record) {
  for (const char* name : kLookupDates) record.SetDate(name, Date::Null());
  for (const char* name : kLookupTexts) record.SetText(name, "");
  record.whoisText.clear();
  SetMultiLookup(record, false);
  record.SetLocked(false);
  record.SetText(field::kEdited, kEditedNo);
  record.lookupInProgress = false;
}

bool SetLock(DomainDatabase& db, std::string_view name, bool locked) {
  DomainRecord record;
  if (!db.ReadRecord(name, record)) return false;
  record.SetLocked(locked);
  return db.WriteRecord(record);
}

bool ApplyManualDateEdit(DomainDatabase& db, std::string_view name, std::string_view fieldName,
                         const Date& date) {
  if (!db.OpenDomainsTable()) return false;
  const FieldInfo* info = db.update().FindDomainField(fieldName);
  if (!info || info->type != FieldType::Date) return false;
  const std::string target = info->name;  // the pointer may not survive a read
  DomainRecord record;
  if (!db.ReadRecord(name, record)) return false;
  record.SetDate(target, date);
  record.SetText(field::kEdited, kEditedYes);
  record.SetLocked(true);
  return db.WriteRecord(record);
}

RecordUpdater::RecordUpdater(DomainDatabase* db, SnapshotList& snapshots, AlertList& alerts)
    : db_(db), snapshots_(snapshots), alerts_(alerts) {}

std::filesystem::path RecordUpdater::ChangeLogFile() const {
  return logPath_.empty() ? ChangeLogPath() : logPath_;
}

Date RecordUpdater::Now() const { return clock_ ? clock_() : Date::Now(); }

void RecordUpdater::RowChanged(std::string_view name) {
  if (rowChanged_) rowChanged_(std::string(name));
}

void RecordUpdater::SendAlertsWhenOverdue() {
  if (sendAlerts_ && AlertsOverdue(alerts_, Now())) sendAlerts_();
}

bool RecordUpdater::PrepareFullLookup(std::string_view name) {
  DomainRecord record;
  if (!db_ || !db_->ReadRecord(name, record)) return false;
  snapshots_.Drop(name);
  snapshots_.Take(record);
  snapshots_.SetInProgress(name, false);
  // Cleared when the answer is applied, not now: until then the stored
  // record keeps what the last lookup found.
  snapshots_.SetClearPending(name, true);
  return true;
}

void RecordUpdater::SetLookupInProgress(std::string_view name, bool inProgress) {
  // The mark is kept in memory only, so there is nothing to write.
  snapshots_.SetInProgress(name, inProgress);
  RowChanged(name);
}

bool RecordUpdater::ApplyWhoisAnswer(std::string_view name, std::string_view whoisText,
                                     AnswerOutcome* outcome) {
  SetLookupInProgress(name, false);
  DomainRecord record;
  if (!db_ || !db_->ReadRecord(name, record)) return false;
  if (IsFailureText(whoisText)) {
    RecordFailureText(record, whoisText, outcome);
    return true;
  }

  AnswerOutcome result;
  result.stored = true;
  result.parsed = true;
  if (snapshots_.ClearPending(record.Domain())) {
    ClearForAnswer(record);
    snapshots_.SetClearPending(record.Domain(), false);
  }
  record.whoisText.assign(whoisText);
  const WhoisFields fields = ParseWhoisFields(whoisText);
  ApplyRegistration(record, fields);
  ApplyDetails(record, fields);
  record.SetDate(field::kLastCheckedAt, WholeSeconds(Now()));
  result.source = fields.source;
  CutToStoredSizes(*db_, record);
  WriteLookupRecord(*db_, record);
  if (saveText_) saveText_(record.Domain(), record.whoisText);
  RowChanged(record.Domain());

  result.whoisServer = record.Text(field::kWhoisServer);
  result.multiLookup = IsMultiLookup(record);
  // The answer is the authoritative one when it comes from the server the
  // record names; a registration answer that names no other server, or whose
  // referral will not be followed, is the last one too. A minimum lookup's
  // answer tells nothing about the registration and is never compared.
  const bool registration = !IsMinimumAnswer(result.source);
  const bool last =
      EqualsNoCase(result.source, result.whoisServer) ||
      (registration && (result.whoisServer.empty() || !followReferrals_));
  if (last) {
    result.logged = LogRecordChanges(record, alerts_, true);
    SendAlertsWhenOverdue();
  }
  if (outcome) *outcome = std::move(result);
  return true;
}

void RecordUpdater::RecordFailureText(const DomainRecord& record, std::string_view whoisText,
                                      AnswerOutcome* outcome) {
  // The text tells the user why the lookup failed and marks the name for the
  // next whois run; the registration fields stay as the last answer left them.
  if (saveText_) saveText_(record.Domain(), std::string(whoisText));
  RowChanged(record.Domain());
  if (IsMultiLookup(record)) LogFailedFollowUp(record);
  if (!outcome) return;
  outcome->stored = true;
  outcome->parsed = false;
  outcome->source = WhoisSourceOf(whoisText);
  outcome->whoisServer = record.Text(field::kWhoisServer);
  outcome->multiLookup = IsMultiLookup(record);
  outcome->logged = false;
}

void RecordUpdater::LogFailedFollowUp(const DomainRecord& record) {
  // The referral's answer will not come: what the first answer brought is
  // logged; the copy stays for a retry.
  LogRecordChanges(record, alerts_, false);
  SendAlertsWhenOverdue();
}

void RecordUpdater::ApplyWhoisFailure(std::string_view name) {
  SetLookupInProgress(name, false);
  DomainRecord record;
  if (!db_ || !db_->ReadRecord(name, record) || !IsMultiLookup(record)) return;
  LogFailedFollowUp(record);
}

bool RecordUpdater::LogChanges(std::string_view name, AlertList& alerts, bool dropSnapshot) {
  DomainRecord current;
  if (db_ && db_->ReadRecord(name, current)) return LogRecordChanges(current, alerts, dropSnapshot);
  if (dropSnapshot) snapshots_.Drop(name);
  return false;
}

bool RecordUpdater::LogRecordChanges(const DomainRecord& current, AlertList& alerts,
                                     bool dropSnapshot) {
  const std::string name = current.Domain();
  const DomainRecord* before = snapshots_.Find(name);
  const Date lookedUpAt = current.DateValue(field::kLastCheckedAt);
  bool logged = false;
  if (before && lookedUpAt.IsValid() && before->DateValue(field::kLastCheckedAt).IsValid() &&
      !SameWatchedFields(*before, current)) {
    const std::string entry =
        ChangeLogEntry(name, lookedUpAt, ChangeDifferenceText(*before, current));
    alerts.Add(entry, Now());
    AppendToChangeLog(ChangeLogFile(), entry);  // a log that cannot be written is skipped
    logged = true;
  }
  if (dropSnapshot) snapshots_.Drop(name);
  return logged;
}

bool RecordUpdater::SetLock(std::string_view name, bool locked) {
  if (!db_ || !::qv::SetLock(*db_, name, locked)) return false;
  RowChanged(name);
  return true;
}

}  // namespace qv
