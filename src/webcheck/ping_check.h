// The ping check: three ICMP echoes to "www.<name>", and what is stored of
// them in the name's record.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/date.h"

namespace qv {

class DomainDatabase;

inline constexpr int kPingCount = 3;
inline constexpr int kPingDataSize = 32;
inline constexpr int kPingTimeoutMs = 3000;
inline constexpr int kPingTimeToLive = 64;
// Pings allowed to run at once.
inline constexpr int kMaxRunningPings = 5;

inline constexpr const char* kPingUnavailableFormat = "Ping is not available on this system (%1)";

// The outcome of Ping.
struct PingOutcome {
  bool anyReply = false;
  double meanMs = 0;
  int failures = 0;
  // Set when no echo could be sent at all because the system allows no
  // ICMP socket: the check did not run, and nothing is stored.
  std::string unavailable;
};

// The record a ping worker hands back.
struct PingRecord {
  std::uint8_t sent = kPingCount;
  double time = -1.0;  // mean round trip, -1 without a reply
  std::uint8_t failed = kPingCount;
  Date checkedAt;
  std::string host;   // "www.<name>"
  std::string unavailable;
};

// 32 bytes counting up from 32, back to 32 after 125.
std::vector<std::uint8_t> EchoData();
// `count` echoes, one after the other, each waiting up to kPingTimeoutMs.
// A host that does not resolve sends nothing: no reply, no failures. When
// `stopped` holds before an echo, no more are sent.
PingOutcome Ping(const std::string& host, int count, const std::function<bool()>& stopped = {});
// The worker's whole job for a host.
PingRecord RunPingCheck(const std::string& host, const std::function<bool()>& stopped = {});
// The name a ping record is stored under: its host without a leading "www.".
std::string PingRecordName(const PingRecord& record);
// Sets the four ping fields of a stored name; false when it is not stored.
bool StorePingRecord(DomainDatabase& db, const std::string& name, const PingRecord& record);

}  // namespace qv
