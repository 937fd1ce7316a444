// Helpers shared by the web-check tests: a document of names, and one fetch
// job run to its end.
#pragma once

#include <QDeadlineTimer>
#include <QSignalSpy>
#include <QTest>
#include <functional>
#include <memory>
#include <string>

#include "store/add_names.h"
#include "store/database_maintenance.h"
#include "support/temp_folders.h"
#include "webcheck/fetch_job_list.h"

namespace webtest {

// Creates a new document in the temporary folder holding `names`.
inline bool MakeDocument(qv::DomainDatabase& db, const std::vector<std::string>& names) {
  static int serial = 0;
  const std::string path = qvtest::TempPath(QStringLiteral("web%1.qvl").arg(++serial)).string();
  return qv::NewDocument(db, path).ok && qv::AddDomainNames(db, names).added == names.size();
}

inline qv::DomainRecord Read(qv::DomainDatabase& db, const std::string& name) {
  qv::DomainRecord record;
  db.ReadRecord(name, record);
  return record;
}

struct Fetched {
  bool completed = false;  // the completion came
  int code = -1;
  std::string error, redirect, headers, body, url;
  qv::Date lastModified;
  long long ms = 0;
};

// Runs one fetch job of `url` to its end and hands back what it found.
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

}  // namespace webtest
