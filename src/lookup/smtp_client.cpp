#include "lookup/smtp_client.h"

#include <QByteArray>
#include <QDeadlineTimer>
#include <QHostInfo>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QSslSocket>

#include "lookup/smtp_reply.h"

namespace qv {
namespace {

constexpr const char* kNoAnswerInTimeText = "The server did not answer in time.";

// One SMTP dialogue over one socket.
class SmtpSession {
 public:
  SmtpSession(const MailRecord& record, std::string* transcript, int timeoutMs)
      : record_(record), transcript_(transcript), timeoutMs_(timeoutMs) {}

  SmtpResult Run();

 private:
  bool Connect();
  bool Greet();
  bool Hello();
  bool StartTls();
  bool Authenticate();
  bool Envelope();
  bool Data();

  // Sends a command; `logged` is what the transcript gets instead (masking).
  bool Send(const std::string& text, const char* logged = nullptr);
  // Reads one whole reply (continuation lines "250-..." up to the final
  // "250 ..."); false on a time-out or a closed connection.
  bool ReadReply();
  // Send, then read; true when the reply code starts with `expected`.
  bool Command(const std::string& text, const char* expected, const char* logged = nullptr);
  bool Expect(const char* expected);
  bool SocketFailure();
  bool Fail(int code, std::string error);
  void Log(std::string_view text);

