// What the trademark search reads from the site's pages and how it names
// what it asks for.
#include <QTest>

#include "support/test_registry.h"
#include "webcheck/trademark_page.h"

class TrademarkPageTest : public QObject {
  Q_OBJECT

 private slots:
  void recordCount_data() {
    QTest::addColumn<QByteArray>("page");
    QTest::addColumn<int>("count");  // -1: none read
    const QByteArray firstRow = "<TABLE><TR><TD>1</TD><TD>78123456</TD></TR></TABLE>";
    QTest::newRow("no results") << QByteArray("<P>Sorry, No results were found for your query.") << 0;
    QTest::newRow("one record") << QByteArray("<B>Record 1 out of 1</B>") << 1;
    QTest::newRow("bold count") << "<TD><B>1,234 <B>Records(s) found</B>" + firstRow << 1234;
    QTest::newRow("closed bold count") << "<TD><B>1,234</B> <B>Records(s) found</B>" + firstRow << 1234;
    QTest::newRow("count without first row") << QByteArray("<B>12 <B>Records(s) found</B>") << -1;
    QTest::newRow("no number") << "<TD><B>Records(s) found</B>" + firstRow << -1;
    QTest::newRow("none of the marks") << QByteArray("<HTML>Welcome</HTML>") << -1;
  }
  void recordCount() {
    QFETCH(QByteArray, page);
    QFETCH(int, count);
    QCOMPARE(qv::TrademarkRecordCount(page.toStdString()).value_or(-1), count);
  }

  void addresses_data() {
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("output");
    QTest::addColumn<QString>("kind");
    QTest::newRow("term") << "alpha.co.uk" << "alpha" << "term";
    QTest::newRow("term with ?") << "al?pha.com" << "al%3Fpha" << "term";
    QTest::newRow("leading dot") << ".alpha" << ".alpha" << "term";
    QTest::newRow("host") << "tess.example" << "http://tess.example" << "base";
    QTest::newRow("host and port") << " 127.0.0.1:8080 " << "http://127.0.0.1:8080" << "base";
    QTest::newRow("https, final slash") << "https://tess.example/" << "https://tess.example" << "base";
    QTest::newRow("path") << "tess.example/bin" << "" << "base";
    QTest::newRow("ftp") << "ftp://tess.example" << "" << "base";
    QTest::newRow("empty") << "" << "" << "base";
    QTest::newRow("browser") << "my brand.com"
                             << "https://tmsearch.uspto.gov/search/search-results?query=my%20brand" << "public";
    QTest::newRow("browser, nothing selected") << "" << "https://tmsearch.uspto.gov/search/search-information"
                                               << "public";
  }
  void addresses() {
    QFETCH(QString, input);
    QFETCH(QString, output);
    QFETCH(QString, kind);
    const std::string in = input.toStdString();
    const std::string out = kind == "term" ? qv::TrademarkSearchTerm(in)
                            : kind == "base" ? qv::TessBaseUrl(in)
                                             : qv::PublicTrademarkSearchUrl(in);
    QCOMPARE(QString::fromStdString(out), output);
  }

  void stateToken_data() {
    QTest::addColumn<QByteArray>("page");
    QTest::addColumn<QByteArray>("token");
    QTest::newRow("link") << QByteArray("<A HREF=\"/bin/gate.exe?f=searchss&state=4801:x1.1.1\">New User</A>")
                          << QByteArray("4801:x1.1.1");
    QTest::newRow("empty token") << QByteArray("<A HREF=\"/bin/gate.exe?f=searchss&state=\">") << QByteArray();
    QTest::newRow("no mark") << QByteArray("<HTML>Server busy</HTML>") << QByteArray();
  }
  void stateToken() {
    QFETCH(QByteArray, page);
    QFETCH(QByteArray, token);
    QCOMPARE(QByteArray::fromStdString(qv::TessStateToken(page.toStdString()).value_or("")), token);
  }
};

QV_TEST(TrademarkPageTest)
#include "test_trademark_page.moc"
