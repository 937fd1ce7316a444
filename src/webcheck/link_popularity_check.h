// Runs link popularity checks for the lookup engine: starts one fetch job per
// configured service for a queued entry, reads each finished page on the main
// thread and stores what it found in the open document.
#pragma once

#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>
#include <map>
#include <string>

namespace qv {

class DomainDatabase;

// The status line when services are skipped for want of an address (%s: the
// services' names).
inline constexpr const char* kSitePopNotConfiguredFormat =
    "Site Pop Check: %s skipped, not configured (no address in Site Pop Settings)";

class LinkPopularityCheck : public QObject {
  Q_OBJECT

 public:
  using DatabaseGetter = std::function<DomainDatabase*()>;
  explicit LinkPopularityCheck(DatabaseGetter database, QObject* parent = nullptr);

  // The engine's start function, for an entry "name" or "name:service".
  // False when no job could be started now (the entry goes back to its
  // queue); an entry with nothing to fetch is dropped (true).
  bool Start(const std::string& entry);

 signals:
  void recordChanged(const QString& name);
  // One service's page was applied; `stored` when it gave a value.
  void sitePopChecked(const QString& name, const QString& service, bool stored);
  // Services were skipped because they have no address; told once for each
  // set of skipped services.
  void servicesNotConfigured(const QString& text);

 private:
  void OnFetchDone(quint64 id, int message, int code);
  DomainDatabase* OpenDatabase() const;
  void TellSkipped(const std::string& services);

  DatabaseGetter database_;
  // The document each running job was started for, by job number.
  std::map<std::uint64_t, std::string> documents_;
  std::string toldSkipped_;
};

}  // namespace qv
