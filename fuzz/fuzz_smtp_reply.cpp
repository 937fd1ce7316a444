// What an SMTP server sends, read reply after reply as the mail client reads
// it: once with everything received at once, once arriving in pieces (the
// first byte picks their size); both must give the same replies. Each
// complete reply is also read as an EHLO answer (extensions, login choice).
#include <cstdlib>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "lookup/smtp_reply.h"

namespace {

// The replies of `text` delivered `piece` bytes at a time (0: at once),
// ending at the first reply that is not SMTP or too long, or at the end.
std::vector<qv::SmtpReply> Replies(std::string_view text, std::size_t piece) {
  std::vector<qv::SmtpReply> replies;
  std::string buffer;
  std::size_t delivered = 0;
  for (;;) {
    const qv::SmtpReply reply = qv::ReadSmtpReply(buffer);
    if (reply.state == qv::SmtpReplyState::Incomplete) {
      if (delivered == text.size()) break;
      const std::size_t more = piece == 0 ? text.size() : piece;
      buffer.append(text.substr(delivered, more));
      delivered = std::min(text.size(), delivered + more);
      continue;
    }
    if (reply.used > buffer.size()) std::abort();
    if (reply.state != qv::SmtpReplyState::TooLong && reply.lines.empty()) std::abort();
    replies.push_back(reply);
    if (reply.state != qv::SmtpReplyState::Complete) break;
    buffer.erase(0, reply.used);
  }
  return replies;
}

bool Same(const qv::SmtpReply& a, const qv::SmtpReply& b) {
  return a.state == b.state && a.lines == b.lines && a.code == b.code && a.used == b.used;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::size_t piece = 1 + data[0] % 64;
  const std::string_view text = qvfuzz::AsText(data + 1, size - 1);
  const std::vector<qv::SmtpReply> whole = Replies(text, 0);
  const std::vector<qv::SmtpReply> pieces = Replies(text, piece);
  // A too-long reply is noticed as soon as the limit is passed, so only the
  // replies before it must agree.
  if (whole.size() != pieces.size()) std::abort();
  for (std::size_t i = 0; i < whole.size(); ++i) {
    const bool tooLong = whole[i].state == qv::SmtpReplyState::TooLong;
    if (tooLong != (pieces[i].state == qv::SmtpReplyState::TooLong)) std::abort();
    if (!tooLong && !Same(whole[i], pieces[i])) std::abort();
  }
  for (const qv::SmtpReply& reply : whole) {
    if (reply.state != qv::SmtpReplyState::Complete) continue;
    if (reply.code.size() != 3 || reply.lines.back().compare(0, 3, reply.code) != 0) std::abort();
    const std::string capabilities = qv::SmtpCapabilities(reply.lines);
    const qv::SmtpLogin login = qv::ChooseSmtpLogin(capabilities);
    if (login == qv::SmtpLogin::Plain && capabilities.find("PLAIN") == std::string::npos) std::abort();
    if (login == qv::SmtpLogin::Login && capabilities.find("LOGIN") == std::string::npos) std::abort();
  }
  return 0;
}
