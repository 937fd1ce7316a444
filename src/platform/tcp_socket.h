// A thin blocking TCP client socket over POSIX sockets, for the line-based
// protocols the program speaks itself (whois on port 43).
//
// Names are resolved to IPv4 addresses only. Every call reports failure as a
// SocketError value; nothing throws. The socket is closed by Close() or by the
// destructor, whichever comes first.
#pragma once

#include <chrono>
#include <cstddef>
#include <netinet/in.h>
#include <string>
#include <string_view>

namespace qv {

enum class SocketError {
  None,
  // The resolver answered that the name has no IPv4 address (no such name,
  // or a name without an address record).
  NoAddress,
  // The resolver could not answer now (no name server reachable, server
  // failure) or failed for a local reason.
  ResolverFailed,
  // The host answered the connection attempt with a refusal (nothing listens
  // on that port).
  Refused,
  // Connecting or receiving took longer than the time-out.
  TimedOut,
  // Any other failure of the operating system.
  Other,
};

// Short English name of an error kind, for diagnostics.
const char* SocketErrorName(SocketError error);

// Resolves a host name or dotted IPv4 address to an IPv4 address. The resolver
// is asked first; when it fails the text is parsed as a dotted address.
SocketError ResolveIPv4(const std::string& host, in_addr& address);

class TcpSocket {
 public:
  TcpSocket() = default;
  ~TcpSocket();
  TcpSocket(const TcpSocket&) = delete;
  TcpSocket& operator=(const TcpSocket&) = delete;

  // Creates the stream socket.
  bool Open();
  bool IsOpen() const { return fd_ >= 0; }

  // Receive time-out in milliseconds; 0 or less waits without limit.
  bool SetReceiveTimeout(int timeoutMs);
  // A point in time after which no receive waits any longer, however the
  // bytes trickle in: the receive time-out bounds each wait, this bounds
  // them all together.
  void SetDeadline(std::chrono::steady_clock::time_point deadline) { deadline_ = deadline; }

  // Connects to an address, waiting at most timeoutMs (0 or less: as long as
  // the operating system allows). The socket stays blocking afterwards.
  SocketError Connect(const in_addr& address, int port, int timeoutMs);

  // Sends all bytes; false when the connection fails first.
  bool SendAll(std::string_view bytes);

  // Receives up to `size` bytes. Returns the count, 0 when the peer closed
  // the connection in order, -1 on an error (see lastError(): TimedOut when
  // the receive time-out or the deadline ran out).
  long Receive(char* buffer, std::size_t size);

  void ShutdownReceive();
  void Close();

  SocketError lastError() const { return lastError_; }

 private:
  SocketError Fail(int errnoValue);

  // Waits until a byte can be read or the deadline has passed.
  bool WaitUntilReadable();

  int fd_ = -1;
  int receiveTimeoutMs_ = 0;
  std::chrono::steady_clock::time_point deadline_ = std::chrono::steady_clock::time_point::max();
  SocketError lastError_ = SocketError::None;
};

}  // namespace qv
