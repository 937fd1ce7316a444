// The alert settings (section "Settings"): addresses, server, texts, the two
// switches, and the server's protection and login. The password is kept
// enciphered, never in clear text.
#pragma once

#include <string>

#include "lookup/mail_jobs.h"
#include "lookup/mail_text.h"

namespace qv {

struct AlertSettings {
  std::string fromEmail, fromName;
  std::string toEmail, toName;
  std::string smtp;  // "host" or "host:port"
  std::string subject = "Alert Event";
  std::string header, footer;
  bool onDomainStatus = true;
  bool onPingStatus = false;
  SmtpSecurity security = SmtpSecurity::None;
  std::string user, password;
  std::string certificateFile;  // "Alert SMTP Certificate"
};

AlertSettings ReadAlertSettings();
// Writes every key; the password enciphered (an empty one is removed).
bool WriteAlertSettings(const AlertSettings& settings);

// The stored form of a password (hex of the Blowfish cipher) and back; an
// unreadable stored form gives "".
std::string EncipherMailPassword(std::string_view password);
std::string DecipherMailPassword(std::string_view stored);

// The server of the settings; false (with `problem`) when "Alert SMTP" is not
// a host or host:port.
bool AlertServer(const AlertSettings& settings, SmtpServer& server, std::string& problem);

// A job for `text` with the settings' subject, addresses, server, header and
// footer; the recipient is also the sender when "Alert From Email" is empty.
MailJob AlertMailJob(const AlertSettings& settings, const SmtpServer& server, std::string text);

// The test mail: the text it carries, and why the values cannot send one
// ("" when they can).
std::string TestMailText();
inline constexpr const char* kFillRequiredFieldsText =
    "Please make sure that you fill in the required fields.";
std::string TestMailProblem(const AlertSettings& settings);

}  // namespace qv
