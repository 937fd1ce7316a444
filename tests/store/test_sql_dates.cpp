#include <QTest>
#include <algorithm>

#include "store/sql_dates.h"
#include "support/test_registry.h"

using namespace qv;

namespace {
// 5 December 2026, mid-afternoon.
Date FifthOfDecember() { return Date::FromParts({2026, 12, 5, 15, 30, 0}); }
}  // namespace

class SqlDatesTest : public QObject {
  Q_OBJECT
 private slots:
  void placeholders_data() {
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("expected");
    QTest::newRow("today") << "#[TODAY]#" << "#12/05/2026#";
    QTest::newRow("minus 30") << "#[TODAY-30]#" << "#11/05/2026#";
    QTest::newRow("plus 30 crosses the year") << "#[TODAY+30]#" << "#01/04/2027#";
    QTest::newRow("same token twice") << "a < #[TODAY-7]# OR b < #[TODAY-7]#" << "a < #11/28/2026# OR b < #11/28/2026#";
    QTest::newRow("back and ahead") << "[TODAY-7] [TODAY+7]" << "11/28/2026 12/12/2026";
    QTest::newRow("no number is zero days") << "[TODAY+]" << "12/05/2026";
    QTest::newRow("digits then junk") << "[TODAY+3x]" << "12/08/2026";
    QTest::newRow("line breaks and tabs") << "SELECT *\r\nFROM [Domains]\nWHERE\t[IP] IS NULL\r"
        << "SELECT * FROM [Domains] WHERE [IP] IS NULL ";
    QTest::newRow("unfinished placeholder keeps the rest") << "[TODAY+1] AND [TODAY+4" << "12/06/2026 AND [TODAY+4";
    QTest::newRow("unknown sign ends replacing") << "[TODAY*2] [TODAY+1]" << "[TODAY*2] [TODAY+1]";
    QTest::newRow("empty") << "" << "";
    QTest::newRow("huge offset stays a date") << "[TODAY-99999999999999999999]" << "[TODAY-99999999999999999999]";
  }
  void placeholders() {
    QFETCH(QString, sql);
    QFETCH(QString, expected);
    const std::string out = SubstituteDates(sql.toStdString(), FifthOfDecember());
    if (QByteArray(QTest::currentDataTag()) == "huge offset stays a date") {
      // The offset is capped instead of overflowing; a date comes out.
      QVERIFY(out.find("[TODAY") == std::string::npos);
      QCOMPARE(std::count(out.begin(), out.end(), '/'), 2);
      return;
    }
    QCOMPARE(QString::fromStdString(out), expected);
  }

  void manyUnfinishedPlaceholdersEndQuickly() {
    std::string sql;
    for (int i = 0; i < 20000; ++i) sql += "[TODAY+1";
    QCOMPARE(SubstituteDates(sql, FifthOfDecember()), sql);
  }
};

QV_TEST(SqlDatesTest)
#include "test_sql_dates.moc"