  const MailRecord& record_;
  std::string* transcript_;
  int timeoutMs_;
  QSslSocket socket_;
  QByteArray buffer_;
  SmtpReply reply_;
  std::string capabilities_;  // the EHLO reply, upper-cased
  std::string localHost_;
  SmtpResult result_;
};

SmtpResult SmtpSession::Run() {
  localHost_ = QHostInfo::localHostName().toStdString();
  if (localHost_.empty()) localHost_ = "localhost";
  if (Connect() && Greet() && Hello() && StartTls() && Authenticate() && Envelope() && Data()) {
    const SmtpResult accepted = result_;
    // The message is taken: a QUIT the server does not answer changes nothing.
    Command("QUIT\r\n", "221");
    result_ = accepted;
  }
  socket_.abort();
  return result_;
}

bool SmtpSession::Connect() {
  const QString host = QString::fromStdString(record_.server.host);
  const auto port = quint16(record_.server.port);
  if (!record_.server.certificateFile.empty()) {
    const QList<QSslCertificate> extra =
        QSslCertificate::fromPath(QString::fromStdString(record_.server.certificateFile));
    if (extra.isEmpty())
      return Fail(-1, "No certificate could be read from " + record_.server.certificateFile + ".");
    QSslConfiguration c = socket_.sslConfiguration();
    c.addCaCertificates(extra);
    socket_.setSslConfiguration(c);
  }
  if (record_.server.security == SmtpSecurity::Tls) {
    socket_.connectToHostEncrypted(host, port);
    if (!socket_.waitForEncrypted(timeoutMs_)) return SocketFailure();
  } else {
    socket_.connectToHost(host, port);
    if (!socket_.waitForConnected(timeoutMs_)) return SocketFailure();
  }
  return true;
}

bool SmtpSession::Greet() { return ReadReply() && Expect("220"); }

bool SmtpSession::Hello() {
  if (Command("EHLO " + localHost_ + "\r\n", "250")) {
    capabilities_ = SmtpCapabilities(reply_.lines);
    return true;
  }
  if (result_.code > 0 || reply_.code.empty()) return false;  // the connection failed
  capabilities_.clear();
  return Command("HELO " + localHost_ + "\r\n", "250");
}

bool SmtpSession::StartTls() {
  if (record_.server.security != SmtpSecurity::StartTls) return true;
  if (capabilities_.find("STARTTLS") == std::string::npos)
    return Fail(-1, "The server does not offer STARTTLS, so the mail was not sent in clear.");
  if (!Command("STARTTLS\r\n", "220")) return false;
  if (!buffer_.isEmpty()) return Fail(-1, "The server sent text before the TLS handshake.");
  socket_.startClientEncryption();
  if (!socket_.waitForEncrypted(timeoutMs_)) return SocketFailure();
  // The capabilities told in clear are forgotten; they are asked again.
  capabilities_.clear();
  if (!Command("EHLO " + localHost_ + "\r\n", "250")) return false;
  capabilities_ = SmtpCapabilities(reply_.lines);
  return true;
}

bool SmtpSession::Authenticate() {
  const SmtpServer& s = record_.server;
  if (s.user.empty()) return true;
  const SmtpLogin login = ChooseSmtpLogin(capabilities_);
  const auto b64 = [](const std::string& text) {
    return QByteArray::fromStdString(text).toBase64().toStdString();
  };
  if (login == SmtpLogin::Plain) {
    const std::string token = b64(std::string("\0", 1) + s.user + std::string("\0", 1) + s.password);
    return Command("AUTH PLAIN " + token + "\r\n", "235", "AUTH PLAIN ********\r\n");
  }
  if (login == SmtpLogin::Login) {
    return Command("AUTH LOGIN\r\n", "334") && Command(b64(s.user) + "\r\n", "334", "********\r\n") &&
           Command(b64(s.password) + "\r\n", "235", "********\r\n");
  }
  return Fail(-1, "The server offers no login this program can use (AUTH PLAIN or LOGIN).");
}

bool SmtpSession::Envelope() {
  const MailMessage& m = record_.message;
  if (m.toAddresses.empty()) return Fail(-1, "The mail has no recipient.");
  if (!Command("MAIL FROM: <" + EnvelopeSender(m.fromAddress, localHost_) + ">\r\n", "250")) return false;
  for (const std::string& to : m.toAddresses)
    if (!Command("RCPT TO: <" + HeaderValue(to) + ">\r\n", "25")) return false;
  return true;
}

bool SmtpSession::Data() {
  if (!Command("DATA\r\n", "354")) return false;
  const std::string text = MessageText(record_.message, QDateTime::currentDateTime());
  if (!Send(text) || !Command(".\r\n", "250")) return false;
  result_.code = 0;
  return true;
}

bool SmtpSession::Send(const std::string& text, const char* logged) {
  Log(logged ? std::string_view(logged) : std::string_view(text));
  if (socket_.write(text.data(), qint64(text.size())) != qint64(text.size())) return SocketFailure();
  while (socket_.bytesToWrite() > 0)
    if (!socket_.waitForBytesWritten(timeoutMs_)) return SocketFailure();
  return true;
}

bool SmtpSession::ReadReply() {
  // The whole reply must come within the time-out: a server that trickles
  // bytes or continuation lines without end is cut off (the reader caps
  // its length).
  const QDeadlineTimer deadline(timeoutMs_ > 0 ? qint64(timeoutMs_) : -1);
  for (;;) {
    reply_ = ReadSmtpReply(std::string_view(buffer_.constData(), std::size_t(buffer_.size())));
    switch (reply_.state) {
      case SmtpReplyState::Complete:
        for (const std::string& line : reply_.lines) Log(line + "\r\n");
        buffer_.remove(0, qsizetype(reply_.used));
        result_.reply = reply_.lines.back();
        return true;
      case SmtpReplyState::NotSmtp:
        for (const std::string& line : reply_.lines) Log(line + "\r\n");
        return Fail(-1, "The server's reply is not SMTP: " + reply_.lines.back());
      case SmtpReplyState::TooLong:
        return Fail(-1, "The server's reply has no end.");
      case SmtpReplyState::Incomplete:
        break;
    }
    if (socket_.bytesAvailable() == 0) {
      if (deadline.hasExpired()) return Fail(kSmtpTimedOut, kNoAnswerInTimeText);
      if (!socket_.waitForReadyRead(int(deadline.remainingTime()))) return SocketFailure();
    }
    buffer_ += socket_.readAll();
  }
}

bool SmtpSession::Command(const std::string& text, const char* expected, const char* logged) {
  return Send(text, logged) && ReadReply() && Expect(expected);
}

bool SmtpSession::Expect(const char* expected) {
  if (reply_.code.rfind(expected, 0) == 0) return true;
  return Fail(-std::stoi(reply_.code), "The server refused: " + result_.reply);
}

bool SmtpSession::SocketFailure() {
  const QAbstractSocket::SocketError e = socket_.error();
  const int code = e == QAbstractSocket::UnknownSocketError ? 100 : 1 + int(e);
  std::string text = socket_.errorString().toStdString();
  if (e == QAbstractSocket::SocketTimeoutError) text = kNoAnswerInTimeText;
  return Fail(code, text);
}

bool SmtpSession::Fail(int code, std::string error) {
  result_.code = code;
  result_.error = std::move(error);
  return false;
}

void SmtpSession::Log(std::string_view text) {
  if (transcript_) transcript_->append(text);
}

}  // namespace

SmtpResult SendMail(const MailRecord& record, std::string* transcript, int timeoutMs) {
  SmtpSession session(record, transcript, timeoutMs);
  return session.Run();
}

}  // namespace qv
