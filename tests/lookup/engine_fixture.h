// Helpers shared by the lookup tests: a document of names, a test suffix
// pointed at a loopback whois server through the directory's stored records,
// and running the engine's ticks until it is idle.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "lookup/lookup_engine.h"
#include "store/database_connection.h"
#include "store/domain_record.h"
#include "support/loopback_directory.h"
#include "support/waiting_web_checks.h"

namespace enginetest {

// Creates a new document in the temporary folder holding `names`.
bool MakeDocument(qv::DomainDatabase& db, const std::vector<std::string>& names);

using qvtest::PointSuffixAt;
using qvtest::PoliteServer;

// Ticks the engine, letting posted results arrive, until nothing is queued
// or running; false when that does not happen within `limitMs`.
bool RunUntilIdle(qv::LookupEngine& engine, int limitMs = 30000);
// Lets posted results arrive until `done` holds (at most `limitMs`).
bool WaitFor(const std::function<bool()>& done, int limitMs = 30000);

using qvtest::WaitingWebChecks;

qv::DomainRecord Read(qv::DomainDatabase& db, const std::string& name);
// A field as text for comparisons: dates as ISO text.
QString Field(const qv::DomainRecord& record, const char* field);
// "Field=value" of the record for each "Field=..." entry of `expected`, in
// its order, so a record is compared with such a list in one go.
QStringList FieldsAsIn(const qv::DomainRecord& record, const QStringList& expected);
// A file's whole content; empty when it cannot be read.
std::string FileText(const std::filesystem::path& path);
// Writes `text` as the whole file, making its folders first.
void WriteFile(const std::filesystem::path& path, const std::string& text);
// A queue's entries in order.
QStringList Entries(const qv::LookupQueue& queue);
// The whois server `host` judges a name free by "No match for".
void SetFreeToken(const std::string& host);

// The base of the engine test classes: a document, an engine on it and the
// change log it writes. Each test starts with fresh folders and nothing open.
// NewEngine() makes a document of `names` (false when it cannot) and an engine
// on it whose DNS checks all resolve to one documentation address, so they
// finish at once and the same way everywhere.
class EngineTest : public QObject {
  Q_OBJECT

 protected slots:
  void init();
  void cleanup();

 protected:
  qv::DomainDatabase db_;
  std::unique_ptr<qv::LookupEngine> engine_;
  std::filesystem::path log_;

  bool NewEngine(int tickMs, const std::vector<std::string>& names);
  // Queues `names` for whois and ticks until the engine is idle.
  void LookUp(const std::vector<std::string>& names);
};

// An answer of a registered name with the usual labels (registrar "Example
// Registrar LLC", expiry 2030-08-13); it names `referral` as the registrar's
// whois server when that is not empty.
std::string RegisteredAnswer(const std::string& name, const std::string& referral = {});

}  // namespace enginetest
