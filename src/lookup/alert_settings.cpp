#include "lookup/alert_settings.h"

#include <QByteArray>

#include "platform/blowfish.h"
#include "platform/settings_store.h"

namespace qv {
namespace {

constexpr std::string_view kPasswordKey = "Qv!r3l-sm7p.p4ss";
constexpr const char* S = kSettingsSection;

std::string Text(const char* key, const char* fallback = "") { return GetProfileString(S, key, fallback); }

}  // namespace

AlertSettings ReadAlertSettings() {
  AlertSettings a;
  a.fromEmail = Text("Alert From Email");
  a.fromName = Text("Alert From Name");
  a.toEmail = Text("Alert To Email");
  a.toName = Text("Alert To Name");
  a.smtp = Text("Alert SMTP");
  a.subject = Text("Alert Subject", "Alert Event");
  a.header = Text("Alert Header");
  a.footer = Text("Alert Footer");
  a.onDomainStatus = GetProfileInt(S, "Alert On Domain Status", 1) != 0;
  a.onPingStatus = GetProfileInt(S, "Alert On Ping Status", 0) != 0;
  const int security = GetProfileInt(S, "Alert SMTP Security", 0);
  a.security = security == 1 ? SmtpSecurity::StartTls : security == 2 ? SmtpSecurity::Tls : SmtpSecurity::None;
  a.user = Text("Alert SMTP User");
  a.password = DecipherMailPassword(Text("Alert SMTP Password"));
  a.certificateFile = Text("Alert SMTP Certificate");
  return a;
}

bool WriteAlertSettings(const AlertSettings& a) {
  return SettingsBatch::Profile()
      .SetString(S, "Alert From Email", a.fromEmail)
      .SetString(S, "Alert From Name", a.fromName)
      .SetString(S, "Alert To Email", a.toEmail)
      .SetString(S, "Alert To Name", a.toName)
      .SetString(S, "Alert SMTP", a.smtp)
      .SetString(S, "Alert Subject", a.subject)
      .SetString(S, "Alert Header", a.header)
      .SetString(S, "Alert Footer", a.footer)
      .SetInt(S, "Alert On Domain Status", a.onDomainStatus ? 1 : 0)
      .SetInt(S, "Alert On Ping Status", a.onPingStatus ? 1 : 0)
      .SetInt(S, "Alert SMTP Security", int(a.security))
      .SetString(S, "Alert SMTP User", a.user)
      .SetString(S, "Alert SMTP Certificate", a.certificateFile)
      .SetString(S, "Alert SMTP Password", EncipherMailPassword(a.password))
      .Commit();
}

std::string EncipherMailPassword(std::string_view password) {
  if (password.empty()) return {};
  const auto cipher = BlowfishEncipher(kPasswordKey, password);
  if (!cipher) return {};
  return QByteArray::fromStdString(*cipher).toHex().toStdString();
}

std::string DecipherMailPassword(std::string_view stored) {
  if (stored.empty()) return {};
  const QByteArray bytes = QByteArray::fromHex(QByteArray(stored.data(), qsizetype(stored.size())));
  return BlowfishDecipher(kPasswordKey, bytes.toStdString()).value_or(std::string());
}

bool AlertServer(const AlertSettings& a, SmtpServer& server, std::string& problem) {
  if (!ParseSmtpServer(a.smtp, a.security, server)) {
    problem = "The SMTP server \"" + a.smtp + "\" is not a host name or host:port.";
    return false;
  }
  server.user = a.user;
  server.password = a.password;
  server.certificateFile = a.certificateFile;
  return true;
}

MailJob AlertMailJob(const AlertSettings& a, const SmtpServer& server, std::string text) {
  MailJob job;
  job.subject = a.subject;
  job.fromAddress = a.fromEmail.empty() ? a.toEmail : a.fromEmail;
  job.fromName = a.fromName;
  job.toAddress = a.toEmail;
  job.toName = a.toName;
  job.text = std::move(text);
  job.server = server;
  job.header = a.header;
  job.footer = a.footer;
  return job;
}

std::string TestMailText() {
  return std::string("Hi\r\n\r\nThis is a test mail from ") + kApplicationName + ".\r\n";
}

std::string TestMailProblem(const AlertSettings& a) {
  if (a.fromEmail.empty() || a.smtp.empty() || a.toEmail.empty()) return kFillRequiredFieldsText;
  SmtpServer server;
  std::string problem;
  if (!AlertServer(a, server, problem)) return problem;
  return {};
}

}  // namespace qv
