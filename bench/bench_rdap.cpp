// RDAP figures:
//  - how many fields of the real answers come out as their expected.json says;
//  - how many RDAP answers per second one core reads: every real answer, with
//    the source footer a lookup adds, through the reader the record update
//    uses, many times over;
//  - a lookup run of 300 names through the engine against a loopback RDAP
//    service (plain HTTP on its own thread) allowed 4 connections and no
//    pause, with the scheduler ticking every 20 ms.
//
//   bench_rdap [ROUNDS]   (default 2000)
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QMutex>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

#include "bench_support.h"
#include "lookup/lookup_engine.h"
#include "store/add_names.h"
#include "store/database_connection.h"
#include "store/database_maintenance.h"
#include "support/rdap_expected.h"
#include "whois/rdap_answer.h"
#include "whois/rdap_directory.h"
#include "whois/server_directory.h"
#include "whois/whois_fields.h"

namespace {

using namespace qvbench;

// Answers every request with one RDAP answer and closes; counts the most
// connections open at once.
class LoopbackService : public QTcpServer {
 public:
  explicit LoopbackService(QByteArray body) : body_(std::move(body)) {}
  int maxOpen = 0;

 protected:
  void incomingConnection(qintptr descriptor) override {
    auto* socket = new QTcpSocket(this);
    socket->setSocketDescriptor(descriptor);
    maxOpen = std::max(maxOpen, ++open_);
    connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
      if (!socket->readAll().contains("\r\n\r\n")) return;
      socket->write("HTTP/1.1 200 OK\r\nConnection: close\r\nContent-Type: application/rdap+json\r\n"
                    "Content-Length: " + QByteArray::number(body_.size()) + "\r\n\r\n" + body_);
      socket->disconnectFromHost();
    });
    connect(socket, &QTcpSocket::disconnected, socket, [this, socket] {
      --open_;
      socket->deleteLater();
    });
  }

 private:
  QByteArray body_;
  int open_ = 0;
};

void BenchLookupRun(const QByteArray& answer, const QString& folder) {
  constexpr int kNames = 300;
  QThread thread;
  auto* service = new LoopbackService(answer);
  service->listen(QHostAddress::LocalHost, 0);
  const int port = service->serverPort();
  service->moveToThread(&thread);
  thread.start();

  qv::StoreRdapUrlOfSuffix("qvbench", "http://127.0.0.1:" + std::to_string(port) + "/domain/");
  {
    qv::WhoisServerRecord record("127.0.0.1:" + std::to_string(port), false);
    record.maxConnections = 4;
    record.connectionInterval = -1;
    record.manuallyEdited = 1;
  }
  std::vector<std::string> names;
  for (int i = 0; i < kNames; ++i) names.push_back("name" + std::to_string(i) + ".qvbench");
  qv::DomainDatabase db;
  if (!qv::NewDocument(db, (folder + "/run.qvl").toStdString()).ok ||
      !qv::AddDomainNames(db, names).error.empty()) {
    std::fprintf(stderr, "bench_rdap: cannot make the document\n");
    return;
  }
  {
    qv::LookupEngine engine(&db, 20);
    engine.SetHostResolver([](const std::string&) { return std::string("192.0.2.1"); });
    int answered = 0, completed = 0;
    QObject::connect(&engine, &qv::LookupEngine::whoisCompleted, [&](const QString&, bool ok) {
      answered += ok ? 1 : 0;
      ++completed;
    });
    QElapsedTimer timer;
    timer.start();
    for (const std::string& name : names) engine.QueueWhoisIfDue(name, 0);
    engine.StartTimer();
    // Until the last RDAP result is applied (the DNS checks that each fresh
    // lookup also queues are collected one a tick and are not counted here).
    while (completed < kNames && timer.elapsed() < 600000) {
      QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
      QThread::msleep(1);
    }
    const double seconds = double(timer.nsecsElapsed()) / 1e9;
    std::printf("rdap lookup run: %d names, %d answered in %.2f s = %.1f names/s "
                "(4 connections, no pause, 20 ms tick; at most %d open at once)\n",
                kNames, answered, seconds, kNames / seconds, service->maxOpen);
  }
  db.CloseAll();
  thread.quit();
  thread.wait();
  delete service;
}

}  // namespace

int main(int argc, char** argv) {
  QTemporaryDir dir;
  UseTemporaryHome(dir);
  QCoreApplication app(argc, argv);
  const std::vector<qvtest::RdapCase> cases =
      qvtest::LoadRdapCases(QStringLiteral(QV_TEST_DATA_DIR "/rdap-answers"));
  if (cases.empty()) {
    std::fprintf(stderr, "bench_rdap: no answers under %s\n", QV_TEST_DATA_DIR "/rdap-answers");
    return 1;
  }

  int fields = 0, right = 0;
  for (const qvtest::RdapCase& c : cases) {
    const qv::RdapReading reading = qv::ReadRdapAnswer(c.answer.toStdString());
    int compared = 0;
    const QStringList wrong = qvtest::RdapFieldMismatches(reading.answer, c.expected, &compared);
    fields += compared;
    right += compared - int(wrong.size());
    if (!wrong.isEmpty())
      std::printf("  %s: wrong %s\n", qPrintable(c.name), qPrintable(wrong.join(QLatin1String(", "))));
  }
  std::printf("rdap accuracy: %d of %d fields (%.1f%%) over %zu answers\n", right, fields,
              100.0 * right / fields, cases.size());

  std::vector<std::string> stored;
  std::size_t bytes = 0;
  for (const qvtest::RdapCase& c : cases) {
    stored.push_back(c.answer.toStdString() + "\n[Whois Source: rdap.example]");
    bytes += stored.back().size();
  }
  const int rounds = std::max(1, int(Arg(argc, argv, 1, 2000)));
  QElapsedTimer timer;
  timer.start();
  const double cpuStart = ThreadCpuSeconds();
  std::size_t taken = 0;
  for (int r = 0; r < rounds; ++r)
    for (const std::string& s : stored) taken += qv::ParseWhoisFields(s).availability == "TAKEN";
  const double seconds = double(timer.nsecsElapsed()) / 1e9;
  const double cpu = ThreadCpuSeconds() - cpuStart;
  const double answers = double(rounds) * double(stored.size());
  // On a shared machine the wall time includes waiting for a core; the CPU
  // time of this thread is what reading costs.
  std::printf("rdap read: %.0f answers in %.3f s wall = %.0f answers/s; %.3f s CPU = %.0f answers/s "
              "(average answer %zu bytes; %zu taken)\n",
              answers, seconds, answers / seconds, cpu, answers / cpu, bytes / stored.size(), taken);
  BenchLookupRun(cases.front().answer, dir.path());
  return 0;
}
