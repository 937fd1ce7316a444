#include <QTest>

#include "platform/date.h"
#include "support/test_registry.h"

using namespace qv;

class DateValueTest : public QObject {
  Q_OBJECT
 private slots:
  void knownDayCounts_data() {
    QTest::addColumn<int>("year");
    QTest::addColumn<int>("month");
    QTest::addColumn<int>("day");
    QTest::addColumn<double>("days");
    QTest::newRow("epoch") << 1899 << 12 << 30 << 0.0;
    QTest::newRow("1900-03-01") << 1900 << 3 << 1 << 61.0;
    QTest::newRow("unix epoch") << 1970 << 1 << 1 << 25569.0;
    QTest::newRow("leap day 2000") << 2000 << 2 << 29 << 36585.0;
    QTest::newRow("2026-12-05") << 2026 << 12 << 5 << 46361.0;
  }
  void knownDayCounts() {
    QFETCH(int, year);
    QFETCH(int, month);
    QFETCH(int, day);
    QFETCH(double, days);
    const Date d = Date::FromYmd(year, month, day);
    QVERIFY(d.IsValid());
    QCOMPARE(d.days(), days);
    const DateParts p = Date::FromDays(days).Parts();
    QCOMPARE(p.year, year);
    QCOMPARE(p.month, month);
    QCOMPARE(p.day, day);
  }

  void calendarRules_data() {
    QTest::addColumn<int>("year");
    QTest::addColumn<int>("month");
    QTest::addColumn<int>("day");
    QTest::addColumn<bool>("valid");
    QTest::newRow("31 February") << 2007 << 2 << 31 << false;
    QTest::newRow("29 February 1900") << 1900 << 2 << 29 << false;
    QTest::newRow("29 February 2024") << 2024 << 2 << 29 << true;
    QTest::newRow("31 April") << 2024 << 4 << 31 << false;
    QTest::newRow("month 13") << 2024 << 13 << 1 << false;
    QTest::newRow("day 0") << 2024 << 1 << 0 << false;
  }
  void calendarRules() {
    QFETCH(int, year);
    QFETCH(int, month);
    QFETCH(int, day);
    QFETCH(bool, valid);
    const Date d = Date::FromYmd(year, month, day);
    QCOMPARE(d.IsValid(), valid);
    if (!valid) QCOMPARE(d.status(), Date::Status::Invalid);
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
