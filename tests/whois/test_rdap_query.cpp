// RDAP queries against a loopback HTTPS server whose certificate the test
// made and trusts: answers, "not registered", busy services, redirects and
// hostile bodies; and the query URL built from a base URL and a name.
#include <QTcpServer>
#include <QtTest>

#include "support/rdap_test_server.h"
#include "support/test_registry.h"
#include "support/whole_files.h"
#include "whois/rdap_directory.h"
#include "whois/rdap_query.h"

using qvtest::HttpReply;
using qvtest::RdapTestServer;

namespace {

QByteArray RealAnswer() { return qvtest::ReadFileBytes(QV_TEST_DATA_DIR "/rdap-answers/whoisit-5/answer.json"); }

// What the server answers for each path of the cases below.
HttpReply Serve(const QByteArray& path) {
  if (path == "/domain/google.com") return RdapTestServer::Json(RealAnswer());
  if (path == "/domain/free.com") return RdapTestServer::NotFound();
  if (path == "/domain/busy.com") return {429, "{}", {{"Retry-After", "7"}}, true};
  if (path == "/domain/down.com") return {503, "", {}, true};
  if (path == "/domain/moved.com") return RdapTestServer::Redirect(302, "/hop/1");
  if (path == "/hop/1") return RdapTestServer::Redirect(301, "/domain/google.com");
  if (path == "/domain/loop.com") return RdapTestServer::Redirect(302, "/domain/loop.com");
  if (path == "/domain/plain.com") return RdapTestServer::Redirect(302, "http://127.0.0.1:1/x");
  if (path == "/domain/huge-announced.com") return {200, QByteArray(50 << 20, ' '), {}, true};
  if (path == "/domain/broken.com") return RdapTestServer::Json("{\"ldhName\": \"broken.com\"");
  return {500, "", {}, true};
}

}  // namespace

class RdapQueryTest : public QObject {
  Q_OBJECT
 private slots:
  void query_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("outcome");
    QTest::addColumn<QString>("error");  // part of the failure text
    QTest::addColumn<int>("requests");
    const int answer = int(qv::RdapOutcome::Answer), notFound = int(qv::RdapOutcome::NotFound),
              failed = int(qv::RdapOutcome::Failed);
    QTest::newRow("answer") << "google.com" << answer << "" << 1;
    QTest::newRow("404") << "free.com" << notFound << "" << 1;
    QTest::newRow("429") << "busy.com" << failed << "HTTP 429. The service is busy; it asks to wait 7 seconds" << 1;
    QTest::newRow("503") << "down.com" << failed << "HTTP 503" << 1;
    QTest::newRow("redirects") << "moved.com" << answer << "" << 3;
    QTest::newRow("redirect loop") << "loop.com" << failed << "redirected more than 5 times" << 6;
    QTest::newRow("to plain http") << "plain.com" << failed << "unusable address" << 1;
    QTest::newRow("50 MB announced") << "huge-announced.com" << failed << "larger than 1 MiB" << 1;
    QTest::newRow("malformed") << "broken.com" << failed << "not valid JSON" << 1;
    QTest::newRow("server error") << "other.com" << failed << "HTTP 500" << 1;
  }
  void query() {
    QFETCH(QString, name);
    QFETCH(int, outcome);
    QFETCH(QString, error);
    QFETCH(int, requests);
    RdapTestServer server(RdapTestServer::Tls::Trusted, Serve);
    const qv::RdapResult r = qv::RdapQuery(server.stdUrl("/domain/" + name), 5000);
    QVERIFY2(QString::fromStdString(r.error).contains(error), r.error.c_str());
    QCOMPARE(int(r.outcome), outcome);
    QCOMPARE(server.paths().size(), requests);
    if (outcome == int(qv::RdapOutcome::Answer)) QCOMPARE(QByteArray::fromStdString(r.body), RealAnswer());
    if (outcome == int(qv::RdapOutcome::NotFound)) QVERIFY(r.body.find("404") != std::string::npos);
  }

  void refusesUntrustedCertificate() {
    RdapTestServer server(RdapTestServer::Tls::Untrusted, Serve);
    const qv::RdapResult r = qv::RdapQuery(server.stdUrl("/domain/google.com"), 5000);
    QCOMPARE(int(r.outcome), int(qv::RdapOutcome::Failed));
    QVERIFY2(r.error.starts_with("The RDAP service's certificate was refused: "), r.error.c_str());
    QVERIFY(server.paths().isEmpty());
  }

  void stallingServerTimesOut() {
    // Accepts and never answers: the query ends within the time-out.
    QTcpServer silent;
    QVERIFY(silent.listen(QHostAddress::LocalHost));
    QElapsedTimer clock;
    clock.start();
    const qv::RdapResult r = qv::RdapQuery(
        "http://127.0.0.1:" + std::to_string(silent.serverPort()) + "/domain/alpha.com", 300);
    QVERIFY2(r.error.find("in time") != std::string::npos, r.error.c_str());
    QVERIFY(clock.elapsed() < 3000);
  }

  void queryUrl_data() {
    QTest::addColumn<QString>("base");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("url");
    QTest::newRow("slash") << "https://rdap.example/domain/" << "Alpha.COM" << "https://rdap.example/domain/alpha.com";
    QTest::newRow("no slash") << "https://rdap.example/domain" << "alpha.com" << "https://rdap.example/domain/alpha.com";
    QTest::newRow("idn") << "https://rdap.example/" << "münchen.de" << "https://rdap.example/xn--mnchen-3ya.de";
    QTest::newRow("not a name") << "https://rdap.example/" << "alpha com/../x" << "";
    QTest::newRow("not http") << "ftp://rdap.example/" << "alpha.com" << "";
    QTest::newRow("no host") << "https:///domain/" << "alpha.com" << "";
  }
  void queryUrl() {
    QFETCH(QString, base);
    QFETCH(QString, name);
    QFETCH(QString, url);
    QCOMPARE(QString::fromStdString(qv::RdapQueryUrl(base.toStdString(), name.toStdString())), url);
  }

  void retryAfter_data() {
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("seconds");
    QTest::newRow("seconds") << "120" << 120;
    QTest::newRow("date") << "Thu, 01 Jan 1970 00:01:40 GMT" << 40;
    QTest::newRow("past date") << "Thu, 01 Jan 1970 00:00:10 GMT" << 0;
    QTest::newRow("garbage") << "soon" << -1;
    QTest::newRow("negative") << "-5" << -1;
  }
  void retryAfter() {
    QFETCH(QString, value);
    QFETCH(int, seconds);
    QCOMPARE(qv::RetryAfterSeconds(value.toStdString(), 60), seconds);
  }
};

QV_TEST(RdapQueryTest)
#include "test_rdap_query.moc"
