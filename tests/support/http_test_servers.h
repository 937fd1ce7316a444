// Web servers for the web-check tests, both on 127.0.0.1:
//
// NginxServer: the real nginx from Debian, started with its own temporary
// configuration on free ports: pages with titles and Last-Modified, every
// kind of redirect (absolute, relative, a loop, to itself), https with a
// self-signed certificate, and any host name (so it also stands in as the
// loopback proxy through which "http://www.<name>/" reaches it).
//
// HttpScriptServer: what a web server won't do: an answer that drips, a body
// without end, a garbage status line, a redirect without a Location; or a
// site played by the test, which answers each request (Routed) and notes
// when each request came and its answer ended.
#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <chrono>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "support/loopback_listener.h"

namespace qvtest {

class NginxServer {
 public:
  NginxServer();
  ~NginxServer();
  NginxServer(const NginxServer&) = delete;
  NginxServer& operator=(const NginxServer&) = delete;

  // False when nginx (or openssl for the certificate) is missing or did not
  // start; Problem() says which.
  bool Running() const { return running_; }
  const QString& Problem() const { return problem_; }
  int Port() const { return port_; }
  // "http://127.0.0.1:PORT" + path.
  std::string Url(const std::string& path) const;
  std::string TlsUrl(const std::string& path) const;
  // The self-signed certificate (PEM) the https server presents.
  QString CertificatePath() const;
  // The Last-Modified of the static pages.
  static constexpr const char* kPageModified = "2021-03-04 05:06:07";
  // The title of index.html.
  static constexpr const char* kIndexTitle = "Welcome to Alpha";

 private:
  bool WriteFiles();

  QTemporaryDir dir_;
  QProcess process_;
  int port_ = 0;
  int tlsPort_ = 0;
  bool running_ = false;
  QString problem_;
};

class HttpScriptServer {
 public:
  enum class Mode { Answer, Drip, Endless, Routed };
  // Answer: sends `text` and closes. Drip: sends `text` one byte every
  // `pauseMs`. Endless: sends `text`, then body bytes without end.
  HttpScriptServer(Mode mode, std::string text, int pauseMs = 0);
  // Routed: sends what `answer` makes of the request line ("GET /path
  // HTTP/1.1") and closes. `answer` runs on the server's thread.
  using Router = std::function<std::string(const std::string& requestLine)>;
  explicit HttpScriptServer(Router answer);

  struct Exchange {
    std::string requestLine;
    std::chrono::steady_clock::time_point came, answered;
  };
  std::vector<Exchange> Exchanges() const;
  HttpScriptServer(const HttpScriptServer&) = delete;
  HttpScriptServer& operator=(const HttpScriptServer&) = delete;

  std::string Url(const std::string& path = "/") const;
  int Port() const { return listener_.port(); }

 private:
  void Serve(int fd);

  Mode mode_;
  Router router_;
  mutable std::mutex mutex_;
  std::vector<Exchange> exchanges_;
  std::string text_;
  int pauseMs_;
  LoopbackListener listener_{[this](int fd) { Serve(fd); }};
};

}  // namespace qvtest
