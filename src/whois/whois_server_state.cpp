#include "whois/whois_server_state.h"

#include <algorithm>
#include <cmath>

#include "whois/server_directory.h"

namespace qv {
namespace {

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

bool SameServer(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(),
                    [](char x, char y) { return LowerAscii(x) == LowerAscii(y); });
}

int CountInFlight(std::string_view server, const std::vector<std::string>& inFlightServers) {
  return int(std::count_if(inFlightServers.begin(), inFlightServers.end(),
                           [&](const std::string& s) { return SameServer(s, server); }));
}

// Whole seconds from `from` to `to`, rounded to the nearest second.
long long SecondsBetween(const Date& from, const Date& to) {
  return std::llround((to.days() - from.days()) * 86400.0);
}

}  // namespace

const WhoisServerState* WhoisServerStateTable::Find(std::string_view server) const {
  for (const WhoisServerState& s : states_)
    if (SameServer(s.server, server)) return &s;
  return nullptr;
}

WhoisServerState& WhoisServerStateTable::Get(std::string_view server) {
  for (WhoisServerState& s : states_)
    if (SameServer(s.server, server)) return s;
  states_.push_back(WhoisServerState{std::string(server), Date::Null(), 0, Date::Null()});
  return states_.back();
}

void WhoisServerStateTable::RecordSuccess(std::string_view server, Date now) {
  WhoisServerState& s = Get(server);
  s.failCount = 0;
  s.lastAnswerAt = now;
}

void WhoisServerStateTable::RecordFailure(std::string_view server, Date now) {
  WhoisServerState& s = Get(server);
  ++s.failCount;
  s.lastAnswerAt = now;
}

void WhoisServerStateTable::RecordRetryAfter(std::string_view server, int seconds, Date now) {
  Get(server).retryAt = Date::FromDays(now.days() + double(seconds) / 86400.0);
}

bool WhoisServerStateTable::AskedToWait(std::string_view server, Date now) const {
  const WhoisServerState* s = Find(server);
  return s && s->retryAt.IsValid() && SecondsBetween(now, s->retryAt) > 0;
}

int WhoisServerStateTable::ServerFailCount(std::string_view server) const {
  const WhoisServerState* s = Find(server);
  return s ? s->failCount : 0;
}

bool MayStartWhois(std::string_view server, const std::vector<std::string>& inFlightServers,
                   const WhoisServerStateTable& states, Date now) {
  if (SameServer(server, kMinimumLookupServer)) return true;
  const int running = CountInFlight(server, inFlightServers);
  if (running > 0) {
    const WhoisServerRecord record{std::string(server), true};
    if (running >= record.maxConnections) return false;
  }
  const WhoisServerState* state = states.Find(server);
  if (states.AskedToWait(server, now)) return false;
  if (state && !state->lastAnswerAt.IsNull()) {
    const WhoisServerRecord record{std::string(server), true};
    const long long elapsed = SecondsBetween(state->lastAnswerAt, now);
    if (elapsed >= 0 && elapsed <= record.connectionInterval) return false;
  }
  return true;
}

WhoisStartDecision DecideWhoisStart(std::string_view entry,
                                    const std::vector<std::string>& inFlightServers,
                                    const WhoisServerStateTable& states, Date now) {
  WhoisStartDecision decision;
  const std::size_t colon = entry.find(':');
  decision.name = std::string(entry.substr(0, colon));
  if (colon != std::string_view::npos) decision.server = std::string(entry.substr(colon + 1));
  if (decision.name.empty()) return decision;
  if (decision.server.empty()) decision.server = WhoisServerFor(decision.name);

  if (!MayStartWhois(decision.server, inFlightServers, states, now)) {
    decision.action = WhoisStartAction::Requeue;
  } else if (states.ServerFailCount(decision.server) >= kWhoisFailuresBeforeSkip) {
    decision.action = WhoisStartAction::AnswerDisabled;
    decision.answer = kWhoisTemporarilyDisabledText;
  } else {
    decision.action = WhoisStartAction::StartWorker;
  }
  return decision;
}

}  // namespace qv
