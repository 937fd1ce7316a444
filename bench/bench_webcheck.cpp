// The web checks' costs:
//  - 200 home page checks running at once against a loopback web server
//    (reached through the system proxy, as "http://www.<name>/"): whether all
//    complete, the main thread's time per tick while they run and apply, and
//    the process's peak memory;
//  - one idle rescan call on a document of COUNT names (all checked just
//    now, so every row is examined and none is queued): its time, the rows
//    it examines and the idle time a full sweep takes at one call per tick,
//    with whois rescans off and on; for the run with them on, the first
//    10,000 names have kept answers, every 100th a lookup error (those are
//    the names queued), and the time the reading of that folder takes;
//  - a ping of 127.0.0.1 with three echoes.
//
//   bench_webcheck [COUNT]   (default 1000000)
#include <QCoreApplication>
#include <QTemporaryDir>
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "bench_support.h"
#include "app/web_check_wiring.h"
#include "lookup/answer_error_index.h"
#include "lookup/answer_files.h"
#include "lookup/auto_scan.h"
#include "lookup/lookup_engine.h"
#include "platform/app_identity.h"
#include "platform/settings_store.h"
#include "store/add_names.h"
#include "store/database_connection.h"
#include "store/database_maintenance.h"
#include "store/domain_list.h"
#include "store/list_query.h"
#include "webcheck/fetch_job_list.h"
#include "webcheck/ping_check.h"
#include "webcheck/web_checks.h"

namespace {

using namespace qvbench;

long PeakMemoryKb() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);)
    if (line.rfind("VmHWM:", 0) == 0) return std::atol(line.c_str() + 6);
  return -1;
}

// A loopback web server that answers every request after `delayMs` with a
// small page, each connection on a thread of its own.
class SlowPageServer {
 public:
  explicit SlowPageServer(int delayMs) : delayMs_(delayMs) {
    fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t n = sizeof a;
    ::bind(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a);
    ::listen(fd_, 512);
    ::getsockname(fd_, reinterpret_cast<sockaddr*>(&a), &n);
    port_ = ntohs(a.sin_port);
    thread_ = std::thread([this] { Run(); });
  }
  ~SlowPageServer() {
    stop_ = true;
    thread_.join();
    for (std::thread& t : served_) t.join();
    ::close(fd_);
  }
  int port() const { return port_; }

 private:
  void Run() {
    while (!stop_) {
      pollfd p{fd_, POLLIN, 0};
      if (::poll(&p, 1, 50) <= 0) continue;
      const int c = ::accept(fd_, nullptr, nullptr);
      if (c >= 0) served_.emplace_back([this, c] { Serve(c); });
    }
  }
  void Serve(int c) {
    std::string request;
    char buffer[2048];
    while (request.find("\r\n\r\n") == std::string::npos) {
      const ssize_t n = ::recv(c, buffer, sizeof buffer, 0);
      if (n <= 0) break;
      request.append(buffer, std::size_t(n));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(delayMs_));
    const std::string body = "<html><head><title>Bench page</title></head><body>" + std::string(4000, 'b') + "</body></html>";
    const std::string answer = "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nLast-Modified: Thu, 04 Mar 2021 05:06:07 GMT\r\n"
                               "Content-Length: " + std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n" + body;
    ::send(c, answer.data(), answer.size(), MSG_NOSIGNAL);
    ::shutdown(c, SHUT_WR);
    while (::recv(c, buffer, sizeof buffer, 0) > 0) {
    }
    ::close(c);
  }

  int fd_ = -1;
  int port_ = 0;
  int delayMs_;
  std::atomic<bool> stop_{false};
  std::thread thread_;
  std::vector<std::thread> served_;
};

std::string Name(long i) { return "site" + std::to_string(i) + ".com"; }

