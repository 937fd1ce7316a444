// The US trademark search ("US Tm Check"): counts the records the trademark
// search site finds for the name part of a domain and stores the count
// (`US Tm Records`, `US Tm Checked At`).
//
// The site works with a search state: a login page hands out a token that
// every search carries, and the token expires. This object keeps the token,
// makes the login and the searches as HTTP fetch jobs (one at a time; the
// engine spaces them by `Tess Connection Gap` through requestEnded) and
// reads the count out of each result page. Lives on the main thread.
//
// A name whose search found the session expired is handed back (retryLater)
// and searched again after a fresh login. A login that fails three times in
// a row without a search getting through ends the attempt: one status line
// says so and the names still queued are let go, until the engine has been
// idle. Without a `Tess Host` nothing is fetched and one status line says so.
#pragma once

#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>
#include <map>
#include <string>

#include "platform/date.h"

namespace qv {

class DomainDatabase;
struct HttpFetchJob;

// The notification number of trademark fetches.
inline constexpr int kTrademarkSearchMessage = 1029;
inline constexpr const char* kTessLoginTag = "TESSLOGIN";
inline constexpr const char* kTessSearchTagSuffix = ":TESS";
// Logins made in a row, without a search getting through, before giving up.
inline constexpr int kTessLoginTries = 3;

inline constexpr const char* kTessNoHostText =
    "US Tm Check skipped: no trademark search host is set (Tess Host, in Lookup Settings)";
inline constexpr const char* kTessBadHostText = "US Tm Check skipped: Tess Host \"%1\" is not a host name";
inline constexpr const char* kTessGaveUpText = "US Tm Check stopped: the login to %1 failed %2 times (%3)";
inline constexpr const char* kTessSearchFailedText = "US Tm Check of %1 failed: %2";
// Why a login counts as failed, besides the fetch's own error text.
inline constexpr const char* kTessNoStateText = "the login page carried no search state";
inline constexpr const char* kTessExpiredText = "the search session expired at once";

class TrademarkSearch : public QObject {
  Q_OBJECT

 public:
  using DatabaseGetter = std::function<DomainDatabase*()>;
  explicit TrademarkSearch(DatabaseGetter database, QObject* parent = nullptr);
  ~TrademarkSearch() override;

  // The engine's start function: true when the name's search started or the
  // name was let go; false (the name goes back to the end of its queue)
  // when a login had to be made first or nothing could start.
  bool Start(const std::string& name);
  // The engine was idle: a later check starts afresh (logins counted from
  // 0, the status lines told again).
  void EndSeries();

  // Empty (no token), "ERR" (the last request failed) or the token.
  const std::string& SearchState() const { return state_; }

 signals:
  // A record was written.
  void recordChanged(const QString& name);
  // A search ended: `counted` when the page told a count.
  void trademarkChecked(const QString& name, bool counted);
  void statusText(const QString& text);
  // The name's search must be made again (its session had expired).
  void retryLater(const QString& name);
  // A request to the site ended: none may start before `next`.
  void requestEnded(const qv::Date& next);
  // No search can be made now: the names still queued are to be handed to
  // Start at once, which lets them go.
  void queueAbandoned();

 private:
  struct Request {
    std::string name;  // empty for the login
    std::string document;
  };
  bool SiteBusy() const;
  void StartLogin(const std::string& base);
  bool StartSearch(const std::string& base, const std::string& name);
  void Skip(const QString& text);
  // The logins failed too often: the name and those still queued are let go.
  bool GiveUp(const std::string& name, const std::string& host);
  void OnFetchDone(quint64 id, int message, int code);
  void ApplyLogin(const HttpFetchJob& job);
  void ApplySearch(const HttpFetchJob& job, const Request& request);
  DomainDatabase* OpenDatabase() const;
  std::string DocumentPath() const;

  DatabaseGetter database_;
  std::string state_;
  std::map<std::uint64_t, Request> requests_;
  int logins_ = 0;         // logins since a search last got through
  bool gaveUp_ = false;
  bool skipTold_ = false;  // the status line of a skipped check was given
  std::string loginProblem_;
  std::string base_;       // the site of the current token
};

}  // namespace qv
