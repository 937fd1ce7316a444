#include "platform/tcp_socket.h"

#include <algorithm>
#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

namespace qv {
namespace {

// Which resolver answers mean "this name has no IPv4 address". A name that
// does not exist and a name without an address record are both definite
// answers about the name. A resolver that could not answer (EAI_AGAIN: no
// name server reachable or a server failure; EAI_FAIL; local errors) says
// nothing about the name, so it is kept apart.
SocketError MapResolverError(int code) {
  switch (code) {
    case EAI_NONAME:
#ifdef EAI_NODATA
    case EAI_NODATA:
#endif
#ifdef EAI_ADDRFAMILY
    case EAI_ADDRFAMILY:
#endif
      return SocketError::NoAddress;
    default:
      return SocketError::ResolverFailed;
  }
}

SocketError MapErrno(int value) {
  switch (value) {
    case ECONNREFUSED:
      return SocketError::Refused;
    case ETIMEDOUT:
    case EAGAIN:
#if EWOULDBLOCK != EAGAIN
    case EWOULDBLOCK:
#endif
      return SocketError::TimedOut;
    default:
      return SocketError::Other;
  }
}

// Waits until a non-blocking connect has finished or the time-out runs out.
// Returns 0 and the connection's own result in `result`, or the errno of the
// wait itself (ETIMEDOUT when the time ran out).
int WaitForConnect(int fd, int timeoutMs, int& result) {
  using Clock = std::chrono::steady_clock;
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    int waitMs = -1;
    if (timeoutMs > 0) {
      const auto left =
          std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
      if (left <= 0) return ETIMEDOUT;
      waitMs = int(left);
    }
    pollfd p{fd, POLLOUT, 0};
    const int n = ::poll(&p, 1, waitMs);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return errno;
    if (n == 0) return ETIMEDOUT;
    socklen_t length = sizeof result;
    if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &result, &length) != 0) return errno;
    return 0;
  }
}

}  // namespace

const char* SocketErrorName(SocketError error) {
  switch (error) {
    case SocketError::None: return "no error";
    case SocketError::NoAddress: return "name has no address";
    case SocketError::ResolverFailed: return "name resolution failed";
    case SocketError::Refused: return "connection refused";
    case SocketError::TimedOut: return "timed out";
    case SocketError::Other: return "socket error";
  }
  return "socket error";
}

SocketError ResolveIPv4(const std::string& host, in_addr& address) {
  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  const int code = ::getaddrinfo(host.c_str(), nullptr, &hints, &found);
  if (code == 0 && found && found->ai_addr) {
    address = reinterpret_cast<const sockaddr_in*>(found->ai_addr)->sin_addr;
    ::freeaddrinfo(found);
    return SocketError::None;
  }
  if (found) ::freeaddrinfo(found);
  if (::inet_pton(AF_INET, host.c_str(), &address) == 1) return SocketError::None;
  return code == 0 ? SocketError::NoAddress : MapResolverError(code);
}

TcpSocket::~TcpSocket() { Close(); }

SocketError TcpSocket::Fail(int errnoValue) {
  lastError_ = MapErrno(errnoValue);
  return lastError_;
}

bool TcpSocket::Open() {
  Close();
  fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd_ < 0) {
    Fail(errno);
    return false;
  }
  return true;
}

bool TcpSocket::SetReceiveTimeout(int timeoutMs) {
  if (timeoutMs < 0) timeoutMs = 0;
  receiveTimeoutMs_ = timeoutMs;
  timeval tv{};
  tv.tv_sec = timeoutMs / 1000;
  tv.tv_usec = (timeoutMs % 1000) * 1000;
  if (::setsockopt(fd_, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv) != 0) {
    Fail(errno);
    return false;
  }
  return true;
}

SocketError TcpSocket::Connect(const in_addr& address, int port, int timeoutMs) {
  if (port < 1 || port > 65535) return lastError_ = SocketError::Other;
  sockaddr_in target{};
  target.sin_family = AF_INET;
  target.sin_port = htons(static_cast<uint16_t>(port));
  target.sin_addr = address;

  // Connect without blocking and wait with poll, so that an address that never
  // answers costs the time-out rather than the system's minutes of retries.
  const int flags = ::fcntl(fd_, F_GETFL, 0);
  if (flags < 0 || ::fcntl(fd_, F_SETFL, flags | O_NONBLOCK) != 0) return Fail(errno);
  int result = 0;
  if (::connect(fd_, reinterpret_cast<const sockaddr*>(&target), sizeof target) != 0) {
    if (errno != EINPROGRESS) return Fail(errno);
    const int waitError = WaitForConnect(fd_, timeoutMs, result);
    if (waitError != 0) return Fail(waitError);
  }
  if (result != 0) return Fail(result);
  if (::fcntl(fd_, F_SETFL, flags) != 0) return Fail(errno);
  return lastError_ = SocketError::None;
}

bool TcpSocket::SendAll(std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t sent = ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    if (sent < 0 && errno == EINTR) continue;
    if (sent <= 0) {
      Fail(sent < 0 ? errno : EPIPE);
      return false;
    }
    bytes.remove_prefix(std::size_t(sent));
  }
  return true;
}

bool TcpSocket::WaitUntilReadable() {
  using Clock = std::chrono::steady_clock;
  if (deadline_ == Clock::time_point::max()) return true;
  for (;;) {
    long long waitMs =
        std::chrono::ceil<std::chrono::milliseconds>(deadline_ - Clock::now()).count();
    if (waitMs <= 0) break;
    if (receiveTimeoutMs_ > 0) waitMs = std::min<long long>(waitMs, receiveTimeoutMs_);
    pollfd p{fd_, POLLIN, 0};
    const int n = ::poll(&p, 1, int(std::min<long long>(waitMs, 1 << 30)));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      Fail(errno);
      return false;
    }
    if (n > 0) return true;
    break;  // the receive time-out or the deadline ran out
  }
  Fail(ETIMEDOUT);
  return false;
}

long TcpSocket::Receive(char* buffer, std::size_t size) {
  if (!WaitUntilReadable()) return -1;
  for (;;) {
    const ssize_t got = ::recv(fd_, buffer, size, 0);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      Fail(errno);
      return -1;
    }
    return long(got);
  }
}

void TcpSocket::ShutdownReceive() {
  if (fd_ >= 0) ::shutdown(fd_, SHUT_RD);
}

void TcpSocket::Close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

}  // namespace qv
