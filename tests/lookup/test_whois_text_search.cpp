#include <QTest>

#include "lookup/whois_text_search.h"
#include "support/test_registry.h"

using namespace qv;

class WhoisTextSearchTest : public QObject {
  Q_OBJECT
 private slots:
  // The stored form round-trips; "{lf}" stands for a line feed; a text is
  // found in any capitals.
  void storedFormAndMatching_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("matches");
    QTest::newRow("one of two") << "GoDaddy|Namecheap" << QStringList{"GoDaddy", "Namecheap"}
                                << "Registrar: NAMECHEAP, INC." << true;
    QTest::newRow("line feed") << "Status:{lf}ok" << QStringList{"Status:\nok"} << "Status:\nok\n" << true;
    QTest::newRow("line feed needed") << "Status:{lf}ok" << QStringList{"Status:\nok"} << "Status: ok" << false;
    QTest::newRow("empty texts dropped") << "|a||b|" << QStringList{"a", "b"} << "xyz" << false;
    QTest::newRow("nothing stored") << "" << QStringList{} << "anything" << false;
  }
  void storedFormAndMatching() {
    QFETCH(QString, stored);
    QFETCH(QStringList, texts);
    QFETCH(QString, answer);
    QFETCH(bool, matches);
    const std::vector<std::string> parsed = ParseWhoisSearchString(stored.toStdString());
    QStringList got;
    for (const std::string& t : parsed) got << QString::fromStdString(t);
    QCOMPARE(got, texts);
    QCOMPARE(ParseWhoisSearchString(JoinWhoisSearchTexts(parsed)), parsed);
    QCOMPARE(WhoisTextMatches(answer.toStdString(), parsed), matches);
  }
};

QV_TEST(WhoisTextSearchTest)
#include "test_whois_text_search.moc"
