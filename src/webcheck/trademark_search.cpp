#include "webcheck/trademark_search.h"

#include "store/database_connection.h"
#include "store/domain_fields.h"
#include "store/domain_record.h"
#include "webcheck/fetch_job_list.h"
#include "webcheck/trademark_page.h"
#include "webcheck/trademark_settings.h"

namespace qv {
namespace {

constexpr const char* kErrorState = "ERR";

QString Q(const std::string& text) { return QString::fromStdString(text); }

bool StoreCount(DomainDatabase& db, const std::string& name, std::int32_t count) {
  DomainRecord record;
  if (!db.ReadRecord(name, record)) return false;
  record.SetLong(field::kUsTmRecords, count);
  record.SetDate(field::kUsTmCheckedAt, Date::Now());
  return db.WriteRecord(record);
}

}  // namespace

TrademarkSearch::TrademarkSearch(DatabaseGetter database, QObject* parent)
    : QObject(parent), database_(std::move(database)) {
  connect(&FetchJobList::Instance(), &FetchJobList::done, this, &TrademarkSearch::OnFetchDone,
          Qt::QueuedConnection);
}

TrademarkSearch::~TrademarkSearch() = default;

DomainDatabase* TrademarkSearch::OpenDatabase() const {
  DomainDatabase* db = database_ ? database_() : nullptr;
  return db && db->HasPath() ? db : nullptr;
}

std::string TrademarkSearch::DocumentPath() const {
  const DomainDatabase* db = OpenDatabase();
  return db ? db->Path() : std::string();
}

bool TrademarkSearch::SiteBusy() const {
  // A request cancelled by Stop is no longer in the list and sends nothing.
  const FetchJobList& list = FetchJobList::Instance();
  for (const auto& [id, request] : requests_)
    if (list.Find(id)) return true;
  return false;
}

void TrademarkSearch::Skip(const QString& text) {
  if (!skipTold_) emit statusText(text);
  skipTold_ = true;
  emit queueAbandoned();
}

bool TrademarkSearch::Start(const std::string& name) {
  if (name.empty()) return true;
  const std::string host = TessHostSetting();
  const std::string base = TessBaseUrl(host);
  if (base.empty()) {
    Skip(host.empty() ? QString::fromLatin1(kTessNoHostText) : QString::fromLatin1(kTessBadHostText).arg(Q(host)));
    return true;
  }
  if (gaveUp_) {
    emit trademarkChecked(Q(name), false);
    emit queueAbandoned();
    return true;
  }
  std::erase_if(requests_, [](const auto& entry) { return !FetchJobList::Instance().Find(entry.first); });
  if (SiteBusy()) return false;  // one request at a time
  if (base != base_) state_.clear();  // a token of another site
  if (state_.empty() || state_ == kErrorState) {
    if (logins_ >= kTessLoginTries) return GiveUp(name, host);
    StartLogin(base);
    return false;
  }
  return StartSearch(base, name);
}

bool TrademarkSearch::GiveUp(const std::string& name, const std::string& host) {
  gaveUp_ = true;
  emit statusText(QString::fromLatin1(kTessGaveUpText).arg(Q(host)).arg(logins_).arg(Q(loginProblem_)));
  emit trademarkChecked(Q(name), false);
  emit queueAbandoned();
  return true;
}

void TrademarkSearch::StartLogin(const std::string& base) {
  if (SiteBusy()) return;
  auto job = std::make_unique<HttpFetchJob>();
  job->tag = kTessLoginTag;
  job->message = kTrademarkSearchMessage;
  const HttpFetchJob* started = FetchJobList::Instance().Start(std::move(job), TessLoginUrl(base), kWebCheckTimeoutMs);
  if (!started) return;
  ++logins_;
  base_ = base;
  requests_[started->id] = {std::string(), DocumentPath()};
}

bool TrademarkSearch::StartSearch(const std::string& base, const std::string& name) {
  auto job = std::make_unique<HttpFetchJob>();
  job->tag = name + kTessSearchTagSuffix;
  job->message = kTrademarkSearchMessage;
  const std::string url = TessSearchUrl(base, TrademarkSearchTerm(name), state_);
  const HttpFetchJob* started = FetchJobList::Instance().Start(std::move(job), url, kWebCheckTimeoutMs);
  if (!started) return false;
  requests_[started->id] = {name, DocumentPath()};
  return true;
}

void TrademarkSearch::EndSeries() {
  logins_ = 0;
  gaveUp_ = false;
  skipTold_ = false;
}

void TrademarkSearch::OnFetchDone(quint64 id, int message, int) {
  if (message != kTrademarkSearchMessage) return;
  const auto found = requests_.find(id);
  if (found == requests_.end()) return;
  const Request request = found->second;
  requests_.erase(found);
  FetchJobList& list = FetchJobList::Instance();
  const HttpFetchJob* job = list.Find(id);
  if (!job) return;  // cancelled meanwhile
  if (request.name.empty())
    ApplyLogin(*job);
  else
    ApplySearch(*job, request);
  list.Release(id);
  // Every request is followed by the gap.
  emit requestEnded(Date::NowExact().AddDays(TessConnectionGapSetting() / 86400.0));
}

void TrademarkSearch::ApplyLogin(const HttpFetchJob& job) {
  state_ = kErrorState;
  if (job.Failed()) {
    loginProblem_ = job.errorText;
    return;
  }
  if (std::optional<std::string> token = TessStateToken(job.body))
    state_ = std::move(*token);
  else
    loginProblem_ = kTessNoStateText;
}

void TrademarkSearch::ApplySearch(const HttpFetchJob& job, const Request& request) {
  const QString name = Q(request.name);
  if (job.Failed()) {
    state_ = kErrorState;
    emit statusText(QString::fromLatin1(kTessSearchFailedText).arg(name, Q(job.errorText)));
    emit trademarkChecked(name, false);
    return;
  }
  const bool sameDocument = request.document == DocumentPath();
  if (TessSessionExpired(job.body)) {
    // A fresh login comes first; the name is searched again after it.
    state_.clear();
    loginProblem_ = kTessExpiredText;
    if (sameDocument) emit retryLater(name);
    return;
  }
  logins_ = 0;  // the site answered a search
  const std::optional<std::int32_t> count = TrademarkRecordCount(job.body);
  DomainDatabase* db = sameDocument ? OpenDatabase() : nullptr;
  if (count && db && StoreCount(*db, request.name, *count)) emit recordChanged(name);
  emit trademarkChecked(name, count.has_value());
}

}  // namespace qv