void BenchHomePages(const QString& folder) {
  constexpr int kChecks = 200;
  constexpr int kTickMs = 50;
  SlowPageServer server(500);
  qputenv("http_proxy", ("http://127.0.0.1:" + std::to_string(server.port())).c_str());
  qv::DomainDatabase db;
  if (!qv::NewDocument(db, (folder + "/pages.qvl").toStdString()).ok) return;
  std::vector<std::string> names;
  for (int i = 0; i < kChecks; ++i) names.push_back(Name(i));
  qv::AddDomainNames(db, names);
  qv::LookupEngine engine(&db, kTickMs);
  qv::WebChecks checks([&db] { return &db; });
  qv::ConnectWebChecks(engine, checks);
  int applied = 0, ok = 0;
  QObject::connect(&checks, &qv::WebChecks::homePageChecked, [&](const QString&, bool good) {
    ++applied;
    ok += good ? 1 : 0;
  });
  const Clock::time_point start = Clock::now();
  double cpuStart = ThreadCpuSeconds();
  for (const std::string& name : names) checks.StartHomePage(name);
  const double startCpu = ThreadCpuSeconds() - cpuStart;
  int ticks = 0, peakRunning = 0, slices = 0;
  double worstTick = 0, allTicks = 0, worstSlice = 0, allSlices = 0;
  while (applied < kChecks && SecondsSince(start) < 120) {
    cpuStart = ThreadCpuSeconds();
    engine.SchedulerTick();
    const double spent = ThreadCpuSeconds() - cpuStart;
    peakRunning = std::max(peakRunning, engine.FetchJobCount());
    worstTick = std::max(worstTick, spent);
    allTicks += spent;
    ++ticks;
    // Between ticks: each turn of the event loop on its own.
    const Clock::time_point turnEnd = Clock::now() + std::chrono::milliseconds(kTickMs);
    while (Clock::now() < turnEnd && applied < kChecks) {
      cpuStart = ThreadCpuSeconds();
      QCoreApplication::processEvents();
      const double slice = ThreadCpuSeconds() - cpuStart;
      worstSlice = std::max(worstSlice, slice);
      allSlices += slice;
      ++slices;
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
  }
  std::printf("home page checks: %d started at once (%d running at the peak), %d applied, %d answered 200, in %.2f s\n",
              kChecks, peakRunning, applied, ok, SecondsSince(start));
  std::printf("  main thread: %.2f ms to start them; scheduler tick %.3f ms on average, %.3f ms at most, over %d ticks;\n"
              "  applying results: %.2f ms in all, the longest turn of the event loop %.2f ms\n",
              startCpu * 1e3, allTicks / std::max(ticks, 1) * 1e3, worstTick * 1e3, ticks, allSlices * 1e3,
              worstSlice * 1e3);
  std::printf("  peak process memory: %.1f MB\n", double(PeakMemoryKb()) / 1024.0);
  qunsetenv("http_proxy");
  qv::FetchJobList::Instance().PurgeAtExit();
}

// Kept answers for the first names, every 100th an error; then waits for the
// reading of the answer folder.
void KeepAnswers(long count) {
  const long kept = std::min(count, 10000L);
  long errors = 0;
  for (long i = 0; i < kept; ++i) {
    const bool error = i % 100 == 99;
    errors += error ? 1 : 0;
    qv::SaveWhoisText(Name(i), error ? "Whois Lookup Error: Whois server refused connection.\n[Whois Source: a]"
                                     : "Domain Name: " + Name(i) + "\nRegistrar: Example\n[Whois Source: a]");
  }
  const Clock::time_point t = Clock::now();
  qv::AnswerErrorIndex& index = qv::AnswerErrorIndex::Instance();
  while (!index.Ready(qv::WhoisDataFolder())) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  std::printf("answer folder of %ld files (%ld errors) read in %.2f s\n", kept, errors, SecondsSince(t));
}

void BenchRescan(const QString& folder, long count, bool whois) {
  static qv::DomainDatabase db;
  static bool made = false;
  if (!made) {
    made = true;
    if (!qv::NewDocument(db, (folder + "/rescan.qvl").toStdString()).ok) return;
    std::vector<std::string> names;
    names.reserve(std::size_t(count));
    for (long i = 0; i < count; ++i) names.push_back(Name(i));
    const Clock::time_point t = Clock::now();
    qv::AddDomainNames(db, names);
    const std::string now = qv::Date::Now().ToIsoText();
    db.update().PrepareNative("UPDATE [Domains] SET [Last Checked At] = '" + now + "', [IP Checked At] = '" + now +
                              "', [Ping Checked At] = '" + now + "', [Home Page Checked At] = '" + now + "'")
        .Next();
    qv::RunListQuery(db, "SELECT * FROM [Domains] ORDER BY [Domain]");
    std::printf("rescan document: %ld names made, checked now and listed in %.1f s\n", count, SecondsSince(t));
  }
  if (whois) KeepAnswers(count);
  qv::WriteProfileInt("Settings", qv::kEnableAutoWhoisKey, whois ? 1 : 0);
  for (const char* key : {qv::kEnableAutoDnsKey, qv::kEnableAutoPingKey, qv::kEnableAutoHttpKey})
    qv::WriteProfileInt("Settings", key, 1);
  qv::LookupEngine engine(&db, 6000);
  qv::WebCheckHooks hooks;
  hooks.startPing = hooks.startHomePage = [](const std::string&) { return false; };
  engine.SetWebCheckHooks(hooks);
  engine.SetAutoScanCursor(0);
  int calls = 0;
  double worst = 0, total = 0;
  double worstCpu = 0, totalCpu = 0;
  do {
    const Clock::time_point t = Clock::now();
    const double cpu = ThreadCpuSeconds();
    engine.RunAutoScan();
    const double spent = SecondsSince(t);
    const double cpuSpent = ThreadCpuSeconds() - cpu;
    worstCpu = std::max(worstCpu, cpuSpent);
    totalCpu += cpuSpent;
    worst = std::max(worst, spent);
    total += spent;
    ++calls;
  } while (engine.AutoScanCursor() < qv::GetListCount() && calls < 100000);
  std::printf("rescan of %ld names, whois %s: %d calls; main-thread time per call %.2f ms on average, %.2f ms at most "
              "(wall %.2f / %.2f ms); %.0f rows per call; a sweep takes %.1f minutes of idle time at one call per "
              "6 s tick; queued %zu\n",
              count, whois ? "on" : "off", calls, totalCpu / calls * 1e3, worstCpu * 1e3, total / calls * 1e3,
              worst * 1e3, double(count) / calls, calls * 6.0 / 60.0, engine.QueuedTotal());
}

void BenchPing() {
  const Clock::time_point t = Clock::now();
  const qv::PingRecord record = qv::RunPingCheck("127.0.0.1");
  if (!record.unavailable.empty()) {
    std::printf("ping 127.0.0.1: not available here (%s)\n", record.unavailable.c_str());
    return;
  }
  std::printf("ping 127.0.0.1, 3 echoes: %.2f ms in all, mean %.2f ms, %d failed\n", SecondsSince(t) * 1e3,
              record.time, int(record.failed));
}

}  // namespace

int main(int argc, char** argv) {
  QTemporaryDir dir;
  UseTemporaryHome(dir);
  QCoreApplication app(argc, argv);
  qv::InitApplicationIdentity();
  const long count = Arg(argc, argv, 1, 1000000);
  BenchPing();
  BenchHomePages(dir.path());
  BenchRescan(dir.path(), count, false);
  BenchRescan(dir.path(), count, true);
  return 0;
}
