#include <QTest>

#include "namegen/keyword_history.h"
#include "namegen/keyword_names.h"
#include "support/string_lists.h"
#include "support/test_registry.h"

using namespace qv;
using qvtest::QtList;
using qvtest::StdList;

class KeywordNamesTest : public QObject {
  Q_OBJECT
 private slots:
  void generation_data() {
    QTest::addColumn<QString>("keyword");
    QTest::addColumn<QStringList>("start");
    QTest::addColumn<QStringList>("end");
    QTest::addColumn<int>("flags");  // 1 hyphens, 2 single, 4 no prefix, 8 no suffix
    QTest::addColumn<QStringList>("tlds");
    QTest::addColumn<QStringList>("names");
    const QStringList my{"my"}, zone{"zone"}, comNet{"com", "net"}, com{"com"};
    QTest::newRow("plain") << "shop" << my << zone << 0 << comNet
                           << QStringList{"myshop.com", "myshop.net", "shopzone.com", "shopzone.net",
                                          "myshopzone.com", "myshopzone.net"};
    QTest::newRow("hyphens") << "shop" << my << zone << 1 << com
                             << QStringList{"myshop.com", "my-shop.com", "shopzone.com", "shop-zone.com",
                                            "myshopzone.com", "my-shopzone.com", "my-shop-zone.com", "myshop-zone.com"};
    QTest::newRow("single padding") << "shop" << my << zone << 2 << com << QStringList{"myshop.com", "shopzone.com"};
    QTest::newRow("no prefix, no suffix") << "shop" << my << zone << 12 << com << QStringList{"myshopzone.com"};
    QTest::newRow("no tld") << "shop" << my << zone << 0 << QStringList{} << QStringList{};
    // Candidates are trimmed of "- \r\n\t:,;/\\" at both ends; case stays.
    QTest::newRow("trimmed candidates") << "-Shop" << QStringList{"/"} << QStringList{"; "} << 0 << com
                                        << QStringList{"Shop.com", "Shop.com", "Shop.com"};
    QTest::newRow("empty keyword") << "" << QStringList{"-"} << QStringList{"a"} << 0 << com
                                   << QStringList{"a.com", "a.com"};
  }
  void generation() {
    QFETCH(QString, keyword);
    QFETCH(QStringList, start);
    QFETCH(QStringList, end);
    QFETCH(int, flags);
    QFETCH(QStringList, tlds);
    QFETCH(QStringList, names);
    const KeywordOptions options{bool(flags & 1), bool(flags & 2), bool(flags & 4), bool(flags & 8)};
    const auto made = GenerateKeywordNames(keyword.toStdString(), StdList(start), StdList(end), options, StdList(tlds));
    QCOMPARE(QtList(made.names), names);
    QCOMPARE(made.tooLong, std::size_t(0));
  }

  // A name the adding step would cut to 67 characters is left out and
  // counted, never shortened into another name.
  void tooLongNamesSkipped() {
    const std::string keyword(60, 'k');
    const KeywordNames made = GenerateKeywordNames(keyword, {"ab", "abcd"}, {}, {}, {"com", "info"});
    QCOMPARE(QtList(made.names), QStringList({QString::fromStdString("ab" + keyword + ".com"),
                                              QString::fromStdString("ab" + keyword + ".info")}));
    QCOMPARE(made.tooLong, std::size_t(2));
  }

  // Newest first, no duplicates, and at most 101 entries.
  void keywordHistory() {
    std::vector<std::string> history;
    for (int i = 0; i < 105; ++i) PushKeyword(history, "w" + std::to_string(i));
    QCOMPARE(history.size(), std::size_t(101));
    QCOMPARE(history.front(), std::string("w104"));
    QCOMPARE(PushKeyword(history, "  w50 "), 0);
    QCOMPARE(history.size(), std::size_t(101));
    QCOMPARE(history.front(), std::string("w50"));
    QCOMPARE(PushKeyword(history, " \t"), -1);
  }
};

QV_TEST(KeywordNamesTest)
#include "test_keyword_names.moc"
