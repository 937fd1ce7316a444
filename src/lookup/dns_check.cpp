#include "lookup/dns_check.h"

#include <arpa/inet.h>
#include <system_error>
#include <thread>

#include "platform/ascii.h"
#include "platform/host_name.h"
#include "platform/tcp_socket.h"

namespace qv {

std::string ResolveHostAddress(const std::string& host) {
  in_addr address{};
  const std::string ace = AceHostName(host);
  if (ace.empty() || ResolveIPv4(ace, address) != SocketError::None) return kDnsErrorAddress;
  char text[INET_ADDRSTRLEN] = {};
  if (!::inet_ntop(AF_INET, &address, text, sizeof text)) return kDnsErrorAddress;
  return text;
}

DnsCheckList::DnsCheckList(HostResolver resolver) : resolver_(std::move(resolver)) {}

void DnsCheckList::AddDnsCheck(const std::string& host) {
  for (const std::shared_ptr<DnsCheck>& check : checks_) {
    if (!EqualsNoCase(check->host(), host)) continue;
    if (check->IsDone()) return;  // the tick collects it
    if (!check->IsStarted()) {
      StartPendingChecks();
      return;
    }
    // a running check of the same host: look further
  }
  checks_.push_back(std::make_shared<DnsCheck>(host));
  StartPendingChecks();
}

int DnsCheckList::RunningCount() const {
  int running = 0;
  for (const std::shared_ptr<DnsCheck>& check : checks_)
    if (check->IsRunning()) ++running;
  return running;
}

int DnsCheckList::StartPendingChecks() {
  const int running = RunningCount();
  if (running > kResolverThreadLimit) return 0;
  const int allowed = kResolverThreadLimit - running + 1;
  int started = 0;
  for (const std::shared_ptr<DnsCheck>& check : checks_) {
    if (started >= allowed) break;
    if (check->IsStarted()) continue;
    if (StartThread(check)) ++started;
  }
  return started;
}

bool DnsCheckList::StartThread(const std::shared_ptr<DnsCheck>& check) {
  check->started_.store(true, std::memory_order_release);
  try {
    // The thread keeps its own reference: a check forgotten by Stop stays
    // valid until the thread has written into it.
    std::thread([check, resolve = resolver_] {
      std::string address = resolve ? resolve(check->host()) : std::string(kDnsErrorAddress);
      if (address.empty()) address = kDnsErrorAddress;
      check->address_ = std::move(address);
      check->done_.store(true, std::memory_order_release);
    }).detach();
  } catch (const std::system_error&) {
    check->started_.store(false, std::memory_order_release);  // tried again later
    return false;
  }
  return true;
}

std::optional<DnsResult> DnsCheckList::CollectOne() {
  for (std::size_t i = 0; i < checks_.size(); ++i) {
    if (checks_[i]->IsDone()) {
      DnsResult result{checks_[i]->host(), checks_[i]->address()};
      checks_.erase(checks_.begin() + std::ptrdiff_t(i));
      return result;
    }
    StartPendingChecks();
  }
  return std::nullopt;
}

}  // namespace qv
