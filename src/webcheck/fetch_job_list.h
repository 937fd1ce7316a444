// The process's fetch job list: the running jobs (their number is the counter
// H of the lookup engine) and the cancelled ones still waiting for their
// worker to end. The list and its jobs are changed only on the main thread;
// a worker reads nothing of it but its own job.
//
// Notifications are queued signals of the list, carrying the job's number
// and message: a status text, progress (bytes so far) and the completion.
// A receiver looks the job up by its number (Find) and, after applying it,
// releases it. A cancelled job sends nothing more.
#pragma once

#include <QObject>
#include <QString>
#include <memory>
#include <string>
#include <vector>

#include "webcheck/fetch_job.h"

namespace qv {

class FetchJobList : public QObject {
  Q_OBJECT

 public:
  // The one list of the process; made on first use, which must be on the
  // main thread.
  static FetchJobList& Instance();

  // Starts the job's worker thread on `url` with the total `timeoutMs`
  // (login and password when given) and adds the job to the running list.
  // Returns the job (still owned by the list), or null when no thread could
  // be started.
  HttpFetchJob* Start(std::unique_ptr<HttpFetchJob> job, const std::string& url, int timeoutMs,
                      const std::string& login = {}, const std::string& password = {});

  // The running job with this number; null when it is not (or no longer) there.
  HttpFetchJob* Find(std::uint64_t id) const;
  // Deletes a running job after its completion was applied.
  void Release(std::uint64_t id);
  // Stop: every running job that has not ended is told to stop reading and
  // to send nothing more, and moves to the cancelled list; cancelled jobs
  // whose worker has ended are deleted.
  void CancelAll();
  bool IsCancelled(const HttpFetchJob* job) const;
  // At exit: deletes ended jobs, waiting up to `rounds` times `pauseMs` for
  // the others (running ones are cancelled first). Jobs that never end are
  // left behind.
  void PurgeAtExit(int rounds = 6, int pauseMs = 1000);

  int RunningCount() const { return int(running_.size()); }
  int CancelledCount() const { return int(cancelled_.size()); }
  std::vector<std::string> RunningTags() const;

  // Called from worker threads.
  void NotifyStatus(const HttpFetchJob& job, const char* text);
  void NotifyProgress(const HttpFetchJob& job, qint64 bytes);
  void NotifyDone(HttpFetchJob& job);

 signals:
  void status(quint64 id, int message, const QString& tag, const QString& text);
  void progress(quint64 id, int message, qint64 bytes);
  // code: kFetchSucceeded or kFetchFailed.
  void done(quint64 id, int message, int code);

 private:
  FetchJobList() = default;
  void DropEndedCancelled();

  std::vector<std::unique_ptr<HttpFetchJob>> running_;
  std::vector<std::unique_ptr<HttpFetchJob>> cancelled_;
  std::uint64_t nextId_ = 1;
};

// Runs one fetch on the calling thread (the worker's body).
void RunHttpFetch(HttpFetchJob& job);

}  // namespace qv
