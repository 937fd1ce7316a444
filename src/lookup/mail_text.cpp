#include "lookup/mail_text.h"

#include <QByteArray>
#include <QLocale>
#include <QTimeZone>
#include <cstdio>

#include "platform/settings_store.h"

namespace qv {
namespace {

std::string Trim(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(" \t");
  return std::string(text.substr(first, last - first + 1));
}

bool IsAscii(std::string_view text) {
  for (char c : text)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

// "address" or "address (name)".
std::string AddressWithName(std::string_view address, std::string_view name) {
  std::string text = HeaderValue(address);
  if (!name.empty()) text += " (" + EncodedHeaderText(name) + ")";
  return text;
}

}  // namespace

int DefaultSmtpPort(SmtpSecurity security) { return security == SmtpSecurity::Tls ? 465 : 25; }

bool ParseSmtpServer(std::string_view text, SmtpSecurity security, SmtpServer& server) {
  std::string host = Trim(text);
  int port = DefaultSmtpPort(security);
  const auto colon = host.rfind(':');
  if (colon != std::string::npos && host.find(':') == colon) {
    const std::string digits = host.substr(colon + 1);
    if (digits.empty() || digits.size() > 5 || digits.find_first_not_of("0123456789") != std::string::npos)
      return false;
    port = std::stoi(digits);
    if (port < 1 || port > 65535) return false;
    host.resize(colon);
  }
  if (host.empty()) return false;
  server.host = host;
  server.port = port;
  server.security = security;
  return true;
}

std::string HeaderValue(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text)
    if (c != '\r' && c != '\n') out += c;
  return out;
}

std::vector<std::string> SplitAddresses(std::string_view text) {
  std::vector<std::string> out;
  std::size_t start = 0;
  while (start <= text.size()) {
    const auto end = text.find_first_of(";,", start);
    const std::string part = Trim(HeaderValue(text.substr(start, end - start)));
    if (!part.empty()) out.push_back(part);
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  return out;
}

std::string EnvelopeSender(std::string_view fromAddress, std::string_view localHost) {
  std::string address = HeaderValue(fromAddress);
  if (address.find('@') == std::string::npos) address += "@" + std::string(localHost);
  return address;
}

std::string DataSectionText(std::string_view body) {
  std::string out;
  out.reserve(body.size() + body.size() / 16 + 2);
  bool lineStart = true;
  for (std::size_t i = 0; i < body.size(); ++i) {
    const char c = body[i];
    if (c == '\r' || c == '\n') {
      if (c == '\r' && i + 1 < body.size() && body[i + 1] == '\n') ++i;
      out += "\r\n";
      lineStart = true;
      continue;
    }
    if (lineStart && c == '.') out += '.';
    out += c;
    lineStart = false;
  }
  return out;
}

std::string MailDateText(const QDateTime& localTime) {
  const QLocale c = QLocale::c();
  const int offset = localTime.offsetFromUtc() / 60;
  char zone[16];
  std::snprintf(zone, sizeof zone, " %c%2.2d%2.2d", offset < 0 ? '-' : '+', std::abs(offset) / 60,
                std::abs(offset) % 60);
  return c.toString(localTime, QStringLiteral("ddd, dd MMM yyyy HH:mm:ss")).toStdString() + zone;
}

std::string EncodedHeaderText(std::string_view text) {
  const std::string clean = HeaderValue(text);
  if (IsAscii(clean)) return clean;
  return "=?UTF-8?B?" + QByteArray(clean.data(), qsizetype(clean.size())).toBase64().toStdString() + "?=";
}

std::string MessageText(const MailMessage& m, const QDateTime& localTime) {
  std::string to;
  for (const std::string& address : m.toAddresses) to += (to.empty() ? "" : ", ") + HeaderValue(address);
  std::string text;
  text += "Date: " + MailDateText(localTime) + "\r\n";
  text += std::string("X-Mailer: ") + kApplicationName + "\r\n";
  text += "To: " + AddressWithName(to, m.toName) + "\r\n";
  text += "From: " + AddressWithName(m.fromAddress, m.fromName) + "\r\n";
  text += "Subject: " + EncodedHeaderText(m.subject) + "\r\n";
  text += "MIME-Version: 1.0\r\nContent-Type: text/plain; charset=UTF-8\r\n"
          "Content-Transfer-Encoding: 8bit\r\n";
  text += "\r\n";
  text += DataSectionText(m.body);
  if (text.size() < 2 || text.compare(text.size() - 2, 2, "\r\n") != 0) text += "\r\n";
  return text;
}

std::string AlertBody(std::string_view header, std::string_view text, std::string_view footer) {
  std::string body;
  if (!header.empty()) body += std::string(header) + "\r\n";
  body += text;
  if (!footer.empty()) body += "\r\n" + std::string(footer);
  return body;
}

std::string JoinAlertTexts(const std::vector<std::string>& texts) {
  std::string joined;
  for (const std::string& t : texts) {
    for (char c : t) joined += c == '^' ? ',' : c;
    joined += "\r\n";
  }
  std::string out;
  for (char c : joined)
    if (c != '"') out += c;
  return out;
}

}  // namespace qv
