// The DNS check: the address that a domain name's web host ("www." and the
// name) resolves to. Each check resolves on a thread of its own; the
// scheduler's tick polls the list of checks and collects finished ones.
//
// A check is shared between the list and its thread: the thread writes the
// address once, as its last action, and then marks the check done. A check
// that the list forgets (Stop) stays alive until its thread has ended.
#pragma once

#include <atomic>
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace qv {

// The address stored for a host that does not resolve.
inline constexpr const char* kDnsErrorAddress = "Error";
// Resolving threads allowed at once (a fixed value, not a setting).
inline constexpr int kResolverThreadLimit = 20;

// Resolves a host to its first IPv4 address as dotted text, or
// kDnsErrorAddress. Blocks; runs on a resolving thread.
using HostResolver = std::function<std::string(const std::string& host)>;
// The system resolver: the host's first IPv4 address, else the host read as
// a dotted address, else kDnsErrorAddress.
std::string ResolveHostAddress(const std::string& host);

class DnsCheck {
 public:
  explicit DnsCheck(std::string host) : host_(std::move(host)) {}
  DnsCheck(const DnsCheck&) = delete;
  DnsCheck& operator=(const DnsCheck&) = delete;

  const std::string& host() const { return host_; }
  bool IsStarted() const { return started_.load(std::memory_order_acquire); }
  // Host and address both known.
  bool IsDone() const { return done_.load(std::memory_order_acquire); }
  // Started and not yet done (the lookup queue bar marks these).
  bool IsRunning() const { return IsStarted() && !IsDone(); }
  // The dotted address or kDnsErrorAddress once done; empty before.
  std::string address() const { return IsDone() ? address_ : std::string(); }

 private:
  friend class DnsCheckList;
  const std::string host_;
  std::string address_;  // written once by the thread, before done_
  std::atomic<bool> started_{false};
  std::atomic<bool> done_{false};
};

// A finished check taken off the list.
struct DnsResult {
  std::string host;
  std::string address;
};

class DnsCheckList {
 public:
  explicit DnsCheckList(HostResolver resolver = ResolveHostAddress);
  DnsCheckList(const DnsCheckList&) = delete;
  DnsCheckList& operator=(const DnsCheckList&) = delete;

  void SetResolver(HostResolver resolver) { resolver_ = std::move(resolver); }
  const HostResolver& resolver() const { return resolver_; }

  // Adds a check of `host` unless one for the same host (without regard to
  // case) is done or not yet started; then starts pending checks.
  void AddDnsCheck(const std::string& host);
  // Starts threads for checks not yet started, walking from the first: none
  // when more than kResolverThreadLimit run, else at most
  // kResolverThreadLimit - running + 1. Returns how many were started.
  int StartPendingChecks();
  // The tick's collection: walks from the first check; the first one done is
  // removed and returned (at most one per call); for each check before it
  // that is not done, pending checks are started.
  std::optional<DnsResult> CollectOne();
  // Forgets every check without applying its result.
  void Clear() { checks_.clear(); }

  std::size_t Size() const { return checks_.size(); }
  const DnsCheck& At(std::size_t position) const { return *checks_[position]; }
  int RunningCount() const;

 private:
  bool StartThread(const std::shared_ptr<DnsCheck>& check);

  std::vector<std::shared_ptr<DnsCheck>> checks_;
  HostResolver resolver_;
};

}  // namespace qv
