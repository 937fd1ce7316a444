#include "support/loopback_listener.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>

namespace qvtest {
namespace {

constexpr int kPollMs = 20;

int BoundLoopbackSocket(int& port) {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return -1;
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof a;
  const int one = 1;
  ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
  if (::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 ||
      ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &length) != 0) {
    ::close(fd);
    return -1;
  }
  port = ntohs(a.sin_port);
  return fd;
}

}  // namespace

bool Readable(int fd, int ms) {
  pollfd p{fd, POLLIN, 0};
  return ::poll(&p, 1, ms) > 0;
}

int UnusedLoopbackPort() {
  int port = 0;
  const int fd = BoundLoopbackSocket(port);
  if (fd >= 0) ::close(fd);
  return port;
}

bool WaitForLoopbackPort(int port, int timeoutMs, const std::function<bool()>& alive) {
  const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (std::chrono::steady_clock::now() < until && (!alive || alive())) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(static_cast<uint16_t>(port));
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const bool connected = ::connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
    ::close(fd);
    if (connected) return true;
    ::usleep(50000);
  }
  return false;
}

LoopbackListener::LoopbackListener(std::function<void(int fd)> serve) : serve_(std::move(serve)) {
  fd_ = BoundLoopbackSocket(port_);
  if (fd_ >= 0 && ::listen(fd_, 16) != 0) {
    ::close(fd_);
    fd_ = -1;
  }
  if (fd_ >= 0) thread_ = std::thread([this] { Run(); });
}

LoopbackListener::~LoopbackListener() { Stop(); }

void LoopbackListener::Run() {
  while (!stop_) {
    if (!Readable(fd_, kPollMs)) continue;
    const int fd = ::accept(fd_, nullptr, nullptr);
    if (fd < 0) continue;
    ++connections_;
    serve_(fd);
    ::close(fd);
  }
}

void LoopbackListener::Stop() {
  stop_ = true;
  if (thread_.joinable()) thread_.join();
  if (fd_ < 0) return;
  // A client whose connect succeeded is in the backlog even if never served.
  ::fcntl(fd_, F_SETFL, ::fcntl(fd_, F_GETFL, 0) | O_NONBLOCK);
  for (int fd; (fd = ::accept(fd_, nullptr, nullptr)) >= 0;) {
    ++connections_;
    ::close(fd);
  }
  ::close(fd_);
  fd_ = -1;
}

}  // namespace qvtest
