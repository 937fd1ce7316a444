// The link popularity check: what each service's page gives the record, and
// whole checks against loopback servers answering with recorded pages.
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>

#include "platform/settings_store.h"
#include "store/domain_record.h"
#include "support/http_test_servers.h"
#include "support/temp_folders.h"
#include "support/test_registry.h"
#include "webcheck/fetch_job_list.h"
#include "webcheck/link_popularity.h"
#include "webcheck/link_popularity_check.h"
#include "webcheck_fixture.h"

namespace {

using qvtest::HttpScriptServer;
using namespace webtest;

// "Field=value" for each count field, "Field=" for one left null.
QStringList Counts(qv::DomainDatabase& db, const std::string& name) {
  const qv::DomainRecord record = Read(db, name);
  QStringList out;
  for (const char* f : {qv::field::kAlexaRank, qv::field::kAlexaLinks, qv::field::kGoogleLinks,
                        qv::field::kMsnLinks, qv::field::kAltavistaLinks}) {
    const bool null = std::holds_alternative<std::monostate>(record.Get(f));
    out << QString::fromLatin1(f) + "=" + (null ? QString() : QString::number(record.Number(f)));
  }
  return out;
}

// Pages written the way the services wrote theirs, around the marks.
const char* const kAlexaPage =
    "<html><body><div class=\"data\">Alexa Traffic Rank for alpha.com: "
    "<a href=\"/site/ranks?q=alpha.com\">1,234</a> (<b>3 month average</b>)</div>"
    "<ul><li>Other sites that link to this site: <a href=\"/site/linksin\">5,678</a></li></ul></body></html>";
const char* const kMsnPage =
    "<html><div id=\"results_area\"><h5>Page 1 of 2,468 results containing link:alpha.com</h5></div></html>";

std::string Answer(const std::string& page, const char* status = "200 OK") {
  return std::string("HTTP/1.1 ") + status + "\r\nContent-Type: text/html\r\nContent-Length: " +
         std::to_string(page.size()) + "\r\nConnection: close\r\n\r\n" + page;
}

}  // namespace

class LinkPopularityTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { qvtest::FreshFolders(); }

  // Each service's page, stored as the check stores it; "Field=" is a field
  // left as it was (null). A mark with no readable number stores nothing.
  void pages_data() {
    QTest::addColumn<QByteArray>("kind");
    QTest::addColumn<QByteArray>("page");
    QTest::addColumn<QStringList>("expected");
    const auto row = [](const char* name, const char* kind, const QByteArray& page, const char* alexaRank,
                        const char* alexaLinks, const char* google, const char* msn, const char* altavista) {
      QTest::newRow(name) << QByteArray(kind) << page
                          << QStringList{QStringLiteral("Alexa Rank=") + alexaRank, QStringLiteral("Alexa Links=") + alexaLinks,
                                         QStringLiteral("Google Links=") + google, QStringLiteral("MSN Links=") + msn,
                                         QStringLiteral("Altavista Links=") + altavista};
    };
    row("alexa rank and links", "ALEXA", kAlexaPage, "1234", "5678", "", "", "");
    row("alexa rank without links", "ALEXA", "Traffic Rank for alpha.com: <A HREF=\"/x\">1,234</A>", "1234", "0",
        "", "", "");
    row("alexa rank unreadable", "ALEXA", "Traffic Rank for alpha.com: <a href=\"/x\">No Data</a>", "", "", "", "", "");
    row("alexa links unreadable", "ALEXA",
        "Traffic Rank for alpha.com: <a>#7</a><li>Other sites that link to this site: none</li>", "7", "", "", "", "");
    row("alexa rank without end", "ALEXA", "Traffic Rank for alpha.com: 1,234", "", "", "", "", "");
    row("google of about", "GOOGLELINK", "Results 1 - 10 of about <b>12,300</b> linking to", "", "", "12300", "", "");
    row("google linking to", "GOOGLELINK", "Results 1 - 3 of <b>3</b> linking to <b>www.alpha.com</b>", "", "",
        "3", "", "");
    row("google number unreadable", "GOOGLELINK", "of about <b>many</b>", "", "", "", "", "");
    row("google count above 2^31", "GOOGLELINK", "of about <b>12,345,678,901</b>", "", "", "2147483647", "", "");
    row("msn page 1 of", "MSNLINK", kMsnPage, "", "", "", "2468", "");
    row("msn nothing found", "MSNLINK", "We did not find any results containing link:alpha.com", "", "", "", "0", "");
    row("msn number unreadable", "MSNLINK", "Page 1 of about results", "", "", "", "", "");
    row("altavista we found", "ALTAVISTALINK", "We found 56 results", "", "", "", "", "56");
    row("altavista no document", "ALTAVISTALINK",
        "AltaVista found no document matching your query.<p>Search tips for better results", "", "", "", "", "0");
    row("altavista one page", "ALTAVISTALINK", "Showing 1 page found.", "", "", "", "", "1");
    row("page without marks", "ALTAVISTALINK", "<html>Service Unavailable</html>", "", "", "", "", "");
  }
  void pages() {
    QFETCH(QByteArray, kind);
    QFETCH(QByteArray, page);
    QFETCH(QStringList, expected);
    qv::DomainDatabase db;
    QVERIFY(MakeDocument(db, {"alpha.com"}));
    const bool stored = qv::StoreSitePopPage(db, "alpha.com", kind.toStdString(), page.toStdString(), qv::Date::Now());
    QCOMPARE(Counts(db, "alpha.com"), expected);
    qv::DomainRecord record;
    QVERIFY(db.ReadRecord("alpha.com", record));
    QCOMPARE(record.DateValue(qv::field::kSitePopCheckedAt).IsValid(), stored);
    QCOMPARE(stored, expected.join(QString()).contains(QRegularExpression("=\\d")));
  }

  // Whole checks against three servers: Alexa and MSN answer their pages,
  // Google fails with 500 and changes nothing; AltaVista has no address and
  // is skipped with one status line for all names. "name:msn" asks MSN alone.
  void checksThroughServers() {
    HttpScriptServer alexa(HttpScriptServer::Mode::Answer, Answer(kAlexaPage));
    HttpScriptServer google(HttpScriptServer::Mode::Answer, Answer("<html>busy</html>", "500 Internal Server Error"));
    HttpScriptServer msn(HttpScriptServer::Mode::Answer, Answer(kMsnPage));
    qv::WriteProfileString(qv::kSettingsSection, "Site Pop Alexa URL", alexa.Url("/"));
    qv::WriteProfileString(qv::kSettingsSection, "Site Pop Google URL", " 127.0.0.1:" + std::to_string(google.Port()));
    qv::WriteProfileString(qv::kSettingsSection, "Site Pop MSN URL", msn.Url(""));
    qv::DomainDatabase db;
    QVERIFY(MakeDocument(db, {"alpha.com", "beta.com"}));
    qv::DomainRecord record;
    QVERIFY(db.ReadRecord("beta.com", record));
    record.SetLong(qv::field::kGoogleLinks, 77);
    QVERIFY(db.WriteRecord(record));

    qv::LinkPopularityCheck check([&db] { return &db; });
    QSignalSpy checked(&check, &qv::LinkPopularityCheck::sitePopChecked);
    QSignalSpy notConfigured(&check, &qv::LinkPopularityCheck::servicesNotConfigured);
    QVERIFY(check.Start("alpha.com"));
    QCOMPARE(qv::FetchJobList::Instance().RunningTags(),
             (std::vector<std::string>{"alpha.com:ALEXA", "alpha.com:GOOGLELINK", "alpha.com:MSNLINK"}));
    QVERIFY(check.Start("beta.com"));
    QTRY_COMPARE_WITH_TIMEOUT(checked.count(), 6, 15000);
    QCOMPARE(notConfigured.count(), 1);
    QVERIFY(notConfigured.first().first().toString().contains(QLatin1String("AltaVista skipped, not configured")));
    QCOMPARE(Counts(db, "alpha.com"),
             (QStringList{"Alexa Rank=1234", "Alexa Links=5678", "Google Links=", "MSN Links=2468", "Altavista Links="}));
    QCOMPARE(Counts(db, "beta.com"),
             (QStringList{"Alexa Rank=1234", "Alexa Links=5678", "Google Links=77", "MSN Links=2468", "Altavista Links="}));

    QVERIFY(check.Start("alpha.com:msn"));
    QCOMPARE(qv::FetchJobList::Instance().RunningTags(), std::vector<std::string>{"alpha.com:MSNLINK"});
    QTRY_COMPARE_WITH_TIMEOUT(checked.count(), 7, 15000);
    QCOMPARE(notConfigured.count(), 1);
    QCOMPARE(qv::FetchJobList::Instance().RunningCount(), 0);
  }
};

QV_TEST(LinkPopularityTest)
#include "test_link_popularity.moc"
