#include "webcheck/fetch_job_list.h"

#include <QCoreApplication>
#include <QNetworkProxyFactory>
#include <algorithm>
#include <chrono>
#include <system_error>
#include <thread>

namespace qv {
namespace {

std::int64_t NowTick() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace

FetchJobList& FetchJobList::Instance() {
  // Never destroyed: a worker may still send its last notification while
  // the program ends.
  static FetchJobList* list = [] {
    // Fetches go through the system's proxy (http_proxy and its kin here).
    QNetworkProxyFactory::setUseSystemConfiguration(true);
    return new FetchJobList;
  }();
  return *list;
}

HttpFetchJob* FetchJobList::Start(std::unique_ptr<HttpFetchJob> job, const std::string& url,
                                  int timeoutMs, const std::string& login,
                                  const std::string& password) {
  if (!job) return nullptr;
  job->url = url;
  if (!login.empty()) job->login = login;
  if (!password.empty()) job->password = password;
  job->timeoutMs = timeoutMs;
  job->id = nextId_++;
  job->startTick = NowTick();
  HttpFetchJob* raw = job.get();
  try {
    std::thread([raw] { RunHttpFetch(*raw); }).detach();
  } catch (const std::system_error&) {
    return nullptr;
  }
  raw->started = true;
  running_.push_back(std::move(job));
  return raw;
}

HttpFetchJob* FetchJobList::Find(std::uint64_t id) const {
  for (const auto& job : running_)
    if (job->id == id) return job.get();
  return nullptr;
}

void FetchJobList::Release(std::uint64_t id) {
  const auto it = std::find_if(running_.begin(), running_.end(),
                               [id](const auto& job) { return job->id == id; });
  if (it == running_.end()) return;
  if ((*it)->ended) {
    running_.erase(it);
  } else {
    // Released before its worker ended (a receiver that gave up on it): it
    // waits among the cancelled jobs.
    (*it)->reportProgress = false;
    (*it)->cancelled = true;
    cancelled_.push_back(std::move(*it));
    running_.erase(it);
  }
}

void FetchJobList::CancelAll() {
  // Newest first; a job that has ended already keeps its place and its
  // completion is applied as usual.
  for (auto it = running_.rbegin(); it != running_.rend();) {
    HttpFetchJob& job = **it;
    if (job.ended) {
      ++it;
      continue;
    }
    job.reportProgress = false;
    job.cancelled = true;
    cancelled_.push_back(std::move(*it));
    it = decltype(it)(running_.erase(std::next(it).base()));
  }
  DropEndedCancelled();
}

bool FetchJobList::IsCancelled(const HttpFetchJob* job) const {
  return std::any_of(cancelled_.begin(), cancelled_.end(),
                     [job](const auto& j) { return j.get() == job; });
}

void FetchJobList::DropEndedCancelled() {
  std::erase_if(cancelled_, [](const auto& job) { return job->ended.load(); });
}

void FetchJobList::PurgeAtExit(int rounds, int pauseMs) {
  CancelAll();
  for (int round = 0; round < rounds; ++round) {
    std::erase_if(running_, [](const auto& job) { return job->ended.load(); });
    DropEndedCancelled();
    if (running_.empty() && cancelled_.empty()) return;
    std::this_thread::sleep_for(std::chrono::milliseconds(pauseMs));
  }
}

std::vector<std::string> FetchJobList::RunningTags() const {
  std::vector<std::string> tags;
  tags.reserve(running_.size());
  for (const auto& job : running_) tags.push_back(job->tag);
  return tags;
}

void FetchJobList::NotifyStatus(const HttpFetchJob& job, const char* text) {
  if (!job.reportProgress) return;
  emit status(job.id, job.message, QString::fromStdString(job.tag), QString::fromLatin1(text));
}

void FetchJobList::NotifyProgress(const HttpFetchJob& job, qint64 bytes) {
  if (!job.reportProgress) return;
  emit progress(job.id, job.message, bytes);
}

void FetchJobList::NotifyDone(HttpFetchJob& job) {
  // A cancelled job reports nothing; its worker has ended and the purge
  // deletes it.
  const std::uint64_t id = job.id;
  const int message = job.message;
  const int code = job.Failed() ? kFetchFailed : kFetchSucceeded;
  const bool cancelled = job.cancelled;
  job.endTick = NowTick();
  job.ended = true;  // the job is the main thread's from here
  if (!cancelled) emit done(id, message, code);
}

}  // namespace qv
