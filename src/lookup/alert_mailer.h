// Sending the alerts: the pending alerts become one mail to the user when the
// engine is idle, or at once when the oldest has waited kAlertMaxWaitMinutes.
// A failed mail stays queued and goes again with the next alert or after
// kMailRetryMinutes; alerts are taken from the list only when a mail can be
// made of them (server and recipient set). Each send's dialogue is appended
// to "sendmail.log" in the per-user data folder (one file per program run).
#pragma once

#include <QObject>
#include <QString>
#include <filesystem>
#include <functional>
#include <string>

#include "lookup/alert_settings.h"
#include "lookup/change_log.h"
#include "lookup/mail_jobs.h"

namespace qv {

class DomainRecord;

inline constexpr const char* kMailTranscriptName = "sendmail.log";
std::filesystem::path MailTranscriptPath();
// Appends to the transcript; the first write of a program run starts the
// file afresh.
void AppendMailTranscript(std::string_view text);

// "Domain: %s, Ping Failed on %02d/%02d/%04d %02d:%02d:%02d" (month, day,
// year, hour, minute, second; each -1 when the time is not valid).
std::string PingAlertText(std::string_view name, const Date& checkedAt);

// The age in whole minutes of the oldest alert with a valid time; 0 when
// there is none.
int OldestAlertAge(const AlertList& alerts, const Date& now);

class AlertMailer : public QObject {
  Q_OBJECT

 public:
  explicit AlertMailer(AlertList& alerts, QObject* parent = nullptr);

  // Mails the pending alerts the settings ask for. Returns the number of
  // alerts put into a mail (0 when none was pending or no mail can be made;
  // the alerts then stay pending).
  int SendAlerts();
  // The idle work: SendAlerts, then the failed mails whose retry is due.
  void OnIdle();
  // A ping result: a failure of a member of "Most Important Domains" becomes
  // an alert (when "Alert On Ping Status" is on); overdue alerts are sent.
  // True when an alert was added.
  bool RaisePingAlert(const DomainRecord& record, bool failed, const Date& checkedAt);

  MailList& Mails() { return mails_; }
  int MailsSent() const { return mailsSent_; }
  // The alerts in the mails sent so far.
  int AlertsMailed() const { return alertsMailed_; }
  void SetClock(std::function<Date()> now);

 signals:
  // A line for the status bar: a mail went out or failed (with why).
  void statusText(const QString& text);

 private:
  void OnMailFinished(const MailOutcome& outcome);

  AlertList& alerts_;
  MailList mails_;
  std::function<Date()> now_;
  int mailsSent_ = 0;
  int alertsMailed_ = 0;
};

}  // namespace qv
