#include "lookup/alert_mailer.h"

#include <cmath>
#include <cstdio>
#include <fstream>

#include "platform/data_folder.h"
#include "store/domain_groups.h"
#include "store/domain_record.h"

namespace qv {

std::filesystem::path MailTranscriptPath() { return DataFolder() / kMailTranscriptName; }

void AppendMailTranscript(std::string_view text) {
  static bool started = false;  // main thread only
  std::ofstream out(MailTranscriptPath(), std::ios::binary | (started ? std::ios::app : std::ios::trunc));
  if (!out) return;
  started = true;
  out.write(text.data(), std::streamsize(text.size()));
}

std::string PingAlertText(std::string_view name, const Date& checkedAt) {
  int month = -1, day = -1, year = -1, hour = -1, minute = -1, second = -1;
  if (checkedAt.IsValid()) {
    const DateParts p = checkedAt.Parts();
    month = p.month;
    day = p.day;
    year = p.year;
    hour = p.hour;
    minute = p.minute;
    second = p.second;
  }
  char when[64];
  std::snprintf(when, sizeof when, "%02d/%02d/%04d %02d:%02d:%02d", month, day, year, hour, minute, second);
  return "Domain: " + std::string(name) + ", Ping Failed on " + when;
}

int OldestAlertAge(const AlertList& alerts, const Date& now) {
  if (!now.IsValid()) return 0;
  for (const AlertItem& item : alerts.Items()) {
    if (!item.added.IsValid()) continue;
    const double seconds = std::round((now.days() - item.added.days()) * 86400.0);
    return seconds <= 0 ? 0 : int(seconds / 60);
  }
  return 0;
}

AlertMailer::AlertMailer(AlertList& alerts, QObject* parent)
    : QObject(parent), alerts_(alerts), now_([] { return Date::Now(); }) {
  connect(&mails_, &MailList::mailFinished, this, &AlertMailer::OnMailFinished);
}

void AlertMailer::SetClock(std::function<Date()> now) {
  now_ = std::move(now);
  mails_.SetClock(now_);
}

int AlertMailer::SendAlerts() {
  if (alerts_.empty()) return 0;
  const AlertSettings settings = ReadAlertSettings();
  SmtpServer server;
  std::string problem;
  // Without a server or recipient the alerts wait: nothing is lost, and
  // they go once the settings are made.
  if (settings.toEmail.empty() || !AlertServer(settings, server, problem)) return 0;
  std::vector<std::string> texts;
  for (AlertItem& item : alerts_.TakeAll()) {
    const bool wanted = item.kind == AlertKind::Ping ? settings.onPingStatus : settings.onDomainStatus;
    if (wanted) texts.push_back(std::move(item.text));
  }
  std::string text = JoinAlertTexts(texts);
  if (text.empty()) return 0;
  MailJob job = AlertMailJob(settings, server, std::move(text));
  job.alertCount = int(texts.size());
  mails_.QueueAlertMail(std::move(job));
  mails_.StartMailJobs();
  return int(texts.size());
}

void AlertMailer::OnIdle() {
  SendAlerts();
  mails_.RetryDueJobs(now_());
}

bool AlertMailer::RaisePingAlert(const DomainRecord& record, bool failed, const Date& checkedAt) {
  if (!failed || !record.IsGroupMember(kMostImportantGroupCode)) return false;
  if (!ReadAlertSettings().onPingStatus) return false;
  alerts_.Add(PingAlertText(record.Domain(), checkedAt), now_(), AlertKind::Ping);
  if (OldestAlertAge(alerts_, now_()) >= kAlertMaxWaitMinutes) SendAlerts();
  return true;
}

void AlertMailer::OnMailFinished(const MailOutcome& outcome) {
  AppendMailTranscript(outcome.transcript);
  if (outcome.sent) {
    ++mailsSent_;
    alertsMailed_ += outcome.alertCount;
    emit statusText(QStringLiteral("Alert mail sent: %1").arg(QString::fromStdString(outcome.result.reply)));
  } else {
    emit statusText(QStringLiteral("Alert mail not sent (it will be tried again): %1")
                        .arg(QString::fromStdString(outcome.result.error)));
  }
}

}  // namespace qv
