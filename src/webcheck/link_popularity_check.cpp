#include "webcheck/link_popularity_check.h"

#include <cstdio>

#include "platform/date.h"
#include "store/database_connection.h"
#include "webcheck/fetch_job_list.h"
#include "webcheck/link_popularity.h"

namespace qv {

LinkPopularityCheck::LinkPopularityCheck(DatabaseGetter database, QObject* parent)
    : QObject(parent), database_(std::move(database)) {
  connect(&FetchJobList::Instance(), &FetchJobList::done, this, &LinkPopularityCheck::OnFetchDone,
          Qt::QueuedConnection);
}

DomainDatabase* LinkPopularityCheck::OpenDatabase() const {
  DomainDatabase* db = database_ ? database_() : nullptr;
  return db && db->HasPath() ? db : nullptr;
}

void LinkPopularityCheck::TellSkipped(const std::string& services) {
  if (services.empty() || services == toldSkipped_) return;
  toldSkipped_ = services;
  char text[256];
  std::snprintf(text, sizeof text, kSitePopNotConfiguredFormat, services.c_str());
  emit servicesNotConfigured(QString::fromLatin1(text));
}

bool LinkPopularityCheck::Start(const std::string& entry) {
  const SitePopRequest request = ParseSitePopEntry(entry);
  if (request.name.empty()) return true;
  FetchJobList& list = FetchJobList::Instance();
  // Jobs cancelled by Stop send nothing: their entries go here.
  std::erase_if(documents_, [&list](const auto& job) { return !list.Find(job.first); });
  const DomainDatabase* db = OpenDatabase();
  const std::string document = db ? db->Path() : std::string();
  std::string skipped;
  int wanted = 0, started = 0;
  for (SitePopService service : request.services) {
    const std::string base = SitePopServiceBase(service);
    if (base.empty()) {
      skipped += std::string(skipped.empty() ? "" : ", ") + SitePopServiceOf(service).displayName;
      continue;
    }
    ++wanted;
    const HttpFetchJob* job = list.Start(MakeSitePopJob(service, request.name),
                                         SitePopUrl(service, base, request.name), kWebCheckTimeoutMs);
    if (!job) continue;
    documents_[job->id] = document;
    ++started;
  }
  TellSkipped(skipped);
  return wanted == 0 || started > 0;
}

void LinkPopularityCheck::OnFetchDone(quint64 id, int message, int) {
  if (message != kLinkPopularityMessage) return;
  const auto started = documents_.find(id);
  FetchJobList& list = FetchJobList::Instance();
  HttpFetchJob* job = list.Find(id);
  if (started == documents_.end() || !job) return;
  const std::string document = started->second;
  documents_.erase(started);
  const std::size_t colon = job->tag.find(':');
  const std::string name = job->tag.substr(0, colon);
  const std::string kind = colon == std::string::npos ? std::string() : job->tag.substr(colon + 1);
  // A failed fetch stores nothing; so does a result for a document that is
  // no longer open.
  DomainDatabase* db = OpenDatabase();
  const bool stored = !job->Failed() && db && db->Path() == document &&
                      StoreSitePopPage(*db, name, kind, job->body, Date::Now());
  list.Release(id);
  const QString shownName = QString::fromStdString(name);
  if (stored) emit recordChanged(shownName);
  emit sitePopChecked(shownName, QString::fromStdString(kind), stored);
}

}  // namespace qv
