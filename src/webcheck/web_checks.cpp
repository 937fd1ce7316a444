#include "webcheck/web_checks.h"

#include <QCoreApplication>
#include <QPointer>
#include <QTimer>
#include <chrono>
#include <system_error>
#include <thread>

#include "store/database_connection.h"
#include "webcheck/fetch_job_list.h"
#include "webcheck/home_page_check.h"

namespace qv {
namespace {

// Main-thread time one turn of applying home page results may take.
constexpr std::chrono::milliseconds kApplySliceTime{4};

// The "not available" message is given once per process.
std::atomic<bool> pingUnavailableTold{false};

}  // namespace

WebChecks::WebChecks(DatabaseGetter database, QObject* parent)
    : QObject(parent), database_(std::move(database)), trademark_(database_) {
  connect(&FetchJobList::Instance(), &FetchJobList::done, this, &WebChecks::OnFetchDone,
          Qt::QueuedConnection);
  linkPopularity_ = std::make_unique<LinkPopularityCheck>(database_);
  connect(linkPopularity_.get(), &LinkPopularityCheck::recordChanged, this, &WebChecks::recordChanged);
  connect(&trademark_, &TrademarkSearch::recordChanged, this, &WebChecks::recordChanged);
}

WebChecks::~WebChecks() = default;

DomainDatabase* WebChecks::OpenDatabase() const {
  DomainDatabase* db = database_ ? database_() : nullptr;
  return db && db->HasPath() ? db : nullptr;
}

std::string WebChecks::DocumentPath() const {
  const DomainDatabase* db = OpenDatabase();
  return db ? db->Path() : std::string();
}

bool WebChecks::StartHomePage(const std::string& name) {
  if (name.empty()) return true;  // nothing to check: dropped
  std::unique_ptr<HttpFetchJob> job = MakeHomePageJob(name);
  const HttpFetchJob* started = FetchJobList::Instance().Start(std::move(job), HomePageUrl(name), kWebCheckTimeoutMs);
  if (!started) return false;
  fetchDocuments_[started->id] = DocumentPath();
  return true;
}

void WebChecks::OnFetchDone(quint64 id, int message, int) {
  if (message != kHomePageMessage || !fetchDocuments_.contains(id)) return;
  // Results that arrive together are applied together, in one transaction:
  // a commit for each would cost the main thread far more.
  pendingFetches_.push_back(id);
  if (!applyScheduled_) {
    applyScheduled_ = true;
    QTimer::singleShot(0, this, [this] {
      applyScheduled_ = false;
      ApplyFetchResults();
    });
  }
}

void WebChecks::ApplyFetchResults() {
  // A few milliseconds at a time: what does not fit waits for the next turn
  // of the event loop, so the window stays responsive when hundreds of
  // results come at once.
  const auto until = std::chrono::steady_clock::now() + kApplySliceTime;
  std::vector<std::uint64_t> ids;
  ids.swap(pendingFetches_);
  FetchJobList& list = FetchJobList::Instance();
  DomainDatabase* open = OpenDatabase();
  const std::string path = DocumentPath();
  const bool batch = open && open->OpenDomainsTable() && !open->update().InTransaction() &&
                     open->update().Begin() == kDbOk;
  struct Applied {
    QString name;
    bool ok, stored;
  };
  std::vector<Applied> applied;
  std::size_t next = 0;
  for (; next < ids.size() && (next == 0 || std::chrono::steady_clock::now() < until); ++next) {
    const std::uint64_t id = ids[next];
    HttpFetchJob* job = list.Find(id);
    const auto started = fetchDocuments_.find(id);
    if (!job || started == fetchDocuments_.end()) continue;  // cancelled meanwhile
    // A result for a document that is no longer open is not stored.
    DomainDatabase* db = started->second == path ? open : nullptr;
    fetchDocuments_.erase(started);
    const std::string name = ApplyHomePageResult(db, *job);
    applied.push_back({QString::fromStdString(name), !job->Failed(), db != nullptr});
    list.Release(id);
  }
  if (batch) open->update().Commit();
  if (next < ids.size()) {
    pendingFetches_.insert(pendingFetches_.begin(), ids.begin() + std::ptrdiff_t(next), ids.end());
    if (!applyScheduled_) {
      applyScheduled_ = true;
      QTimer::singleShot(0, this, [this] {
        applyScheduled_ = false;
        ApplyFetchResults();
      });
    }
  }
  for (const Applied& a : applied) {
    if (a.name.isEmpty()) continue;
    if (a.stored) emit recordChanged(a.name);
    emit homePageChecked(a.name, a.ok);
  }
}

bool WebChecks::StartPing(const std::string& name) {
  if (name.empty()) return true;
  // The count goes up here, before the thread runs, so that a tick starting
  // many pings in a row sees each of them.
  if (running_->load() >= kMaxRunningPings) return false;
  running_->fetch_add(1);
  const unsigned generation = pingGeneration_->load();
  PingRunner runner = pingRunner_;
  if (!runner)
    runner = [generation, current = pingGeneration_](const std::string& host) {
      return RunPingCheck(host, [generation, current] { return current->load() != generation; });
    };
  try {
    std::thread([name, document = DocumentPath(), generation, runner = std::move(runner), running = running_,
                 guard = QPointer<WebChecks>(this)] {
      PingRecord record = runner("www." + name);
      QCoreApplication* app = QCoreApplication::instance();
      if (app)
        QMetaObject::invokeMethod(
            app, [guard, name, document, generation, record = std::move(record)] {
              if (guard) guard->OnPingDone(name, document, generation, record);
            },
            Qt::QueuedConnection);
      running->fetch_sub(1);
    }).detach();
  } catch (const std::system_error&) {
    running_->fetch_sub(1);
    return false;
  }
  return true;
}

void WebChecks::OnPingDone(const std::string& stored, const std::string& document, unsigned generation,
                           const PingRecord& record) {
  if (generation != pingGeneration_->load()) return;  // stopped
  const QString name = QString::fromStdString(stored);
  if (!record.unavailable.empty()) {
    // A check that could not run says nothing about the host.
    if (!pingUnavailableTold.exchange(true))
      emit pingUnavailable(QString::fromLatin1(kPingUnavailableFormat).arg(QString::fromStdString(record.unavailable)));
    return;
  }
  DomainDatabase* db = document == DocumentPath() ? OpenDatabase() : nullptr;
  if (db && StorePingRecord(*db, stored, record)) emit recordChanged(name);
  emit pingChecked(name, record.time >= 0);
}

std::vector<std::string> WebChecks::FetchJobTags() const { return FetchJobList::Instance().RunningTags(); }

void WebChecks::CancelFetchJobs() {
  FetchJobList& list = FetchJobList::Instance();
  list.CancelAll();
  // Jobs that had ended stay listed and are applied as usual; the others
  // report nothing any more.
  std::erase_if(fetchDocuments_, [&list](const auto& entry) { return !list.Find(entry.first); });
}

}  // namespace qv
