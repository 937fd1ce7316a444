#include "webcheck/ping_check.h"

#include <cmath>

#include "platform/icmp_echo.h"
#include "store/database_connection.h"
#include "store/domain_record.h"

namespace qv {

std::vector<std::uint8_t> EchoData() {
  std::vector<std::uint8_t> data(kPingDataSize);
  std::uint8_t value = 32;
  for (std::uint8_t& byte : data) {
    byte = value;
    value = value == 125 ? 32 : std::uint8_t(value + 1);
  }
  return data;
}

PingOutcome Ping(const std::string& host, int count, const std::function<bool()>& stopped) {
  PingOutcome outcome;
  IcmpEcho echo;
  if (!echo.IsOpen()) {
    outcome.unavailable = echo.ErrorText();
    return outcome;
  }
  const std::optional<std::uint32_t> address = ResolveIpv4(host);
  if (!address) return outcome;
  const std::vector<std::uint8_t> data = EchoData();
  double total = 0;
  int answered = 0;
  for (int i = 0; i < count; ++i) {
    if (stopped && stopped()) break;
    if (const std::optional<std::uint32_t> ms = echo.Echo(*address, data, kPingTimeToLive, kPingTimeoutMs)) {
      total += *ms;
      ++answered;
    } else {
      ++outcome.failures;
    }
  }
  outcome.anyReply = answered > 0;
  outcome.meanMs = answered > 0 ? total / answered : 0;
  return outcome;
}

PingRecord RunPingCheck(const std::string& host, const std::function<bool()>& stopped) {
  PingRecord record;
  record.checkedAt = Date::Now();
  record.host = host;
  const PingOutcome outcome = Ping(host, kPingCount, stopped);
  record.unavailable = outcome.unavailable;
  if (outcome.anyReply) {
    record.time = outcome.meanMs;
    record.failed = std::uint8_t(outcome.failures);
  }
  return record;
}

std::string PingRecordName(const PingRecord& record) {
  return record.host.starts_with("www.") ? record.host.substr(4) : record.host;
}

bool StorePingRecord(DomainDatabase& db, const std::string& name, const PingRecord& ping) {
  DomainRecord record;
  if (!db.ReadRecord(name, record)) return false;
  record.SetDate(field::kPingCheckedAt, ping.checkedAt);
  record.SetDouble(field::kPingTime, std::trunc(ping.time));
  record.SetLong(field::kPingCheckCount, ping.sent);
  record.SetLong(field::kPingFailCount, ping.failed);
  return db.WriteRecord(record);
}

}  // namespace qv
