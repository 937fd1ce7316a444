// The web checks the lookup engine starts: the home page, ping and link
// popularity checks and the trademark search. Lives on the main thread; starts the workers, applies their results
// to the open document's records and tells the window what changed.
#pragma once

#include <QObject>
#include <QString>
#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "webcheck/link_popularity_check.h"
#include "webcheck/ping_check.h"
#include "webcheck/trademark_search.h"

namespace qv {

class DomainDatabase;

class WebChecks : public QObject {
  Q_OBJECT

 public:
  using DatabaseGetter = std::function<DomainDatabase*()>;
  explicit WebChecks(DatabaseGetter database, QObject* parent = nullptr);
  ~WebChecks() override;

  // Start functions for the engine; false when the check could not start now.
  bool StartHomePage(const std::string& name);
  bool StartPing(const std::string& name);
  // The link popularity check (its Start is the engine's start function).
  LinkPopularityCheck& LinkPopularity() { return *linkPopularity_; }
  TrademarkSearch& Trademark() { return trademark_; }

  // The counters P and H, and the tags of the running fetch jobs.
  int RunningPings() const { return running_->load(); }
  std::vector<std::string> FetchJobTags() const;
  // Stop: cancels every fetch job.
  void CancelFetchJobs();
  // Stop: running pings send no further echo and their results are dropped.
  void CancelPings() { pingGeneration_->fetch_add(1); }

  // What a ping worker runs for its host "www.<name>" (tests ping
  // 127.0.0.1 instead, or hold the worker); the default is RunPingCheck.
  using PingRunner = std::function<PingRecord(const std::string& host)>;
  void SetPingRunnerForTests(PingRunner runner) { pingRunner_ = std::move(runner); }

 signals:
  // A record was written.
  void recordChanged(const QString& name);
  void homePageChecked(const QString& name, bool ok);
  void pingChecked(const QString& name, bool replied);
  // The system allows no ICMP socket; sent once per process.
  void pingUnavailable(const QString& text);

 private:
  void OnFetchDone(quint64 id, int message, int code);
  void ApplyFetchResults();
  void OnPingDone(const std::string& name, const std::string& document, unsigned generation,
                  const PingRecord& record);
  // The open document's path ("" without one).
  std::string DocumentPath() const;
  DomainDatabase* OpenDatabase() const;

  DatabaseGetter database_;
  // Shared with the ping threads, which may outlive this object.
  std::shared_ptr<std::atomic<int>> running_ = std::make_shared<std::atomic<int>>(0);
  PingRunner pingRunner_;
  std::shared_ptr<std::atomic<unsigned>> pingGeneration_ = std::make_shared<std::atomic<unsigned>>(0);
  // The document each running fetch job was started for, by job number.
  std::map<std::uint64_t, std::string> fetchDocuments_;
  std::vector<std::uint64_t> pendingFetches_;
  bool applyScheduled_ = false;
  std::unique_ptr<LinkPopularityCheck> linkPopularity_;
  TrademarkSearch trademark_;
};

}  // namespace qv
