// Reading what an SMTP server says: one reply out of the bytes received so
// far, the extensions an EHLO reply offers and the login they allow. Nothing
// here touches a socket, so the client and its tests read replies alike.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

// A reply (all its lines together) longer than this has no end the client
// waits for.
inline constexpr std::size_t kSmtpMaxReplyBytes = 64 * 1024;

enum class SmtpReplyState {
  Complete,    // the final line ("250 ..." or "250") is in
  Incomplete,  // more bytes are needed
  NotSmtp,     // a line does not start with three digits
  TooLong,     // kSmtpMaxReplyBytes read without the final line
};

struct SmtpReply {
  SmtpReplyState state = SmtpReplyState::Incomplete;
  // The lines read, without CR LF: up to the final line when complete, up
  // to the offending line when it is not SMTP.
  std::vector<std::string> lines;
  std::string code;     // the final line's three digits
  std::size_t used = 0;  // bytes of the buffer the reply took (complete only)
};

// Reads the reply at the start of `received`: lines end in LF (a CR before
// it is dropped); "nnn-" lines continue, a line whose fourth character is a
// blank, or that is only the three digits, ends the reply.
SmtpReply ReadSmtpReply(std::string_view received);

// The extensions of an EHLO reply: each line's text after the code,
// upper-cased, one a line ("STARTTLS\nAUTH PLAIN LOGIN\n").
std::string SmtpCapabilities(const std::vector<std::string>& lines);

enum class SmtpLogin { None, Plain, Login };

// The login the client uses from what the server offers: PLAIN before LOGIN,
// named on an "AUTH" line ("AUTH PLAIN LOGIN" or the old "AUTH=LOGIN").
SmtpLogin ChooseSmtpLogin(std::string_view capabilities);

}  // namespace qv
