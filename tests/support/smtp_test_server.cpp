#include "support/smtp_test_server.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QThread>
#include <cerrno>
#include <sys/time.h>
#include <sys/socket.h>

#include "support/temp_folders.h"

namespace qvtest {
namespace {

constexpr int kPollMs = 20;

std::string Verb(const std::string& line) {
  std::string verb;
  for (char c : line) {
    if (c == ' ' || c == '\r' || c == '\n') break;
    verb += char(std::toupper(static_cast<unsigned char>(c)));
  }
  return verb;
}

}  // namespace

// --- ScriptedSmtpServer -------------------------------------------------------

ScriptedSmtpServer::ScriptedSmtpServer(Script script) : script_(std::move(script)) {}

void ScriptedSmtpServer::Finish() { listener_.Stop(); }

std::vector<std::string> ScriptedSmtpServer::commands() const {
  std::lock_guard lock(mutex_);
  return commands_;
}

std::vector<std::string> ScriptedSmtpServer::messages() const {
  std::lock_guard lock(mutex_);
  return messages_;
}

std::string ScriptedSmtpServer::ReplyTo(const std::string& verb) const {
  const auto it = script_.replies.find(verb);
  if (it != script_.replies.end()) return it->second;
  if (verb == "EHLO") return "250-scripted\r\n250-8BITMIME\r\n250 AUTH LOGIN\r\n";
  if (verb == "DATA") return "354 go ahead\r\n";
  if (verb == "QUIT") return "221 bye\r\n";
  if (verb == "AUTH") return "334 VXNlcm5hbWU6\r\n";
  return "250 ok\r\n";
}

void ScriptedSmtpServer::Reply(int fd, const std::string& text) {
  if (!script_.linesApart) {
    ::send(fd, text.data(), text.size(), MSG_NOSIGNAL);
    return;
  }
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find('\n', start);
    const std::string line = text.substr(start, end == std::string::npos ? end : end + 1 - start);
    ::send(fd, line.data(), line.size(), MSG_NOSIGNAL);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    start = end == std::string::npos ? text.size() : end + 1;
  }
}

void ScriptedSmtpServer::GreetWithoutEnd(int fd) {
  // Bounded waits, so that a client that stops reading does not hold the
  // server past Finish.
  timeval wait{0, 100000};
  ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &wait, sizeof wait);
  const std::string line = "220-still greeting you\r\n";
  const std::size_t step = script_.greetingDripMs > 0 ? 1 : line.size();
  for (std::size_t at = 0; !listener_.stopping(); at = (at + step) % line.size()) {
    const ssize_t n = ::send(fd, line.data() + at, step, MSG_NOSIGNAL);
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) continue;
    if (n <= 0) return;
    if (script_.greetingDripMs > 0) std::this_thread::sleep_for(std::chrono::milliseconds(script_.greetingDripMs));
  }
}

void ScriptedSmtpServer::Serve(int fd) {
  Reply(fd, script_.greeting);
  if (script_.endlessGreeting) return GreetWithoutEnd(fd);
  std::string buffer, message;
  bool inData = false;
  int authStep = 0;  // AUTH LOGIN: the user, then the password
  char chunk[4096];
  while (!listener_.stopping()) {
    if (!Readable(fd, kPollMs)) continue;
    const ssize_t n = ::recv(fd, chunk, sizeof chunk, 0);
    if (n <= 0) return;
    if (script_.stallAfterGreeting) continue;
    buffer.append(chunk, std::size_t(n));
    if (inData && script_.dropInData) return;
    for (std::size_t eol; (eol = buffer.find("\r\n")) != std::string::npos;) {
      const std::string line = buffer.substr(0, eol);
      buffer.erase(0, eol + 2);
      if (inData) {
        if (line == ".") {
          inData = false;
          const bool refuse = refused_ < script_.refuseMessages;
          if (refuse) {
            ++refused_;
          } else {
            std::lock_guard lock(mutex_);
            messages_.push_back(message);
          }
          message.clear();
          Reply(fd, refuse ? "451 try again later\r\n" : ReplyTo("."));
        } else {
          message += line + "\r\n";
        }
        continue;
      }
      {
        std::lock_guard lock(mutex_);
        commands_.push_back(line);
      }
      if (authStep > 0) {
        Reply(fd, authStep++ == 1 ? "334 UGFzc3dvcmQ6\r\n" : "235 welcome\r\n");
        if (authStep > 2) authStep = 0;
        continue;
      }
      const std::string verb = Verb(line);
      const std::string reply = ReplyTo(verb);
      if (verb == "AUTH" && reply.rfind("334", 0) == 0) authStep = 1;
      if (verb == "DATA" && reply.rfind("354", 0) == 0) inData = true;
      Reply(fd, reply);
      if (verb == "QUIT") return;
    }
  }
}

// --- Aiosmtpd -----------------------------------------------------------------

Aiosmtpd::Aiosmtpd(const Options& options) {
  static int serial = 0;
  const QString root = TempRoot() + QStringLiteral("/aiosmtpd%1").arg(++serial);
  folder_ = root + QStringLiteral("/mail");
  QDir().mkpath(folder_);
  port_ = UnusedLoopbackPort();
  QStringList args = {"-m", "aiosmtpd", "-n", "-l", QStringLiteral("127.0.0.1:%1").arg(port_),
                      "-c", "smtp_recorder.Recorder"};
  if (options.startTls) {
    cert_ = root + QStringLiteral("/cert.pem");
    const QString key = root + QStringLiteral("/key.pem");
    QProcess openssl;
    openssl.setStandardOutputFile(QProcess::nullDevice());
    openssl.setStandardErrorFile(QProcess::nullDevice());
    openssl.start("openssl", {"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2", "-subj",
                              "/CN=127.0.0.1", "-addext", "subjectAltName=IP:127.0.0.1,DNS:localhost",
                              "-keyout", key, "-out", cert_});
    if (!openssl.waitForFinished(30000) || openssl.exitCode() != 0) return;
    args << "--tlscert" << cert_ << "--tlskey" << key;
  }
  args << folder_;
  if (!options.user.isEmpty()) args << options.user << options.password;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("PYTHONPATH"), QStringLiteral(QV_TEST_SUPPORT_DIR));
  process_.setProcessEnvironment(env);
  process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  process_.start(QStringLiteral("/usr/bin/python3"), args);
  // Ready once it accepts a connection.
  running_ = process_.waitForStarted(5000) &&
             WaitForLoopbackPort(port_, 15000, [this] { return process_.state() == QProcess::Running; });
}

Aiosmtpd::~Aiosmtpd() {
  if (process_.state() != QProcess::NotRunning) {
    process_.terminate();
    if (!process_.waitForFinished(3000)) {
      process_.kill();
      process_.waitForFinished(3000);
    }
  }
}

std::vector<QJsonObject> Aiosmtpd::messages() const {
  std::vector<QJsonObject> out;
  QDir dir(folder_);
  for (const QString& name : dir.entryList({QStringLiteral("*.json")}, QDir::Files, QDir::Name)) {
    QFile f(dir.filePath(name));
    if (f.open(QIODevice::ReadOnly)) out.push_back(QJsonDocument::fromJson(f.readAll()).object());
  }
  return out;
}

bool Aiosmtpd::WaitForMessages(int count, int timeoutMs) const {
  QDeadlineTimer deadline(timeoutMs);
  while (int(messages().size()) < count) {
    if (deadline.hasExpired()) return false;
    QThread::msleep(20);
  }
  return true;
}

}  // namespace qvtest
