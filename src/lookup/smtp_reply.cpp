#include "lookup/smtp_reply.h"

#include "platform/ascii.h"

namespace qv {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool StartsWithCode(std::string_view line) {
  return line.size() >= 3 && IsDigit(line[0]) && IsDigit(line[1]) && IsDigit(line[2]);
}

}  // namespace

SmtpReply ReadSmtpReply(std::string_view received) {
  SmtpReply reply;
  std::size_t at = 0;
  for (std::size_t newline; (newline = received.find('\n', at)) != std::string_view::npos;) {
    std::string_view line = received.substr(at, newline - at);
    at = newline + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    reply.lines.emplace_back(line);
    if (!StartsWithCode(line)) {
      reply.state = SmtpReplyState::NotSmtp;
      return reply;
    }
    if (line.size() == 3 || line[3] == ' ') {
      reply.state = SmtpReplyState::Complete;
      reply.code = std::string(line.substr(0, 3));
      reply.used = at;
      return reply;
    }
    // A server that sends continuation lines for ever is not waited for:
    // every line read so far counts, not only the unfinished one.
    if (at > kSmtpMaxReplyBytes) break;
  }
  if (received.size() > kSmtpMaxReplyBytes) reply.state = SmtpReplyState::TooLong;
  return reply;
}

std::string SmtpCapabilities(const std::vector<std::string>& lines) {
  std::string capabilities;
  for (const std::string& line : lines) {
    if (line.size() > 4) capabilities += ToUpperAscii(std::string_view(line).substr(4));
    capabilities += '\n';
  }
  return capabilities;
}

SmtpLogin ChooseSmtpLogin(std::string_view capabilities) {
  // Every mechanism named after "AUTH", each between blanks.
  std::string methods;
  for (std::size_t at = 0; (at = capabilities.find("AUTH", at)) != std::string_view::npos; at += 4) {
    const std::size_t end = capabilities.find('\n', at);
    methods.append(" ").append(capabilities.substr(at + 4, end == std::string_view::npos ? end : end - at - 4)).append(" ");
  }
  if (methods.find(" PLAIN ") != std::string::npos || methods.find("=PLAIN") != std::string::npos)
    return SmtpLogin::Plain;
  if (methods.find(" LOGIN") != std::string::npos || methods.find("=LOGIN") != std::string::npos)
    return SmtpLogin::Login;
  return SmtpLogin::None;
}

}  // namespace qv
