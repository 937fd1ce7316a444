#include "support/whois_test_server.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <poll.h>
#include <sys/socket.h>

namespace qvtest {
namespace {

using Clock = std::chrono::steady_clock;
constexpr int kPollMs = 20;
// No connection is served longer than this, whatever the script says.
constexpr auto kConnectionLimit = std::chrono::seconds(20);
constexpr std::size_t kEndlessLimit = 64u * 1024 * 1024;

}  // namespace

WhoisTestServer::WhoisTestServer(Script script) : script_(std::move(script)) {}

void WhoisTestServer::Finish() { listener_.Stop(); }

std::vector<std::string> WhoisTestServer::queries() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return queries_;
}

std::string WhoisTestServer::query() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return queries_.empty() ? std::string() : queries_.back();
}

void WhoisTestServer::Serve(int fd) {
  std::string line = ReadQuery(fd);
  {
    std::lock_guard<std::mutex> lock(mutex_);
    queries_.push_back(std::move(line));
  }
  switch (script_.mode) {
    case Mode::Answer:
      SendAll(fd, script_.text.data(), script_.text.size());
      break;
    case Mode::AnswerInPieces:
      for (std::size_t at = 0; at < script_.text.size() && !listener_.stopping(); at += script_.pieceSize) {
        if (at > 0) std::this_thread::sleep_for(std::chrono::milliseconds(script_.pauseMs));
        const std::size_t n = std::min(script_.pieceSize, script_.text.size() - at);
        if (!SendAll(fd, script_.text.data() + at, n)) break;
      }
      break;
    case Mode::StallAfter:
      if (SendAll(fd, script_.text.data(), script_.text.size())) WaitForClientToLeave(fd);
      break;
    case Mode::CloseWithoutAnswer:
      break;
    case Mode::Reset: {
      linger hard{1, 0};
      ::setsockopt(fd, SOL_SOCKET, SO_LINGER, &hard, sizeof hard);
      break;
    }
    case Mode::Endless:
      StreamEndlessly(fd);
      break;
  }
}

std::string WhoisTestServer::ReadQuery(int fd) {
  std::string line;
  const auto until = Clock::now() + std::chrono::seconds(2);
  while (!listener_.stopping() && Clock::now() < until && line.find("\r\n") == std::string::npos &&
         line.size() < 4096) {
    if (!Readable(fd, kPollMs)) continue;
    char buffer[512];
    const ssize_t got = ::recv(fd, buffer, sizeof buffer, 0);
    if (got <= 0) break;
    line.append(buffer, std::size_t(got));
  }
  return line;
}

bool WhoisTestServer::SendAll(int fd, const char* data, std::size_t size) {
  while (size > 0) {
    const ssize_t sent = ::send(fd, data, size, MSG_NOSIGNAL);
    if (sent < 0 && errno == EINTR) continue;
    if (sent <= 0) return false;
    data += sent;
    size -= std::size_t(sent);
  }
  return true;
}

void WhoisTestServer::WaitForClientToLeave(int fd) {
  const auto until = Clock::now() + kConnectionLimit;
  while (!listener_.stopping() && Clock::now() < until) {
    if (!Readable(fd, kPollMs)) continue;
    char buffer[256];
    if (::recv(fd, buffer, sizeof buffer, 0) <= 0) return;
  }
}

void WhoisTestServer::StreamEndlessly(int fd) {
  const std::string block = [] {
    std::string b;
    while (b.size() < 16384) b += "Registrar WHOIS Server: whois.example.test\n";
    return b;
  }();
  const auto until = Clock::now() + kConnectionLimit;
  std::size_t total = 0;
  while (!listener_.stopping() && Clock::now() < until && total < kEndlessLimit) {
    pollfd p{fd, POLLOUT, 0};
    if (::poll(&p, 1, kPollMs) <= 0) continue;
    if (p.revents & (POLLERR | POLLHUP)) return;
    const ssize_t sent = ::send(fd, block.data(), block.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
    if (sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) continue;
    if (sent <= 0) return;
    total += std::size_t(sent);
  }
}

}  // namespace qvtest
