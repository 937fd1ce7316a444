#include <QTest>

#include "store/find_domain.h"
#include "support/test_registry.h"

using namespace qv;

class FindDomainTest : public QObject {
  Q_OBJECT
 private slots:
  void findRow_data() {
    QTest::addColumn<QString>("search");
    QTest::addColumn<int>("selected");
    QTest::addColumn<int>("expected");
    // rows: 0 shop.com, 1 <#!2>Example.NET, 2 myshop.org, 3 shopper.com, 4 <#!1>exa.net
    QTest::newRow("whole name in capitals") << "EXAMPLE.NET" << -1 << 1;
    QTest::newRow("whole name beats an earlier part") << " exa.net " << 0 << 4;
    QTest::newRow("part after the selection") << "shop" << 0 << 2;
    QTest::newRow("part wraps to the top") << "shop" << 3 << 0;
    QTest::newRow("part without selection") << "shop" << -1 << 0;
    QTest::newRow("selected row found last") << "Example" << 1 << 1;
    QTest::newRow("part in other case not found") << "SHOP" << 0 << -1;
    QTest::newRow("markup is not searched") << "#!2" << -1 << -1;
    QTest::newRow("empty text") << "  \t" << -1 << -1;
    QTest::newRow("selection out of range") << "shop" << 99 << 0;
  }
  void findRow() {
    QFETCH(QString, search);
    QFETCH(int, selected);
    QFETCH(int, expected);
    const std::vector<std::string> rows = {"shop.com", "<#!2>Example.NET", "myshop.org", "shopper.com", "<#!1>exa.net"};
    const ShownText shown = [&](int row) { return rows[std::size_t(row)]; };
    QCOMPARE(FindDomainRow(int(rows.size()), shown, search.toStdString(), selected), expected);
  }
};

QV_TEST(FindDomainTest)
#include "test_find_domain.moc"
