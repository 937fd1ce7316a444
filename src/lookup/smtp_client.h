// The program's small SMTP client. One call sends one message over one
// connection, on the calling thread, with blocking waits: greeting, EHLO (HELO
// when EHLO is refused), STARTTLS when asked for, AUTH PLAIN or LOGIN when a
// user is set, MAIL FROM, one RCPT TO per recipient, DATA, QUIT. TLS checks
// the server against the system's certificates (QSslSocket).
#pragma once

#include <string>

#include "lookup/mail_text.h"

namespace qv {

// What one send needs.
struct MailRecord {
  SmtpServer server;
  MailMessage message;
};

// How long each connect, write and whole reply may take before the send fails.
inline constexpr int kSmtpTimeoutMs = 30000;

struct SmtpResult {
  // 0: the server took the message. Positive: a socket error (1 + Qt's
  // QAbstractSocket::SocketError; a time-out is kSmtpTimedOut). Negative:
  // minus the server's reply code, or -1 when no reply line could be read or
  // the dialogue could not go on (the error says why).
  int code = 0;
  std::string reply;  // the server's last reply line (on success its 250)
  std::string error;  // what went wrong, for the status bar and the transcript
  bool ok() const { return code == 0; }
};
inline constexpr int kSmtpTimedOut = 6;  // 1 + QAbstractSocket::SocketTimeoutError

// Sends the message. Every text sent and every reply received is appended to
// `transcript` when it is not null, with the AUTH exchange masked.
SmtpResult SendMail(const MailRecord& record, std::string* transcript = nullptr,
                    int timeoutMs = kSmtpTimeoutMs);

}  // namespace qv
