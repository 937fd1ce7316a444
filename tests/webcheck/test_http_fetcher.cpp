// The HTTP fetcher against a real nginx and a scripted server on loopback.
#include <QSslConfiguration>
#include <QTest>
#include <memory>

#include "support/http_test_servers.h"
#include "support/test_registry.h"
#include "webcheck/fetch_job_list.h"
#include "webcheck_fixture.h"

using namespace webtest;
using qvtest::HttpScriptServer;

class HttpFetcherTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    nginx_ = std::make_unique<qvtest::NginxServer>();
    if (!nginx_->Running()) QSKIP(qPrintable(nginx_->Problem()));
    // The test's certificate joins the system's trusted ones.
    QSslConfiguration config = QSslConfiguration::defaultConfiguration();
    config.addCaCertificates(nginx_->CertificatePath());
    QSslConfiguration::setDefaultConfiguration(config);
  }
  void cleanupTestCase() { nginx_.reset(); }

  void nginxAnswers_data() {
    QTest::addColumn<QString>("url");
    QTest::addColumn<bool>("stopAtRedirect");
    QTest::addColumn<QString>("error");
    QTest::addColumn<QString>("redirect");
    QTest::addColumn<QString>("finalPath");  // the URL fetched last ends with this
    QTest::addColumn<bool>("hasPage");
    const QString title = QString::fromLatin1(qvtest::NginxServer::kIndexTitle);
    const auto row = [this](const char* name, const std::string& url, bool stop, const char* error,
                            const char* redirect, const char* finalPath, bool page) {
      QTest::newRow(name) << QString::fromStdString(url) << stop << QString(error) << QString(redirect)
                          << QString(finalPath) << page;
    };
    const std::string u301 = nginx_->Url("/index.html");
    row("page", nginx_->Url("/index.html"), false, "", "", "/index.html", true);
    row("https with the system's trust", nginx_->TlsUrl("/index.html"), false, "", "", "/index.html", true);
    row("https:// later in the URL", nginx_->Url("/index.html?next=https://elsewhere/"), false, "", "", "https://elsewhere/", true);
    row("301 absolute", nginx_->Url("/r301"), false, "", u301.c_str(), "/index.html", true);
    row("302 relative, stopped", nginx_->Url("/r302"), true, "Site Redirects", "/index.html", "/r302", false);
    row("302 relative, followed", nginx_->Url("/r302"), false, "", "/index.html", "/index.html", true);
    row("303", nginx_->Url("/r303"), false, "", "/index.html", "/index.html", true);
    row("307 with dot segments", nginx_->Url("/a/b/r307"), false, "", "../../index.html", "/index.html", true);
    row("308", nginx_->Url("/r308"), false, "", "/index.html", "/index.html", true);
    row("loop of two", nginx_->Url("/redirect-loop"), false, "Too many redirects", nullptr, nullptr, false);
    row("to itself", nginx_->Url("/same"), false, "Site redirects to same location", nullptr, "/same", false);
    row("404", nginx_->Url("/missing"), false, "Error: 404", "", "/missing", false);
    row("ftp", "ftp://127.0.0.1/x", false, "Not an http request", "", nullptr, false);
    row("no host", "http:///index.html", false, "Error Parsing URL", "", nullptr, false);
  }
  void nginxAnswers() {
    QFETCH(QString, url);
    QFETCH(bool, stopAtRedirect);
    QFETCH(QString, error);
    QFETCH(QString, redirect);
    QFETCH(QString, finalPath);
    QFETCH(bool, hasPage);
    const Fetched f = Fetch(url.toStdString(), 10000, [&](qv::HttpFetchJob& job) {
      job.stopAtRedirect = stopAtRedirect;
    });
    QVERIFY(f.completed);
    QCOMPARE(QString::fromStdString(f.error), error);
    QCOMPARE(f.code, error.isEmpty() ? qv::kFetchSucceeded : qv::kFetchFailed);
    if (!redirect.isNull()) QCOMPARE(QString::fromStdString(f.redirect), redirect);
    if (!finalPath.isNull()) QVERIFY2(QString::fromStdString(f.url).endsWith(finalPath), f.url.c_str());
    QCOMPARE(QString::fromStdString(f.body).contains(qvtest::NginxServer::kIndexTitle), hasPage);
    // Any answer the server gave keeps its status line and headers.
    if (error.startsWith("Error: ") || error == "Site Redirects")
      QVERIFY2(f.headers.starts_with("HTTP/1.1 "), f.headers.c_str());
  }

  void lastModified_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("expected");  // empty: null
    QTest::newRow("static page") << "/index.html" << qvtest::NginxServer::kPageModified;
    QTest::newRow("no header") << "/no-modified" << "";
  }
  void lastModified() {
    QFETCH(QString, path);
    QFETCH(QString, expected);
    const Fetched f = Fetch(nginx_->Url(path.toStdString()));
    QVERIFY(f.completed);
    QCOMPARE(QString::fromStdString(f.lastModified.ToIsoText()), expected);
    QCOMPARE(f.lastModified.IsNull(), expected.isEmpty());
  }

  void scriptedAnswers_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("timeoutMs");
    QTest::addColumn<int>("maxBytes");
    QTest::addColumn<bool>("stopAtRedirect");
    QTest::addColumn<QString>("error");  // "*": any error text
    QTest::addColumn<int>("bodySize");
    QTest::addColumn<QString>("redirect");
    using M = HttpScriptServer::Mode;
    const auto row = [](const char* tag, M mode, const QByteArray& text, int timeoutMs, int maxBytes, bool stop,
                        const char* error, int bodySize, const char* redirect = "") {
      QTest::newRow(tag) << int(mode) << text << timeoutMs << maxBytes << stop << QString(error) << bodySize
                         << QString(redirect);
    };
    row("endless body capped", M::Endless, "HTTP/1.1 200 OK\r\n\r\n", 10000, 100000, false, "", 100000);
    row("garbage status line", M::Answer, "HTXP/9 banana\r\n\r\n", 5000, 0, false, "*", 0);
    row("302 without Location", M::Answer, "HTTP/1.1 302 Found\r\nContent-Length: 0\r\n\r\n", 5000, 0, false,
        "Site redirects with no new location", 0);
    row("location in lower case", M::Answer, "HTTP/1.1 302 Found\r\nlocation: /next\r\nContent-Length: 0\r\n\r\n",
        5000, 0, true, "Site Redirects", 0, "/next");
  }
  void scriptedAnswers() {
    QFETCH(int, mode);
    QFETCH(QByteArray, text);
    QFETCH(int, timeoutMs);
    QFETCH(int, maxBytes);
    QFETCH(bool, stopAtRedirect);
    QFETCH(QString, error);
    QFETCH(int, bodySize);
    QFETCH(QString, redirect);
    HttpScriptServer server(HttpScriptServer::Mode(mode), text.toStdString(), 200);
    const Fetched f = Fetch(server.Url(), timeoutMs, [&](qv::HttpFetchJob& job) {
      job.maxBytes = std::uint32_t(maxBytes);
      job.stopAtRedirect = stopAtRedirect;
    });
    QVERIFY(f.completed);
    if (error == "*")
      QVERIFY(!f.error.empty());
    else
      QCOMPARE(QString::fromStdString(f.error), error);
    QCOMPARE(int(f.body.size()), bodySize);
    QCOMPARE(QString::fromStdString(f.redirect), redirect);
    QVERIFY2(f.ms < timeoutMs + 1000, QByteArray::number(f.ms));
  }

  // Stop: a running job sends nothing more, waits among the cancelled ones
  // and is deleted once its worker has ended.
  void cancelAll() {
    HttpScriptServer server(HttpScriptServer::Mode::Drip, "HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\n", 500);
    qv::FetchJobList& list = qv::FetchJobList::Instance();
    QSignalSpy done(&list, &qv::FetchJobList::done);
    auto job = std::make_unique<qv::HttpFetchJob>();
    job->tag = "alpha.com:HTTP";
    const qv::HttpFetchJob* started = list.Start(std::move(job), server.Url(), 60000);
    QVERIFY(started);
    QTest::qWait(300);
    list.CancelAll();
    QCOMPARE(list.RunningCount(), 0);
    QVERIFY(list.IsCancelled(started));
    QTRY_VERIFY_WITH_TIMEOUT(started->ended, 5000);
    list.PurgeAtExit(1, 0);
    QCOMPARE(list.CancelledCount(), 0);
    QTest::qWait(100);
    QCOMPARE(done.count(), 0);
  }

  void htmlToText_data() {
    QTest::addColumn<QByteArray>("html");
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("tags and an entity") << QByteArray("a<b>c</b>&amp;d") << QByteArray("ac&d");
    QTest::newRow("nested brackets") << QByteArray("<<x>>y") << QByteArray("y");
    QTest::newRow("escaped entity stays escaped") << QByteArray("&amp;lt;b&amp;gt;") << QByteArray("&lt;b&gt;");
    QTest::newRow("entities") << QByteArray("&lt;1&gt;&nbsp;&quot;&#39;&raquo;&#169;") << QByteArray("<1> \"' \xA9");
  }
  void htmlToText() {
    QFETCH(QByteArray, html);
    QFETCH(QByteArray, text);
    QCOMPARE(QByteArray::fromStdString(qv::HtmlToText(html.toStdString())), text);
  }

 private:
  std::unique_ptr<qvtest::NginxServer> nginx_;
};

QV_TEST(HttpFetcherTest)
#include "test_http_fetcher.moc"
