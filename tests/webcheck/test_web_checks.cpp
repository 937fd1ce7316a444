// The home page and ping checks: the fields computed from an answer, what is
// stored, and whole checks through WebChecks against loopback peers.
#include <QSignalSpy>
#include <QTest>
#include <atomic>
#include <chrono>
#include <thread>

#include "store/domain_record.h"
#include "support/http_test_servers.h"
#include "support/test_registry.h"
#include "webcheck/fetch_job_list.h"
#include "webcheck/home_page_check.h"
#include "webcheck/ping_check.h"
#include "webcheck/web_checks.h"
#include "webcheck_fixture.h"

using namespace webtest;

class WebChecksTest : public QObject {
  Q_OBJECT

 private slots:
  void homePageFields_data() {
    QTest::addColumn<QByteArray>("page");
    QTest::addColumn<QByteArray>("headers");
    QTest::addColumn<QByteArray>("status");
    QTest::addColumn<QByteArray>("size");
    QTest::addColumn<QByteArray>("redirect");
    QTest::addColumn<QByteArray>("title");
    const auto row = [](const char* tag, const QByteArray& page, const QByteArray& headers, const QByteArray& status,
                        const char* size, const char* redirect = "", const QByteArray& title = {}) {
      QTest::newRow(tag) << page << headers << status << QByteArray(size) << QByteArray(redirect) << title;
    };
    const QByteArray ok = "HTTP/1.1 200 OK\r\nServer: nginx\r\n\r\n", okLine = "HTTP/1.1 200 OK";
    row("upper-case title", "<HTML><TITLE>Welcome</TITLE></HTML>", ok, okLine, "35 bytes", "", "Welcome");
    row("title with attributes", "<title lang=\"en\">Hi &amp; all</title>", ok, okLine, "37 bytes", "", "Hi &amp; all");
    row("title of 200", "<title>" + QByteArray(200, 't') + "</title>", ok, okLine, "215 bytes", "",
        QByteArray(175, 't') + "...");
    row("5000 bytes", QByteArray(5000, 'p'), ok, okLine, "5000 bytes");
    row("301", {}, "HTTP/1.1 301 Moved Permanently\r\nLocation: http://www.beta.com/\r\n\r\n",
        "HTTP/1.1 301 Moved Permanently", "0 bytes", " http://www.beta.com/");
    row("redirect too long to store", {},
        "HTTP/1.1 302 Found\r\nLocation: http://www.beta.com/" + QByteArray(120, 'q') + "\r\n\r\n",
        "HTTP/1.1 302 Found (redirect URL too long to store)", "0 bytes");
    row("unreachable", {}, "Connection refused", "Connection refused", "0 bytes");
    row("status cut to 120", {}, QByteArray(130, 's'), QByteArray(120, 's'), "0 bytes");
    // UTF-8 texts are cut at whole characters, never inside one.
    const QByteArray de = "\xD0\x94", e = "\xC3\xA9";
    row("UTF-8 title", "<title>" + de.repeated(200) + "</title>", ok, okLine, "415 bytes", "",
        de.repeated(175) + "...");
    row("UTF-8 status", {}, e.repeated(130), e.repeated(120), "0 bytes");
  }
  void homePageFields() {
    QFETCH(QByteArray, page);
    QFETCH(QByteArray, headers);
    QFETCH(QByteArray, status);
    QFETCH(QByteArray, size);
    QFETCH(QByteArray, redirect);
    QFETCH(QByteArray, title);
    const qv::HomePageFields f =
        qv::ComputeHomePageFields(page.toStdString(), headers.toStdString(), qv::Date(), qv::Date::Now());
    QCOMPARE(QByteArray::fromStdString(f.status), status);
    QCOMPARE(QByteArray::fromStdString(f.size), size);
    QCOMPARE(f.bytes, std::int64_t(page.size()));
    QCOMPARE(QByteArray::fromStdString(f.redirectUrl), redirect);
    QCOMPARE(QByteArray::fromStdString(f.title), title);
  }

  // Empty texts leave what the record held; a name not stored gets nothing.
  void storeKeepsOldTexts() {
    qv::DomainDatabase db;
    QVERIFY(MakeDocument(db, {"alpha.com"}));
    qv::DomainRecord record = Read(db, "alpha.com");
    record.SetText(qv::field::kRedirectUrl, " http://old.com/");
    record.SetText(qv::field::kHomePageTitle, "Old title");
    QVERIFY(db.WriteRecord(record));
    const qv::HomePageFields f = qv::ComputeHomePageFields("", "Connection refused", qv::Date(), qv::Date::Now());
    QVERIFY(qv::StoreHomePageFields(db, "alpha.com", f));
    QVERIFY(!qv::StoreHomePageFields(db, "beta.com", f));
    record = Read(db, "alpha.com");
    QCOMPARE(record.Text(qv::field::kRedirectUrl) + "|" + record.Text(qv::field::kHomePageTitle) + "|" +
                 record.Text(qv::field::kHomePageStatus) + "|" + record.Text(qv::field::kHomePageModified),
             std::string(" http://old.com/|Old title|Connection refused|"));
  }

