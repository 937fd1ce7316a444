// The lookup engine's main-thread costs:
//  - adding 1,000,000 names to a queue (and as many refused duplicates);
//  - one scheduler tick with 1,000,000 names queued, in main-thread CPU time
//    and wall time, for names the document does not hold (the engine alone)
//    and for stored names (each started lookup also prepares its record);
//  - applying 1,000 whois answers that each change the record: record
//    update, answer file and change-log entry.
//
//   bench_engine [COUNT]   (default 1000000)
#include <QCoreApplication>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "bench_support.h"
#include "lookup/lookup_engine.h"
#include "platform/app_identity.h"
#include "store/add_names.h"
#include "store/database_connection.h"
#include "store/database_maintenance.h"
#include "store/domain_record.h"
#include "whois/server_directory.h"

namespace {

using namespace qvbench;

std::string Name(long i, const char* suffix) { return "name" + std::to_string(i) + "." + suffix; }

// Names of the bench suffix go to a loopback port where nothing listens, as
// many at once as the engine allows, without a pause between lookups.
void PointBenchSuffix() {
  {
    qv::TldRecord tld("qvbench");
    tld.server = "127.0.0.1";
  }
  qv::WhoisServerRecord record("127.0.0.1", false);
  record.port = 9;  // discard: refused on loopback
  record.maxConnections = 100;
  record.connectionInterval = -1;
  record.manuallyEdited = 1;
}

void BenchQueue(long count) {
  qv::LookupEngine engine(static_cast<qv::DomainDatabase*>(nullptr), 6000);
  std::vector<std::string> names;
  names.reserve(std::size_t(count));
  for (long i = 0; i < count; ++i) names.push_back(Name(i, "com"));
  Clock::time_point start = Clock::now();
  for (const std::string& name : names) engine.AddToQueue(qv::QueueKind::Whois, name);
  const double add = SecondsSince(start);
  for (std::string& name : names) name[0] = 'N';  // the same names in other capitals
  start = Clock::now();
  long refused = 0;
  for (const std::string& name : names) refused += !engine.AddToQueue(qv::QueueKind::Whois, name);
  const double again = SecondsSince(start);
  std::printf("adding %ld names to a queue: %.3f s (limit 2 s)\n", count, add);
  std::printf("adding them again in other capitals: %.3f s, %ld refused\n", again, refused);
}

// Fills the whois, DNS and ping queues with `count` names each and times
// `ticks` ticks; prints the slowest.
void BenchTick(qv::DomainDatabase* db, long count, const char* what, int ticks) {
  qv::LookupEngine engine(db, 6000);
  engine.SetHostResolver([](const std::string&) { return std::string(qv::kDnsErrorAddress); });
  for (long i = 0; i < count; ++i) {
    const std::string name = Name(i, "qvbench");
    engine.AddToQueue(qv::QueueKind::Whois, name);
    engine.AddToQueue(qv::QueueKind::Dns, name);
    engine.AddToQueue(qv::QueueKind::Ping, name);
  }
  double worstCpu = 0, worstWall = 0, firstCpu = 0, firstWall = 0;
  for (int t = 0; t < ticks; ++t) {
    const double cpu0 = ThreadCpuSeconds();
    const Clock::time_point start = Clock::now();
    engine.SchedulerTick();
    const double wall = SecondsSince(start), cpu = ThreadCpuSeconds() - cpu0;
    if (t == 0) firstCpu = cpu, firstWall = wall;
    worstCpu = std::max(worstCpu, cpu);
    worstWall = std::max(worstWall, wall);
    // Let the finished lookups come back, as the event loop would between ticks.
    const Clock::time_point until = Clock::now() + std::chrono::milliseconds(200);
    while (Clock::now() < until) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  }
  std::printf("one tick with %ld names in each of three queues, %s:\n"
              "  first tick %.2f ms CPU (%.2f ms wall); slowest of %d ticks %.2f ms CPU (%.2f ms wall)"
              " (limit 5 ms)\n",
              count, what, firstCpu * 1e3, firstWall * 1e3, ticks, worstCpu * 1e3, worstWall * 1e3);
  engine.StopLookups();
}

std::string Answer(const std::string& name, int year) {
  return "Domain Name: " + name + "\r\nRegistrar: Bench Registrar LLC\r\n"
         "Creation Date: 2001-02-03T00:00:00Z\r\nUpdated Date: " + std::to_string(year - 1) +
         "-05-06T00:00:00Z\r\nRegistry Expiry Date: " + std::to_string(year) +
         "-07-08T00:00:00Z\r\nDomain Status: ok https://icann.org/epp#ok\r\n"
         "Name Server: NS1.BENCH.TEST\r\nName Server: NS2.BENCH.TEST\r\n"
         "\n[Whois Source: 127.0.0.1]";
}

void BenchApply(qv::DomainDatabase& db, int count) {
  qv::LookupEngine engine(&db, 6000);
  qv::RecordUpdater& updater = engine.Updater();
  updater.SetDatabase(&db);
  std::vector<std::string> names;
  for (int i = 0; i < count; ++i) names.push_back(Name(i, "qvbench"));
  for (const std::string& name : names) updater.ApplyWhoisAnswer(name, Answer(name, 2030));  // looked up once

  Clock::time_point start = Clock::now();
  for (const std::string& name : names) updater.PrepareFullLookup(name);
  const double prepare = SecondsSince(start);
  start = Clock::now();
  int logged = 0;
  for (const std::string& name : names) {
    qv::AnswerOutcome outcome;
    updater.ApplyWhoisAnswer(name, Answer(name, 2031), &outcome);
    logged += outcome.logged;
  }
  const double apply = SecondsSince(start);
  std::printf("applying %d whois answers (record, answer file, change log): %.3f s, %d entries logged"
              " (limit 2 s)\n  preparing their records before the lookups: %.3f s\n",
              count, apply, logged, prepare);
}

}  // namespace

int main(int argc, char** argv) {
  QTemporaryDir dir;
  UseTemporaryHome(dir);
  QCoreApplication app(argc, argv);
  qv::InitApplicationIdentity();
  const long count = Arg(argc, argv, 1, 1000000);

  BenchQueue(count);
  PointBenchSuffix();

  qv::DomainDatabase db;
  if (!qv::NewDocument(db, (dir.path() + "/bench.qvl").toStdString()).ok) return 1;
  std::vector<std::string> stored;
  for (int i = 0; i < 1000; ++i) stored.push_back(Name(i, "qvbench"));
  if (!qv::AddDomainNames(db, stored).error.empty()) return 1;

  BenchTick(nullptr, count, "names not in a document", 5);
  BenchTick(&db, count, "the first 1,000 stored", 5);
  BenchApply(db, 1000);
  return 0;
}
