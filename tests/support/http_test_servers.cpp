#include "support/http_test_servers.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <sys/socket.h>

#include <cerrno>
#include <chrono>
#include <sys/time.h>

#include "support/whole_files.h"

namespace qvtest {
namespace {

QString Config(const QString& root, int port, int tlsPort) {
  return QStringLiteral(R"(worker_processes 1;
daemon off;
pid %1/nginx.pid;
error_log %1/error.log;
events { worker_connections 256; }
http {
  access_log off;
  default_type text/html;
  client_body_temp_path %1/tmp; proxy_temp_path %1/tmp; fastcgi_temp_path %1/tmp;
  uwsgi_temp_path %1/tmp; scgi_temp_path %1/tmp;
  absolute_redirect off;
  server {
    listen 127.0.0.1:%2;
    listen 127.0.0.1:%3 ssl;
    ssl_certificate %1/cert.pem;
    ssl_certificate_key %1/key.pem;
    server_name _;
    root %1/html;
    location = /r301 { return 301 http://127.0.0.1:%2/index.html; }
    location = /r302 { return 302 /index.html; }
    location = /r303 { return 303 /index.html; }
    location = /r308 { return 308 /index.html; }
    location = /a/b/r307 { add_header Location "../../index.html" always; return 307; }
    location = /redirect-loop { return 302 /loop-b; }
    location = /loop-b { return 302 /redirect-loop; }
    location = /same { return 302 /same; }
    location = /no-modified { return 200 "<html><title>Plain</title></html>"; }
  }
}
)").arg(root).arg(port).arg(tlsPort);
}

}  // namespace

NginxServer::NginxServer() {
  const QString nginx = QStandardPaths::findExecutable(QStringLiteral("nginx"), {"/usr/sbin", "/usr/bin", "/sbin"});
  const QString openssl = QStandardPaths::findExecutable(QStringLiteral("openssl"));
  if (nginx.isEmpty() || openssl.isEmpty()) {
    problem_ = QStringLiteral("nginx or openssl is not installed (scripts/install-deps)");
    return;
  }
  const QString root = dir_.path();
  QProcess::execute(openssl, {"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2", "-subj",
                              "/CN=127.0.0.1", "-addext", "subjectAltName=IP:127.0.0.1", "-keyout",
                              root + "/key.pem", "-out", root + "/cert.pem"});
  port_ = UnusedLoopbackPort();
  tlsPort_ = UnusedLoopbackPort();
  if (!WriteFiles() || !WriteFileBytes((root + "/nginx.conf").toStdString(), Config(root, port_, tlsPort_).toUtf8())) {
    problem_ = QStringLiteral("the nginx files could not be written");
    return;
  }
  process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  process_.start(nginx, {"-c", root + "/nginx.conf", "-p", root, "-e", root + "/error.log"});
  running_ = process_.waitForStarted(5000) && WaitForLoopbackPort(port_, 10000) && WaitForLoopbackPort(tlsPort_, 10000);
  if (!running_) problem_ = QStringLiteral("nginx did not start");
}

NginxServer::~NginxServer() {
  if (process_.state() == QProcess::NotRunning) return;
  process_.terminate();
  if (!process_.waitForFinished(5000)) process_.kill();
  process_.waitForFinished(2000);
}

bool NginxServer::WriteFiles() {
  const QString html = dir_.path() + "/html";
  if (!QDir().mkpath(html) || !QDir().mkpath(dir_.path() + "/tmp")) return false;
  // nginx's workers run as another user when the tests run as root.
  const auto open = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                    QFileDevice::ReadGroup | QFileDevice::ExeGroup | QFileDevice::ReadOther | QFileDevice::ExeOther;
  if (!QFile::setPermissions(dir_.path(), open) || !QFile::setPermissions(html, open)) return false;
  const QByteArray index = QByteArray("<html><HEAD><TITLE>") + kIndexTitle + "</TITLE></HEAD><body>hello</body></html>";
  const QByteArray big = "<html><title lang=\"en\">Big &amp; long</title>" + QByteArray(5000 - 45 - 7, 'x') + "</html>";
  const std::string folder = html.toStdString();
  if (!WriteFileBytes(folder + "/index.html", index) || !WriteFileBytes(folder + "/big.html", big)) return false;
  const QDateTime when = QDateTime::fromString(QString::fromLatin1(kPageModified), "yyyy-MM-dd HH:mm:ss");
  QDateTime utc = when;
  utc.setTimeSpec(Qt::UTC);
  for (const QString& name : {QStringLiteral("index.html"), QStringLiteral("big.html")}) {
    QFile file(html + "/" + name);
    if (!file.open(QIODevice::ReadWrite) || !file.setFileTime(utc, QFileDevice::FileModificationTime)) return false;
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther);
  }
  return true;
}

std::string NginxServer::Url(const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(port_) + path;
}

std::string NginxServer::TlsUrl(const std::string& path) const {
  return "https://127.0.0.1:" + std::to_string(tlsPort_) + path;
}

QString NginxServer::CertificatePath() const { return dir_.path() + "/cert.pem"; }

// --- The scripted server -------------------------------------------------------------

HttpScriptServer::HttpScriptServer(Mode mode, std::string text, int pauseMs)
    : mode_(mode), text_(std::move(text)), pauseMs_(pauseMs) {}

HttpScriptServer::HttpScriptServer(Router answer) : mode_(Mode::Routed), router_(std::move(answer)), pauseMs_(0) {}

std::vector<HttpScriptServer::Exchange> HttpScriptServer::Exchanges() const {
  const std::lock_guard<std::mutex> lock(mutex_);
  return exchanges_;
}

std::string HttpScriptServer::Url(const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(Port()) + path;
}

void HttpScriptServer::Serve(int fd) {
  // The whole request first, so that closing never resets the connection.
  std::string request;
  char buffer[4096];
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (!listener_.stopping() && request.find("\r\n\r\n") == std::string::npos && std::chrono::steady_clock::now() < until) {
    if (!Readable(fd, 50)) continue;
    const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
    if (n <= 0) return;
    request.append(buffer, std::size_t(n));
  }
  const auto send = [fd](const char* data, std::size_t size) {
    return ::send(fd, data, size, MSG_NOSIGNAL) == ssize_t(size);
  };
  switch (mode_) {
    case Mode::Routed: {
      Exchange exchange{request.substr(0, request.find("\r\n")), std::chrono::steady_clock::now(), {}};
      const std::string answer = router_(exchange.requestLine);
      send(answer.data(), answer.size());
      ::shutdown(fd, SHUT_WR);
      exchange.answered = std::chrono::steady_clock::now();
      const std::lock_guard<std::mutex> lock(mutex_);
      exchanges_.push_back(std::move(exchange));
      return;
    }
    case Mode::Answer:
      send(text_.data(), text_.size());
      break;
    case Mode::Drip:
      for (std::size_t i = 0; i < text_.size() && !listener_.stopping(); ++i) {
        if (!send(text_.data() + i, 1)) return;
        std::this_thread::sleep_for(std::chrono::milliseconds(pauseMs_));
      }
      break;
    case Mode::Endless: {
      if (!send(text_.data(), text_.size())) return;
      // Bounded waits, so that the server notices when it is told to stop.
      timeval wait{0, 100000};
      ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &wait, sizeof wait);
      const std::string block(4096, 'z');
      while (!listener_.stopping()) {
        const ssize_t n = ::send(fd, block.data(), block.size(), MSG_NOSIGNAL);
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) continue;
        if (n <= 0) break;
      }
      break;
    }
  }
  ::shutdown(fd, SHUT_WR);
}

}  // namespace qvtest
