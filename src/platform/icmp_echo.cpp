#include "platform/icmp_echo.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/ip.h>
#include <netinet/ip_icmp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>

namespace qv {
namespace {

using Clock = std::chrono::steady_clock;

std::uint16_t Checksum(const std::uint8_t* data, std::size_t size) {
  std::uint32_t sum = 0;
  for (std::size_t i = 0; i + 1 < size; i += 2) sum += std::uint32_t(data[i] << 8 | data[i + 1]);
  if (size % 2) sum += std::uint32_t(data[size - 1] << 8);
  while (sum >> 16) sum = (sum & 0xFFFF) + (sum >> 16);
  return htons(std::uint16_t(~sum));
}

// Identifiers differ between the raw sockets of one process's workers.
std::uint16_t NextIdentifier() {
  static std::atomic<std::uint16_t> next{std::uint16_t(::getpid() * 31)};
  return next.fetch_add(1);
}

}  // namespace

IcmpEcho::IcmpEcho() {
  fd_ = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, IPPROTO_ICMP);
  if (fd_ >= 0) return;
  const int dgramError = errno;
  fd_ = ::socket(AF_INET, SOCK_RAW | SOCK_CLOEXEC, IPPROTO_ICMP);
  if (fd_ >= 0) {
    raw_ = true;
    id_ = NextIdentifier();
    return;
  }
  error_ = std::string("ICMP datagram socket: ") + std::strerror(dgramError) +
           "; raw socket: " + std::strerror(errno);
}

IcmpEcho::~IcmpEcho() {
  if (fd_ >= 0) ::close(fd_);
}

std::optional<std::uint32_t> IcmpEcho::Echo(std::uint32_t address, const std::vector<std::uint8_t>& data,
                                            int ttl, int timeoutMs) {
  if (fd_ < 0) return std::nullopt;
  ::setsockopt(fd_, IPPROTO_IP, IP_TTL, &ttl, sizeof ttl);
  const std::uint16_t sequence = ++sequence_;
  std::vector<std::uint8_t> packet(sizeof(icmphdr) + data.size());
  icmphdr header{};
  header.type = ICMP_ECHO;
  header.un.echo.id = htons(id_);
  header.un.echo.sequence = htons(sequence);
  std::memcpy(packet.data(), &header, sizeof header);
  std::memcpy(packet.data() + sizeof header, data.data(), data.size());
  const std::uint16_t sum = Checksum(packet.data(), packet.size());
  std::memcpy(packet.data() + offsetof(icmphdr, checksum), &sum, sizeof sum);

  sockaddr_in to{};
  to.sin_family = AF_INET;
  to.sin_addr.s_addr = address;
  const Clock::time_point sent = Clock::now();
  if (::sendto(fd_, packet.data(), packet.size(), 0, reinterpret_cast<sockaddr*>(&to), sizeof to) < 0)
    return std::nullopt;
  // A datagram socket's identifier is its local port, which the kernel chose.
  std::uint16_t id = id_;
  if (!raw_) {
    sockaddr_in local{};
    socklen_t length = sizeof local;
    if (::getsockname(fd_, reinterpret_cast<sockaddr*>(&local), &length) == 0) id = ntohs(local.sin_port);
  }
  const Clock::time_point until = sent + std::chrono::milliseconds(timeoutMs);
  std::uint8_t reply[8216];
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - Clock::now()).count();
    if (left <= 0) return std::nullopt;
    pollfd p{fd_, POLLIN, 0};
    if (::poll(&p, 1, int(left)) <= 0) continue;
    sockaddr_in from{};
    socklen_t length = sizeof from;
    const ssize_t n = ::recvfrom(fd_, reply, sizeof reply, 0, reinterpret_cast<sockaddr*>(&from), &length);
    if (n <= 0) continue;
    std::size_t at = 0;
    if (raw_) {  // a raw socket reads the IP header too
      if (std::size_t(n) < sizeof(iphdr)) continue;
      at = std::size_t(reply[0] & 0x0F) * 4;
    }
    if (std::size_t(n) < at + sizeof(icmphdr)) continue;
    icmphdr got{};
    std::memcpy(&got, reply + at, sizeof got);
    // Anything else is some other packet (on loopback a raw socket first
    // reads its own request).
    if (got.type != ICMP_ECHOREPLY || from.sin_addr.s_addr != address) continue;
    if (ntohs(got.un.echo.sequence) != sequence || ntohs(got.un.echo.id) != id) continue;
    return std::uint32_t(
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - sent).count());
  }
}

std::optional<std::uint32_t> ResolveIpv4(const std::string& host) {
  in_addr dotted{};
  if (::inet_pton(AF_INET, host.c_str(), &dotted) == 1) return dotted.s_addr;
  addrinfo hints{};
  hints.ai_family = AF_INET;
  addrinfo* found = nullptr;
  if (::getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0 || !found) return std::nullopt;
  const std::uint32_t address = reinterpret_cast<sockaddr_in*>(found->ai_addr)->sin_addr.s_addr;
  ::freeaddrinfo(found);
  return address;
}

}  // namespace qv
