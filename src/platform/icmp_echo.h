// ICMP echo (ping) for one worker: an ICMP datagram socket where the system
// allows it (net.ipv4.ping_group_range), else a raw socket (root or
// CAP_NET_RAW). A reply counts only when it is an echo reply to this very
// request: its identifier and sequence number match.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace qv {

class IcmpEcho {
 public:
  IcmpEcho();
  ~IcmpEcho();
  IcmpEcho(const IcmpEcho&) = delete;
  IcmpEcho& operator=(const IcmpEcho&) = delete;

  // False when neither socket could be opened; ErrorText() says why.
  bool IsOpen() const { return fd_ >= 0; }
  const std::string& ErrorText() const { return error_; }

  // Sends one echo request to `address` (IPv4, network order) with `data`,
  // the time to live, and waits up to `timeoutMs` for its reply. The
  // round-trip time in milliseconds, or nothing when no good reply came.
  std::optional<std::uint32_t> Echo(std::uint32_t address, const std::vector<std::uint8_t>& data,
                                    int ttl, int timeoutMs);

 private:
  int fd_ = -1;
  bool raw_ = false;
  std::uint16_t id_ = 0;
  std::uint16_t sequence_ = 0;
  std::string error_;
};

// The IPv4 address of a host: a dotted address as it stands, else the
// resolver's first IPv4 answer. Nothing when it does not resolve.
std::optional<std::uint32_t> ResolveIpv4(const std::string& host);

}  // namespace qv
