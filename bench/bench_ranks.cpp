// Importing a ranking list of 1,000,000 "rank,domain" lines into a document of
// 1,000,000 names: every listed name is one of the document's, in another
// order and other capitals, so each line finds and rewrites a row.
//
//   bench_ranks [COUNT [ROUNDS]]   (defaults 1000000 and 2)
#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <sys/resource.h>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "app/commands/name_file.h"
#include "platform/app_identity.h"
#include "store/add_names.h"
#include "store/database_connection.h"
#include "store/database_maintenance.h"
#include "store/traffic_ranks.h"

namespace {

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

// Processor time of this process (user and system), in seconds: on a busy
// shared machine the wall-clock time says more about the others' work.
double CpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  const auto seconds = [](const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

std::vector<std::string> MakeNames(long count) {
  static const char* const kTlds[] = {"com", "net", "org", "de", "co.uk", "io", "info"};
  std::mt19937 rng(20261206);
  std::vector<std::string> names;
  names.reserve(std::size_t(count));
  for (long i = 0; i < count; ++i) {
    std::string name;
    const int letters = 2 + int(rng() % 12);
    for (int k = 0; k < letters; ++k) name += char('a' + rng() % 26);
    names.push_back(name + std::to_string(i) + "." + kTlds[rng() % 7]);
  }
  return names;
}

// The names in a shuffled order, upper case, with a header and CR LF ends.
void WriteList(const std::string& path, std::vector<std::string> names) {
  std::shuffle(names.begin(), names.end(), std::mt19937(7));
  std::ofstream out(path, std::ios::binary);
  out << "rank,domain\r\n";
  long rank = 0;
  for (std::string& name : names) {
    std::transform(name.begin(), name.end(), name.begin(), [](char c) { return char(std::toupper(c)); });
    out << ++rank << ',' << name << "\r\n";
  }
}

}  // namespace

int main(int argc, char** argv) {
  QTemporaryDir dir;
  qputenv("XDG_CONFIG_HOME", (dir.path() + "/config").toLocal8Bit());
  qputenv("XDG_DATA_HOME", (dir.path() + "/data").toLocal8Bit());
  QCoreApplication app(argc, argv);
  qv::InitApplicationIdentity();
  const long count = argc > 1 ? std::atol(argv[1]) : 1000000;
  const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 2;
  const std::string root = dir.path().toStdString();
  const std::vector<std::string> names = MakeNames(count);
  const std::string listPath = root + "/top.csv";
  WriteList(listPath, names);

  qv::DomainDatabase db;
  if (!qv::NewDocument(db, root + "/ranks.qvl").ok) return 1;
  Clock::time_point start = Clock::now();
  const qv::AddNamesReport added = qv::AddDomainNames(db, names);
  std::printf("document of %zu names made in %.2f s\n", added.added, SecondsSince(start));

  for (int round = 1; round <= rounds; ++round) {
    QFile file(QString::fromStdString(listPath));
    if (!file.open(QIODevice::ReadOnly)) return 1;
    start = Clock::now();
    const double cpuStart = CpuSeconds();
    const qv::TrafficRanksReport report =
        qv::ImportTrafficRanks(db, qv::ChunkReaderOf(file), std::size_t(file.size()), qv::Date::Now());
    const double seconds = SecondsSince(start);
    const double cpu = CpuSeconds() - cpuStart;
    if (!report.error.empty() || report.ranked != std::size_t(count)) {
      std::fprintf(stderr, "import failed: %s (%zu ranked)\n", report.error.c_str(), report.ranked);
      return 1;
    }
    std::printf("round %d: %ld lines, %zu names ranked in %.2f s wall, %.2f s processor (%.0f lines/s)\n", round,
                count, report.ranked, seconds, cpu, double(count) / seconds);
  }
  return 0;
}
