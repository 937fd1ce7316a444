// What the trademark search reads from the site's pages and the addresses it
// makes (the whole search runs against a loopback site in tests/app).
#include <QTest>

#include "support/test_registry.h"
#include "webcheck/trademark_page.h"

class TrademarkPageTest : public QObject {
  Q_OBJECT

 private slots:
  void pageAndAddresses_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("output");
    const QString firstRow = "<TR><TD>1</TD><TD>GAMMA</TD></TR>";
    QTest::newRow("closed bold count") << "count" << "<B>1,234</B> <B>Records(s) found</B>" + firstRow << "1234";
    QTest::newRow("count without first row") << "count" << "<B>12 <B>Records(s) found</B>" << "";
    QTest::newRow("no number") << "count" << "<TD><B>Records(s) found</B>" + firstRow << "";
    QTest::newRow("term with ?") << "term" << "al?pha.com" << "al%3Fpha";
    QTest::newRow("leading dot") << "term" << ".alpha" << ".alpha";
    QTest::newRow("host and port") << "base" << " 127.0.0.1:8080 " << "http://127.0.0.1:8080";
    QTest::newRow("https, final slash") << "base" << "https://tess.example/" << "https://tess.example";
    QTest::newRow("path") << "base" << "tess.example/bin" << "";
    QTest::newRow("ftp") << "base" << "ftp://tess.example" << "";
    QTest::newRow("empty token") << "token" << "<A HREF=\"/bin/gate.exe?f=searchss&state=\">" << "";
    QTest::newRow("browser") << "public" << "my brand.com"
                             << "https://tmsearch.uspto.gov/search/search-results?query=my%20brand";
  }
  void pageAndAddresses() {
    QFETCH(QString, kind);
    QFETCH(QString, input);
    QFETCH(QString, output);
    const std::string in = input.toStdString();
    std::string out;
    if (kind == "count") out = qv::TrademarkRecordCount(in) ? std::to_string(*qv::TrademarkRecordCount(in)) : "";
    if (kind == "term") out = qv::TrademarkSearchTerm(in);
    if (kind == "base") out = qv::TessBaseUrl(in);
    if (kind == "token") out = qv::TessStateToken(in).value_or("");
    if (kind == "public") out = qv::PublicTrademarkSearchUrl(in);
    QCOMPARE(QString::fromStdString(out), output);
  }
};

QV_TEST(TrademarkPageTest)
#include "test_trademark_page.moc"
