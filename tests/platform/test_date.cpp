#include <QTest>

#include "platform/date.h"
#include "support/test_registry.h"

using namespace qv;

class DateValueTest : public QObject {
  Q_OBJECT
 private slots:
  // Days counted from 30 December 1899, both ways; an impossible day (-1)
  // is invalid.
  void dayCounts_data() {
    QTest::addColumn<int>("year");
    QTest::addColumn<int>("month");
    QTest::addColumn<int>("day");
    QTest::addColumn<double>("days");
    QTest::newRow("epoch") << 1899 << 12 << 30 << 0.0;
    QTest::newRow("1900-03-01") << 1900 << 3 << 1 << 61.0;
    QTest::newRow("unix epoch") << 1970 << 1 << 1 << 25569.0;
    QTest::newRow("leap day 2000") << 2000 << 2 << 29 << 36585.0;
    QTest::newRow("29 February 2024") << 2024 << 2 << 29 << 45351.0;
    QTest::newRow("2026-12-05") << 2026 << 12 << 5 << 46361.0;
    QTest::newRow("31 February") << 2007 << 2 << 31 << -1.0;
    QTest::newRow("29 February 1900") << 1900 << 2 << 29 << -1.0;
    QTest::newRow("31 April") << 2024 << 4 << 31 << -1.0;
    QTest::newRow("month 13") << 2024 << 13 << 1 << -1.0;
    QTest::newRow("day 0") << 2024 << 1 << 0 << -1.0;
  }
  void dayCounts() {
    QFETCH(int, year);
    QFETCH(int, month);
    QFETCH(int, day);
    QFETCH(double, days);
    const Date d = Date::FromYmd(year, month, day);
    QCOMPARE(d.status(), days < 0 ? Date::Status::Invalid : Date::Status::Valid);
    if (days < 0) return;
    QCOMPARE(d.days(), days);
    const DateParts p = Date::FromDays(days).Parts();
    QCOMPARE(QList<int>({p.year, p.month, p.day}), QList<int>({year, month, day}));
  }

  void isoTextRoundTrip_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("back");
    QTest::newRow("date-time") << "2028-09-14 04:05:06" << "2028-09-14 04:05:06";
    QTest::newRow("date only") << "2028-09-14" << "2028-09-14 00:00:00";
    QTest::newRow("end of day") << "2026-12-31 23:59:59" << "2026-12-31 23:59:59";
    QTest::newRow("not a date") << "14/09/2028" << "";
    QTest::newRow("bad day") << "2028-02-30" << "";
    QTest::newRow("trailing text") << "2028-09-14 04:05:06x" << "";
  }
  void isoTextRoundTrip() {
    QFETCH(QString, text);
    QFETCH(QString, back);
    const Date d = Date::FromIsoText(text.toStdString());
    QCOMPARE(QString::fromStdString(d.ToIsoText()), back);
    QCOMPARE(d.IsValid(), !back.isEmpty());
    QVERIFY(Date::FromIsoText("").IsNull());
  }

  void dateOnlyDropsTheClock() {
    const Date d = Date::FromParts({2026, 12, 6, 13, 30, 0});
    QCOMPARE(d.DateOnly(), Date::FromYmd(2026, 12, 6));
    QCOMPARE(d.AddDays(1).DateOnly(), Date::FromYmd(2026, 12, 7));
    QVERIFY(Date::Null().AddDays(3).IsNull());
  }
};

QV_TEST(DateValueTest)
#include "test_date.moc"
