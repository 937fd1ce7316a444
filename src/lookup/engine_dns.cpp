// DNS checks started by the engine, and storing their results.
#include "lookup/lookup_engine.h"
#include "store/database_connection.h"
#include "store/domain_record.h"

namespace qv {

bool LookupEngine::StartDnsCheck(const std::string& name) {
  if (name.empty()) return false;
  dnsChecks_.AddDnsCheck("www." + name);
  // Until the result comes the record shows no address.
  if (Database()) StoreDnsResult(name, std::string());
  return true;
}

void LookupEngine::StoreDnsResult(const std::string& name, const std::string& address) {
  DomainDatabase* db = Database();
  DomainRecord record;
  if (!db || !db->ReadRecord(name, record)) return;
  record.SetText(field::kIp, address);
  record.SetDate(field::kIpCheckedAt, address.empty() ? Date::Null() : Date::Now());
  db->WriteRecord(record);
  emit recordChanged(QString::fromStdString(record.Domain()));
}

void LookupEngine::SetInvalidAddresses(const InvalidIpList& list) {
  invalidAddresses_ = list;
  invalidAddresses_.Save();
}

}  // namespace qv
