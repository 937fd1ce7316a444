// DNS checks started by the engine, and storing their results.
#include <sqlite3.h>

#include "lookup/lookup_engine.h"
#include "store/database_connection.h"
#include "store/domain_record.h"

namespace qv {
namespace {

// Writes the two address fields of a stored name and nothing else: a check
// starting empties them for each of up to `DNS Lookup Count` names in one
// tick, and a whole-record write for each would cost the tick far more.
// Returns false when the name is not stored; nothing when the statement
// cannot be made (a document whose table lacks the fields).
std::optional<bool> WriteAddressFields(DomainDatabase& db, const std::string& name,
                                       const std::string& address, const Date& checkedAt) {
  if (!db.OpenDomainsTable()) return std::nullopt;
  DatabaseConnection& update = db.update();
  Statement st = update.PrepareNative("UPDATE " + QuoteName(kDomainsTable) + " SET " +
                                      QuoteName(field::kIp) + " = ?1, " +
                                      QuoteName(field::kIpCheckedAt) + " = ?2 WHERE " +
                                      QuoteName(field::kDomain) + " = ?3");
  if (!st) return std::nullopt;
  st.BindText(1, address);
  st.BindValue(2, checkedAt.IsValid() ? FieldValue(checkedAt) : FieldValue());
  st.BindText(3, name);
  if (st.Next() != Statement::Step::Done) return std::nullopt;
  return sqlite3_changes(update.handle()) > 0;
}

}  // namespace

bool LookupEngine::StartDnsCheck(const std::string& name) {
  if (name.empty()) return false;
  dnsChecks_.AddDnsCheck("www." + name);
  // Until the result comes the record shows no address.
  if (Database()) StoreDnsResult(name, std::string());
  return true;
}

void LookupEngine::StoreDnsResult(const std::string& name, const std::string& address) {
  DomainDatabase* db = Database();
  if (!db) return;
  const Date checkedAt = address.empty() ? Date::Null() : Date::Now();
  const std::optional<bool> written = WriteAddressFields(*db, name, address, checkedAt);
  if (written && !*written) return;  // not stored
  if (!written) {
    DomainRecord record;
    if (!db->ReadRecord(name, record)) return;
    record.SetText(field::kIp, address);
    record.SetDate(field::kIpCheckedAt, checkedAt);
    db->WriteRecord(record);
  }
  RowChanged(name);
}

void LookupEngine::SetInvalidAddresses(const InvalidIpList& list) {
  invalidAddresses_ = list;
  invalidAddresses_.Save();
}

}  // namespace qv