  // "http://www.alpha.com/" reaches nginx through the system proxy.
  void homePageThroughProxy() {
    qvtest::NginxServer nginx;
    if (!nginx.Running()) QSKIP(qPrintable(nginx.Problem()));
    qputenv("http_proxy", nginx.Url("").c_str());
    qv::DomainDatabase db;
    QVERIFY(MakeDocument(db, {"alpha.com"}));
    qv::WebChecks checks([&db] { return &db; });
    QSignalSpy checked(&checks, &qv::WebChecks::homePageChecked);
    QVERIFY(checks.StartHomePage("alpha.com"));
    QCOMPARE(checks.FetchJobTags(), std::vector<std::string>{"alpha.com:HTTP"});
    QTRY_COMPARE_WITH_TIMEOUT(checked.count(), 1, 15000);
    qunsetenv("http_proxy");
    QCOMPARE(checked.first().at(1).toBool(), true);
    QCOMPARE(qv::FetchJobList::Instance().RunningCount(), 0);
    const qv::DomainRecord record = Read(db, "alpha.com");
    QCOMPARE(record.Text(qv::field::kHomePageStatus), std::string("HTTP/1.1 200 OK"));
    QCOMPARE(record.Text(qv::field::kHomePageTitle), std::string(qvtest::NginxServer::kIndexTitle));
    QCOMPARE(record.DateValue(qv::field::kHomePageModified).ToIsoText(), std::string(qvtest::NginxServer::kPageModified));
    QVERIFY(record.DateValue(qv::field::kHomePageCheckedAt).IsValid());
    QVERIFY(record.Number(qv::field::kHomePageBytes) > 0);
    QCOMPARE(record.Text(qv::field::kHomePageSize), std::to_string(record.Number(qv::field::kHomePageBytes)) + " bytes");
  }

  // 127.0.0.1 answers every echo; where the system allows no ICMP socket the
  // check says so and stores nothing.
  void pingLoopback() {
    qv::DomainDatabase db;
    QVERIFY(MakeDocument(db, {"alpha.com"}));
    qv::WebChecks checks([&db] { return &db; });
    checks.SetPingRunnerForTests([](const std::string&) { return qv::RunPingCheck("127.0.0.1"); });
    QSignalSpy checked(&checks, &qv::WebChecks::pingChecked);
    QSignalSpy unavailable(&checks, &qv::WebChecks::pingUnavailable);
    QVERIFY(checks.StartPing("alpha.com"));
    QTRY_VERIFY_WITH_TIMEOUT(checked.count() + unavailable.count() > 0 || checks.RunningPings() == 0, 15000);
    QTRY_COMPARE_WITH_TIMEOUT(checks.RunningPings(), 0, 15000);
    QTest::qWait(50);
    const qv::DomainRecord record = Read(db, "alpha.com");
    if (checked.isEmpty()) {
      qInfo("This machine allows no ICMP socket: the not-available path is checked instead.");
      QVERIFY(record.DateValue(qv::field::kPingCheckedAt).IsNull());
      return;
    }
    QCOMPARE(checked.first().at(1).toBool(), true);
    QCOMPARE(record.Number(qv::field::kPingCheckCount), 3LL);
    QCOMPARE(record.Number(qv::field::kPingFailCount), 0LL);
    QVERIFY(record.Real(qv::field::kPingTime) >= 0);
    QVERIFY(record.DateValue(qv::field::kPingCheckedAt).IsValid());
  }

  // At most five pings run, however many a tick asks for; after Stop their
  // results are dropped.
  void pingRunningLimitAndStop() {
    qv::WebChecks checks([] { return nullptr; });
    QSignalSpy checked(&checks, &qv::WebChecks::pingChecked);
    std::atomic<bool> release{false};
    checks.SetPingRunnerForTests([&release](const std::string& host) {
      while (!release) std::this_thread::sleep_for(std::chrono::milliseconds(5));
      qv::PingRecord record;
      record.host = host;
      return record;
    });
    int started = 0;
    for (int i = 0; i < 8; ++i) started += checks.StartPing("alpha" + std::to_string(i) + ".com") ? 1 : 0;
    QCOMPARE(started, qv::kMaxRunningPings);
    QCOMPARE(checks.RunningPings(), qv::kMaxRunningPings);
    checks.CancelPings();
    release = true;
    QTRY_COMPARE_WITH_TIMEOUT(checks.RunningPings(), 0, 5000);
    QTest::qWait(50);
    QCOMPARE(checked.count(), 0);
  }
};

QV_TEST(WebChecksTest)
#include "test_web_checks.moc"
