#include "lookup/mail_jobs.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QMetaObject>
#include <QPointer>
#include <QThread>
#include <algorithm>

namespace qv {

MailRecord MailRecordOfJob(const MailJob& job) {
  MailRecord record;
  record.server = job.server;
  MailMessage& m = record.message;
  m.fromAddress = job.fromAddress;
  m.fromName = job.fromName;
  m.toAddresses = SplitAddresses(job.toAddress);
  for (std::string& second : SplitAddresses(job.secondTo)) m.toAddresses.push_back(std::move(second));
  m.toName = job.toName;
  m.subject = job.subject;
  m.body = AlertBody(job.header, job.text, job.footer);
  return record;
}

MailList::MailList(QObject* parent) : QObject(parent), now_([] { return Date::Now(); }) {
  static const int registered = qRegisterMetaType<MailOutcome>();
  (void)registered;
}

MailList::~MailList() {
  for (Sender& s : senders_)
    if (s.thread.joinable()) s.thread.join();
}

void MailList::DropDoneJobs() {
  std::erase_if(jobs_, [](const std::shared_ptr<MailJob>& j) { return j->done; });
}

void MailList::JoinFinishedThreads() {
  for (Sender& s : senders_)
    if (s.finished && s.thread.joinable()) s.thread.join();
  std::erase_if(senders_, [](const Sender& s) { return !s.thread.joinable(); });
}

void MailList::QueueAlertMail(MailJob job) {
  DropDoneJobs();
  for (const std::shared_ptr<MailJob>& j : jobs_) {
    if (j->done || j->sending) continue;
    if (j->subject == job.subject && j->fromAddress == job.fromAddress && j->fromName == job.fromName &&
        j->toAddress == job.toAddress && j->secondTo == job.secondTo && j->toName == job.toName &&
        j->server == job.server && j->header == job.header) {
      j->text += job.text;
      j->alertCount += job.alertCount;
      return;
    }
  }
  job.done = job.sending = false;
  job.attempts = 0;
  jobs_.push_back(std::make_shared<MailJob>(std::move(job)));
}

int MailList::StartMailJobs() {
  DropDoneJobs();
  for (const std::shared_ptr<MailJob>& j : jobs_)
    if (!j->sending && !j->done) Start(j);
  return int(jobs_.size());
}

void MailList::RetryDueJobs(const Date& now) {
  for (const std::shared_ptr<MailJob>& j : jobs_) {
    if (j->sending || j->done || j->attempts == 0 || !j->lastAttempt.IsValid()) continue;
    if ((now.days() - j->lastAttempt.days()) * 24 * 60 >= kMailRetryMinutes - 1e-6) Start(j);
  }
}

bool MailList::Sending() const {
  return std::any_of(jobs_.begin(), jobs_.end(), [](const auto& j) { return j->sending; });
}

bool MailList::WaitForSends(int timeoutMs) {
  QDeadlineTimer deadline(timeoutMs);
  while (Sending() && !deadline.hasExpired()) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    QThread::msleep(1);
  }
  return !Sending();
}

void MailList::Start(const std::shared_ptr<MailJob>& job) {
  JoinFinishedThreads();
  job->sending = true;
  job->attempts += 1;
  job->lastAttempt = now_();
  const MailRecord record = MailRecordOfJob(*job);
  QPointer<MailList> self(this);
  const int timeoutMs = timeoutMs_;
  senders_.push_back({job, {}, false});
  senders_.back().thread = std::thread([self, job, record, timeoutMs]() mutable {
    std::string transcript;
    SmtpResult result = SendMail(record, &transcript, timeoutMs);
    if (!result.ok()) {
      transcript += result.code > 0 ? "Socket error " + std::to_string(result.code) + " in SendMail: "
                                    : "SMTP error " + std::to_string(result.code) + " in SendMail: ";
      transcript += result.error + "\n";
    }
    QMetaObject::invokeMethod(
        self.data(),
        [self, job, result = std::move(result),
         transcript = std::move(transcript)]() mutable {
          if (self) self->Finish(job, std::move(result), std::move(transcript));
        },
        Qt::QueuedConnection);
  });
}

void MailList::Finish(const std::shared_ptr<MailJob>& job, SmtpResult result,
                      std::string transcript) {
  for (Sender& s : senders_)
    if (s.job == job) s.finished = true;
  job->sending = false;
  job->lastResult = result;
  // Nothing merges into a job while it is sending, so the text sent is the
  // job's whole text.
  if (result.ok()) job->done = true;
  emit mailFinished({result.ok(), result, job->subject, job->alertCount, std::move(transcript)});
  JoinFinishedThreads();
}

}  // namespace qv
