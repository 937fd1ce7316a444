// A TCP listener on 127.0.0.1 at a port the system chooses, with the thread
// that accepts its connections and serves them one at a time. The loopback
// test servers (whois, SMTP, HTTP) are built on it; declare it as the last
// member of a server, so that the thread stops before what it serves with.
#pragma once

#include <atomic>
#include <functional>
#include <thread>

namespace qvtest {

class LoopbackListener {
 public:
  // `serve` is handed each accepted connection, which is closed after it.
  explicit LoopbackListener(std::function<void(int fd)> serve);
  ~LoopbackListener();
  LoopbackListener(const LoopbackListener&) = delete;
  LoopbackListener& operator=(const LoopbackListener&) = delete;

  bool listening() const { return fd_ >= 0; }
  int port() const { return port_; }
  // Set once Stop() began: serving loops end.
  bool stopping() const { return stop_; }
  // Stops accepting, waits for the connection being served and closes those
  // still waiting in the backlog. Afterwards connections() is final.
  void Stop();
  // The connections made, served or not.
  int connections() const { return connections_; }

 private:
  void Run();

  std::function<void(int)> serve_;
  int fd_ = -1;
  int port_ = 0;
  std::atomic<bool> stop_{false};
  std::atomic<int> connections_{0};
  std::thread thread_;
};

// True when `fd` has something to read within `ms`.
bool Readable(int fd, int ms);
// A loopback port on which nothing listens (a connection there is refused).
int UnusedLoopbackPort();
// Waits until a server of another process accepts connections on the loopback
// `port`: false after `timeoutMs`, or as soon as `alive` says it is gone.
bool WaitForLoopbackPort(int port, int timeoutMs, const std::function<bool()>& alive = {});

}  // namespace qvtest
