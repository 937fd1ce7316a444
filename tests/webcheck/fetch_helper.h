// Runs one fetch job to its end for a test and hands back what it found.
#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QSignalSpy>
#include <QTest>
#include <functional>
#include <memory>
#include <string>

#include "webcheck/fetch_job_list.h"

namespace fetchtest {

struct Fetched {
  bool completed = false;  // the completion came
  int code = -1;
  std::string error, redirect, headers, body, url;
  qv::Date lastModified;
  long long ms = 0;
};

inline Fetched Fetch(const std::string& url, int timeoutMs = 10000,
                     const std::function<void(qv::HttpFetchJob&)>& configure = {}) {
  qv::FetchJobList& list = qv::FetchJobList::Instance();
  auto made = std::make_unique<qv::HttpFetchJob>();
  made->tag = "test:HTTP";
  made->message = 1030;
  if (configure) configure(*made);
  QSignalSpy done(&list, &qv::FetchJobList::done);
  qv::HttpFetchJob* job = list.Start(std::move(made), url, timeoutMs);
  Fetched f;
  if (!job) return f;
  const std::uint64_t id = job->id;
  QDeadlineTimer until(timeoutMs + 10000);
  while (done.count() == 0 && !until.hasExpired()) QTest::qWait(10);
  f.completed = done.count() > 0;
  if (f.completed) f.code = done.first().at(2).toInt();
  f.error = job->errorText;
  f.redirect = job->redirectUrl;
  f.headers = job->responseHeaders;
  f.body = job->body;
  f.url = job->url;
  f.lastModified = job->lastModified;
  f.ms = job->endTick - job->startTick;
  list.Release(id);
  return f;
}

}  // namespace fetchtest
