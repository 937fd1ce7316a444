// Mail jobs: messages waiting to go out, each sent on a thread of its own.
// A job that has not started yet takes in later alerts for the same
// recipient; a job that failed waits for the next start (the next alert, or
// the retry after kMailRetryMinutes) and never counts as sent.
//
// The list belongs to the thread that made it. The sending thread works on
// its own copy of the job and hands the outcome back with a queued call.
#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "lookup/smtp_client.h"
#include "platform/date.h"

namespace qv {

// A failed job is started again after this many minutes without new alerts.
inline constexpr int kMailRetryMinutes = 10;

struct MailJob {
  std::string subject;
  std::string fromAddress, fromName;
  std::string toAddress, secondTo, toName;
  std::string text;  // grows when later alerts are merged in
  int alertCount = 0;  // the alerts the text holds
  SmtpServer server;
  std::string header, footer;
  bool done = false;
  bool sending = false;  // a thread runs for it
  int attempts = 0;
  Date lastAttempt;      // when the last send started (null: never)
  SmtpResult lastResult;
};

// The outcome of one send, as the list reports it.
struct MailOutcome {
  bool sent = false;
  SmtpResult result;
  std::string subject;
  int alertCount = 0;
  std::string transcript;  // the dialogue, AUTH masked
};

class MailList : public QObject {
  Q_OBJECT

 public:
  explicit MailList(QObject* parent = nullptr);
  // Waits for the sends still running (each ends within its time-outs).
  ~MailList() override;

  // Drops the done jobs; then appends `job.text` to a job that has not been
  // started and is not done, with the same subject, addresses, server and
  // header (compared exactly), or else appends the job.
  void QueueAlertMail(MailJob job);
  // Drops the done jobs and starts a thread for every job that is neither
  // sending nor done. Returns the number of jobs left in the list (0: none).
  int StartMailJobs();
  // Starts only the failed jobs whose last attempt is kMailRetryMinutes or
  // more before `now`.
  void RetryDueJobs(const Date& now);

  const std::vector<std::shared_ptr<MailJob>>& Jobs() const { return jobs_; }
  bool Sending() const;
  // Runs the event loop until no job is sending or `timeoutMs` passed; true
  // when nothing is sending any more.
  bool WaitForSends(int timeoutMs);

  void SetTimeoutMs(int ms) { timeoutMs_ = ms; }
  // The clock for the attempts (tests fix it).
  void SetClock(std::function<Date()> now) { now_ = std::move(now); }

 signals:
  // A send ended (on the list's thread).
  void mailFinished(const qv::MailOutcome& outcome);

 private:
  void Start(const std::shared_ptr<MailJob>& job);
  void Finish(const std::shared_ptr<MailJob>& job, SmtpResult result, std::string transcript);
  void DropDoneJobs();
  void JoinFinishedThreads();

  std::vector<std::shared_ptr<MailJob>> jobs_;
  struct Sender {
    std::shared_ptr<MailJob> job;
    std::thread thread;
    bool finished = false;
  };
  std::vector<Sender> senders_;
  int timeoutMs_ = kSmtpTimeoutMs;
  std::function<Date()> now_;
};

// The mail record of a job, as the sending thread builds it: the recipients
// are the to address and the second one, the body is header, text, footer.
MailRecord MailRecordOfJob(const MailJob& job);

}  // namespace qv

Q_DECLARE_METATYPE(qv::MailOutcome)
