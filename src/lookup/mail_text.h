// The texts of an alert mail: the server as the user types it, the header
// lines, the body made safe for the SMTP DATA section, and the joined alert
// text. Nothing here touches a socket.
#pragma once

#include <QDateTime>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

// How the mail connection is protected.
enum class SmtpSecurity { None = 0, StartTls = 1, Tls = 2 };

// The server part of a mail: "host" or "host:port", the protection and the
// login (no login when the user is empty).
struct SmtpServer {
  std::string host;
  int port = 25;
  SmtpSecurity security = SmtpSecurity::None;
  std::string user;
  std::string password;
  // A PEM file of certificates trusted besides the system's (a private
  // server with its own certificate); empty: the system's only.
  std::string certificateFile;
  bool operator==(const SmtpServer&) const = default;
};

// The default port of a protection: 465 for TLS, 25 otherwise.
int DefaultSmtpPort(SmtpSecurity security);
// Reads "host" or "host:port" (blanks around it ignored); false when the host
// is empty or the port is not a number from 1 to 65535. Without a port the
// protection's default is used.
bool ParseSmtpServer(std::string_view text, SmtpSecurity security, SmtpServer& server);

// A header value with every CR and LF removed (a line break in a value would
// start a header or the body of the attacker's choosing).
std::string HeaderValue(std::string_view text);

// The recipients of "a@x; b@y, c@z": split at ";" and ",", blanks trimmed,
// empty parts left out, CR and LF removed.
std::vector<std::string> SplitAddresses(std::string_view text);

// The address for MAIL FROM: completed with "@" and `localHost` when it has
// no "@".
std::string EnvelopeSender(std::string_view fromAddress, std::string_view localHost);

// The body made ready for DATA: every line end (CR LF, a lone LF or a lone CR)
// becomes CR LF and a line starting with "." gets a second "." in front, so
// no text can end the DATA section early. No final line end is added.
std::string DataSectionText(std::string_view body);

// "Mon, 07 Dec 2026 09:05:03 +0100" (English names; the local offset).
std::string MailDateText(const QDateTime& localTime);

// A header value as an encoded word when it is not plain ASCII.
std::string EncodedHeaderText(std::string_view text);

// What the client sends after DATA, without the closing ".": the header lines
// (Date, X-Mailer, To, From, Subject, then the MIME lines), a blank line and
// the body, dot-stuffed, ending in CR LF.
struct MailMessage {
  std::string fromAddress;
  std::string fromName;
  std::vector<std::string> toAddresses;
  std::string toName;
  std::string subject;
  std::string body;
};
std::string MessageText(const MailMessage& message, const QDateTime& localTime);

// The body of an alert mail: the header and CR LF when the header is not
// empty, the text, then CR LF and the footer when the footer is not empty.
std::string AlertBody(std::string_view header, std::string_view text, std::string_view footer);

// The alert text of items: each text followed by CR LF with every "^" turned
// into ","; then every double quote removed.
std::string JoinAlertTexts(const std::vector<std::string>& texts);

}  // namespace qv
