// Opening the list over 1,000,000 names, reading rows by position afterwards,
// and the memory the open list takes.
//
//   bench_list [COUNT]      (default 1000000)
#include <QCoreApplication>
#include <sys/wait.h>
#include <unistd.h>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "platform/app_identity.h"
#include "store/add_names.h"
#include "store/database_connection.h"
#include "store/database_maintenance.h"
#include "store/domain_list.h"
#include "store/list_modes.h"
#include "store/list_query.h"

namespace {

using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Resident memory of this process in kB, from /proc/self/status.
long ResidentKb(const char* key = "VmRSS:") {
  std::ifstream status("/proc/self/status");
  std::string word;
  while (status >> word) {
    if (word == key) {
      long kb = 0;
      status >> kb;
      return kb;
    }
  }
  return -1;
}

std::string MakeNames(long count) {
  std::mt19937 rng(7);
  std::string text;
  for (long i = 0; i < count; ++i) {
    const int letters = 2 + int(rng() % 12);
    for (int k = 0; k < letters; ++k) text += char('a' + rng() % 26);
    text += std::to_string(i) + ".com\n";
  }
  return text;
}

void TimeOpening(qv::DomainDatabase& db, const char* label, const std::string& sql) {
  const long before = ResidentKb();
  const Clock::time_point start = Clock::now();
  if (!qv::RunListQuery(db, sql)) {
    std::printf("%s: failed: %s\n", label, qv::ListErrorText().c_str());
    return;
  }
  const double ms = MillisecondsSince(start);
  const long after = ResidentKb();
  std::printf("open %-34s %9.1f ms  %8d rows  list memory %7.1f MB (process %7.1f MB)\n", label, ms,
              qv::GetListCount(), double(after - before) / 1024.0, double(after) / 1024.0);
}

// Builds the document in a child process, so that none of the memory used
// for building it is counted against the list.
bool BuildDocument(int argc, char** argv, const std::string& path, long count) {
  const pid_t child = fork();
  if (child < 0) return false;
  if (child == 0) {
    QCoreApplication app(argc, argv);
    qv::InitApplicationIdentity();
    qv::DomainDatabase db;
    const qv::MaintenanceResult made = qv::NewDocument(db, path);
    if (!made.ok) {
      std::fprintf(stderr, "%s\n", made.message.c_str());
      _exit(1);
    }
    const qv::AddNamesReport report = qv::AddNamesFromText(db, MakeNames(count));
    std::printf("document: %zu names\n", report.added);
    std::fflush(stdout);
    db.CloseAll();
    _exit(report.error.empty() ? 0 : 1);
  }
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace

int main(int argc, char** argv) {
  QTemporaryDir dir;
  qputenv("XDG_CONFIG_HOME", (dir.path() + "/config").toLocal8Bit());
  qputenv("XDG_DATA_HOME", (dir.path() + "/data").toLocal8Bit());
  const long count = argc > 1 ? std::atol(argv[1]) : 1000000;
  const std::string path = dir.path().toStdString() + "/list.qvl";
  if (!BuildDocument(argc, argv, path, count)) return 1;

  QCoreApplication app(argc, argv);
  qv::InitApplicationIdentity();
  qv::DomainDatabase db;
  const qv::MaintenanceResult opened = qv::OpenDocument(db, path);
  if (!opened.ok) {
    std::fprintf(stderr, "%s\n", opened.message.c_str());
    return 1;
  }

  const long start = ResidentKb();
  std::printf("process before any list: %.1f MB\n", double(start) / 1024.0);
  TimeOpening(db, "all names, as stored", qv::AllDomainsQuery());
  TimeOpening(db, "all names, by name (\"*\")", qv::ListModeQuery("*", true));
  TimeOpening(db, "all names, by name descending", qv::ListModeQuery("*", false));
  TimeOpening(db, "letter 'k' by name", qv::ListModeQuery("k", true));
  TimeOpening(db, "all names, by Registrar", "SELECT * FROM [Domains] ORDER BY [Registrar] ASC");
  TimeOpening(db, "all names, by name (again)", qv::ListModeQuery("*", true));

  // Rows by position: random positions, so nearly every read misses the cache.
  const int rows = qv::GetListCount();
  std::mt19937 rng(11);
  std::vector<double> times;
  qv::DomainRecord record;
  for (int i = 0; i < 20000 && rows > 0; ++i) {
    const int position = int(rng() % unsigned(rows));
    const Clock::time_point t = Clock::now();
    if (!qv::GetListRecordAt(position, record)) {
      std::printf("row %d could not be read\n", position);
      return 1;
    }
    times.push_back(MillisecondsSince(t));
  }
  std::sort(times.begin(), times.end());
  double sum = 0;
  for (double t : times) sum += t;
  if (!times.empty())
    std::printf("read row by position (%zu random reads): mean %.4f ms, median %.4f ms, "
                "99th %.4f ms, max %.4f ms\n",
                times.size(), sum / double(times.size()), times[times.size() / 2],
                times[times.size() * 99 / 100], times.back());
  std::printf("process with the list open: %.1f MB (list and its reads %.1f MB; peak %.1f MB)\n",
              double(ResidentKb()) / 1024.0, double(ResidentKb() - start) / 1024.0,
              double(ResidentKb("VmHWM:")) / 1024.0);
  return 0;
}
