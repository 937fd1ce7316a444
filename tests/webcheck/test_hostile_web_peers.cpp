// Web servers that never finish: one drips a byte a second, one sends a body
// without end. The fetch ends within its total time with an error text, and
// the memory the process holds stays within a bound while it runs.
#include <QTest>

#include "support/http_test_servers.h"
#include "support/process_memory.h"
#include "support/test_registry.h"
#include "webcheck_fixture.h"

using qvtest::HttpScriptServer;

class HostileWebPeersTest : public QObject {
  Q_OBJECT

 private slots:
  void fetchEndsWithError_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("error");
    QTest::newRow("a byte a second") << int(HttpScriptServer::Mode::Drip) << qv::kTimedOutText;
    QTest::newRow("body without end") << int(HttpScriptServer::Mode::Endless) << qv::kPageTooLargeText;
  }
  void fetchEndsWithError() {
    QFETCH(int, mode);
    QFETCH(QString, error);
    constexpr int kTimeoutMs = 2500;
    constexpr long kMemoryBoundKiB = 96 * 1024;  // the 16 MiB page limit and Qt's buffers
    // The drip announces a page it will never finish; the endless body has no
    // length, so only the server's close could end it.
    const bool drip = mode == int(HttpScriptServer::Mode::Drip);
    const std::string text = drip ? "HTTP/1.1 200 OK\r\nContent-Length: 100000\r\n\r\n" + std::string(100000, 'd')
                                  : "HTTP/1.1 200 OK\r\n\r\n";
    HttpScriptServer server(HttpScriptServer::Mode(mode), text, 1000);
    webtest::Fetched f;
    const qvtest::WorkCost cost = qvtest::MeasureWork([&] { f = webtest::Fetch(server.Url(), kTimeoutMs); });
    qInfo("%s: %lld ms, resident memory rose %ld KiB", QTest::currentDataTag(), cost.ms, cost.grownKiB);
    QVERIFY(f.completed);
    QCOMPARE(QString::fromStdString(f.error), error);
    QVERIFY(f.body.size() <= std::size_t(qv::kMaxMemoryBodyBytes));
    QVERIFY2(cost.ms < kTimeoutMs + 5000, QByteArray::number(cost.ms));  // a busy machine's slack
    QVERIFY2(cost.grownKiB < kMemoryBoundKiB, QByteArray::number(qlonglong(cost.grownKiB)));
  }
};

QV_TEST(HostileWebPeersTest)
#include "test_hostile_web_peers.moc"
