// Peers that never finish: a whois server or RDAP service that keeps sending
// (fast or a trickle) and SMTP servers that stall or talk without end. Each
// lookup or mail must end within its time-outs as a failure, and the memory
// the process holds must stay within a bound while it runs.
#include <QTest>
#include <memory>
#include <vector>

#include "engine_fixture.h"
#include "lookup/mail_jobs.h"
#include "lookup/whois_worker.h"
#include "support/http_test_servers.h"
#include "support/process_memory.h"
#include "support/smtp_test_server.h"
#include "support/test_registry.h"
#include "support/whois_test_server.h"
#include "whois/whois_query.h"

using namespace qv;
using qvtest::HttpScriptServer;
using qvtest::ScriptedSmtpServer;
using qvtest::WhoisTestServer;

namespace {

// How far the resident memory may rise while one hostile peer is served.
constexpr long kMemoryBoundKiB = 64 * 1024;
// What a busy machine (or a sanitizer) may add to a time-out before the end.
constexpr int kSlackMs = 5000;

std::string LongAnswer() {
  std::string text;
  while (text.size() < 4 * 1024 * 1024) text += "Domain Name: ALPHA.COM\nRegistrar: Example Registrar\n";
  return text;
}

void Report(const char* what, const qvtest::WorkCost& cost) {
  qInfo("%s: %lld ms, resident memory rose %ld KiB", what, cost.ms, cost.grownKiB);
}

}  // namespace

class HostilePeersTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { SetWhoisTimeoutSeconds(1); }  // each query ends within 3 s

  void lookupEndsAsFailure_data() {
    QTest::addColumn<int>("peer");
    QTest::addColumn<QString>("failure");  // RDAP: part of the reason given
    QTest::newRow("whois: answer streamed without end") << 0 << "";
    QTest::newRow("whois: answer trickled without end") << 1 << "";
    QTest::newRow("rdap: body without end") << 2 << "larger than 1 MiB";
    QTest::newRow("rdap: answer trickled") << 3 << "did not answer in time";
  }
  void lookupEndsAsFailure() {
    QFETCH(int, peer);
    QFETCH(QString, failure);
    std::unique_ptr<WhoisTestServer> whois;
    std::unique_ptr<HttpScriptServer> web;
    const std::string headers = "HTTP/1.1 200 OK\r\nContent-Type: application/rdap+json\r\n";
    WhoisJob job;
    job.domain = "alpha.com";
    job.server = "127.0.0.1";
    if (peer == 0) whois = std::make_unique<WhoisTestServer>(WhoisTestServer::Endless());
    if (peer == 1) whois = std::make_unique<WhoisTestServer>(WhoisTestServer::InPieces(LongAnswer(), 64, 20));
    if (peer == 2) web = std::make_unique<HttpScriptServer>(HttpScriptServer::Mode::Endless, headers + "\r\n");
    if (peer == 3)
      web = std::make_unique<HttpScriptServer>(HttpScriptServer::Mode::Drip,
                                               headers + "Content-Length: 100000\r\n\r\n" + LongAnswer(), 20);
    if (whois) enginetest::PointSuffixAt("com", job.server, whois->port());
    if (web) job.rdapUrl = web->Url("/domain/alpha.com");

    int code = 0;
    const qvtest::WorkCost cost = qvtest::MeasureWork([&] { code = WhoisWorker(job, {}); });
    Report(QTest::currentDataTag(), cost);
    QCOMPARE(code, kWhoisNoAnswerCode);
    QVERIFY(job.whoisText.empty());
    QVERIFY2(QString::fromStdString(job.failure).contains(failure), job.failure.c_str());
    QVERIFY2(cost.ms < WhoisQueryDeadlineMs(1000) + kSlackMs, QByteArray::number(cost.ms));
    QVERIFY2(cost.grownKiB < kMemoryBoundKiB, QByteArray::number(qlonglong(cost.grownKiB)));
  }

  void mailEndsAsFailure_data() {
    QTest::addColumn<int>("peer");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("error");
    QTest::newRow("no greeting") << 0 << kSmtpTimedOut << "The server did not answer in time.";
    QTest::newRow("greeting, then silence") << 1 << kSmtpTimedOut << "The server did not answer in time.";
    QTest::newRow("greeting trickled without end") << 2 << kSmtpTimedOut << "The server did not answer in time.";
    QTest::newRow("greeting streamed without end") << 3 << -1 << "The server's reply has no end.";
  }
  void mailEndsAsFailure() {
    QFETCH(int, peer);
    QFETCH(int, code);
    QFETCH(QString, error);
    constexpr int kTimeoutMs = 500;
    ScriptedSmtpServer::Script script;
    script.stallAfterGreeting = true;
    if (peer != 1) script.greeting.clear();
    script.endlessGreeting = peer >= 2;
    script.greetingDripMs = peer == 2 ? 20 : 0;

    MailList list;
    list.SetTimeoutMs(kTimeoutMs);
    std::vector<MailOutcome> finished;
    connect(&list, &MailList::mailFinished, this, [&finished](const MailOutcome& o) { finished.push_back(o); });
    // Declared after the list: on a failure below it stops first, so the
    // list's wait for its send ends.
    ScriptedSmtpServer server(script);
    MailJob job;
    job.subject = "Alert Event";
    job.toAddress = "owner@beta.net";
    job.server.host = "127.0.0.1";
    job.server.port = server.port();
    job.text = "Domain: alpha.com\r\n";
    list.QueueAlertMail(job);

    const qvtest::WorkCost cost = qvtest::MeasureWork([&] {
      list.StartMailJobs();
      list.WaitForSends(20 * kTimeoutMs);
    });
    Report(QTest::currentDataTag(), cost);
    QCOMPARE(finished.size(), std::size_t(1));
    const MailOutcome& outcome = finished.front();
    QVERIFY(!outcome.sent);
    QCOMPARE(outcome.result.code, code);
    QCOMPARE(QString::fromStdString(outcome.result.error), error);
    QVERIFY2(cost.ms < 4 * kTimeoutMs + kSlackMs, QByteArray::number(cost.ms));
    QVERIFY2(cost.grownKiB < kMemoryBoundKiB, QByteArray::number(qlonglong(cost.grownKiB)));
  }
};

QV_TEST(HostilePeersTest)
#include "test_hostile_peers.moc"
