// Politeness towards whois servers: how many lookups may run against one
// server at once, how long to wait after its previous answer, and when a
// server that keeps failing is skipped for one lookup.
//
// Everything here runs on the main thread. The state table belongs to the
// caller (the main window) and lives as long as the program; the list of
// lookups in flight is handed in by the caller, one server host per running
// whois lookup.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/date.h"

namespace qv {

// The answer given instead of a lookup against a server that failed
// kWhoisFailuresBeforeSkip times in a row.
inline constexpr const char* kWhoisTemporarilyDisabledText =
    "Unable to obtain response from the whois server for this domain.\n\n"
    "Lookups using this whois server has been temporarily disabled.";
inline constexpr int kWhoisFailuresBeforeSkip = 4;
// The marker server of a minimum lookup (a DNS check in place of whois).
inline constexpr const char* kMinimumLookupServer = "dns";

struct WhoisServerState {
  std::string server;
  Date lastAnswerAt;  // null until the first result arrives
  int failCount = 0;  // failed lookups in a row
  Date retryAt;       // a busy service asked not to be asked before then (null: no wait)
};

class WhoisServerStateTable {
 public:
  // A result for the server arrived: success resets the failure count,
  // failure adds one; both note the time of arrival.
  void RecordSuccess(std::string_view server, Date now = Date::Now());
  void RecordFailure(std::string_view server, Date now = Date::Now());
  // A service answered "busy" and asked to wait `seconds` from `now`.
  void RecordRetryAfter(std::string_view server, int seconds, Date now = Date::Now());
  // True while a service that asked to wait is not to be asked.
  bool AskedToWait(std::string_view server, Date now = Date::Now()) const;
  // 0 for a server without a state yet.
  int ServerFailCount(std::string_view server) const;
  // The server's state (compared without regard to case), or null.
  const WhoisServerState* Find(std::string_view server) const;

 private:
  WhoisServerState& Get(std::string_view server);
  std::vector<WhoisServerState> states_;
};

// The admission test: may a lookup against `server` start now? The marker
// "dns" always may. Otherwise the lookups in flight against the server must
// be fewer than its `maxConnections`, and more whole seconds than its
// `connectionInterval` must have passed since its last result. When the clock
// has been set back past that last result the interval cannot be measured
// and the lookup is admitted. A service that asked to wait (RecordRetryAfter)
// is not asked before that time.
bool MayStartWhois(std::string_view server, const std::vector<std::string>& inFlightServers,
                   const WhoisServerStateTable& states, Date now = Date::Now());

// What the scheduler does with one whois queue entry ("name" or "name:server").
enum class WhoisStartAction {
  Discard,         // no name in the entry
  Requeue,         // not admitted now: back to the end of the whois queue
  AnswerDisabled,  // admitted, but the server is skipped: answer with `answer`
  StartWorker,     // admitted: start a lookup worker
};

struct WhoisStartDecision {
  WhoisStartAction action = WhoisStartAction::Discard;
  std::string name;
  std::string server;  // may be empty when no server is known for the name
  std::string answer;  // kWhoisTemporarilyDisabledText for AnswerDisabled
};

// Splits the entry at its first colon into name and server; without a server
// ServerForName supplies one (which stores the key's server as it always
// does). On AnswerDisabled and StartWorker the caller adds the lookup to its
// in-flight list; AnswerDisabled is then posted as a successful result.
WhoisStartDecision DecideWhoisStart(std::string_view entry,
                                    const std::vector<std::string>& inFlightServers,
                                    const WhoisServerStateTable& states, Date now = Date::Now());

}  // namespace qv
