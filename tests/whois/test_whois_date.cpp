#include <QTest>

#include "support/test_registry.h"
#include "whois/whois_date.h"

using namespace qv;

Q_DECLARE_METATYPE(qv::Date)

namespace {

// "YYYY-MM-DD" of a parsed date, or "fail".
QString Outcome(const std::string& text, std::string& order) {
  Date date = Date::FromYmd(2001, 2, 3);  // must be cleared by a failure
  const bool ok = ParseWhoisDate(text, order, date);
  if (!ok) return date.IsNull() ? QStringLiteral("fail") : QStringLiteral("fail, date not null");
  const QString iso = QString::fromStdString(date.ToIsoText());  // empty when not valid
  return iso.endsWith(" 00:00:00") ? iso.left(10) : QStringLiteral("ok, but not a valid date at 00:00:00");
}

Date At(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
  return Date::FromParts({y, mo, d, h, mi, s});
}

}  // namespace

class WhoisDateTest : public QObject {
  Q_OBJECT
 private slots:
  void parse_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("orderIn");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QString>("orderOut");

    // Day and month settled by the numbers, and the order learned from them.
    QTest::newRow("iso teaches mmdd") << QByteArray("2007-01-15") << "" << "2007-01-15" << "mmdd";
    QTest::newRow("day first teaches ddmm") << QByteArray("15/01/2007") << "" << "2007-01-15" << "ddmm";
    QTest::newRow("learned order overridden") << QByteArray("15/01/2007") << "mmdd" << "2007-01-15" << "ddmm";
    QTest::newRow("ambiguous, no order") << QByteArray("05/04/2007") << "" << "fail" << "";
    QTest::newRow("ambiguous, mmdd") << QByteArray("05/04/2007") << "mmdd" << "2007-05-04" << "mmdd";
    QTest::newRow("ambiguous, ddmm") << QByteArray("05/04/2007") << "ddmm" << "2007-04-05" << "ddmm";
    QTest::newRow("ambiguous, odd order") << QByteArray("05/04/2007") << "yymm" << "fail" << "yymm";
    QTest::newRow("two-digit year last") << QByteArray("01/15/07") << "" << "2007-01-15" << "mmdd";
    QTest::newRow("year 00") << QByteArray("15-jan-00") << "" << "2000-01-15" << "";
    // Two-digit years: 00-69 are this century, 70-99 the last; with three
    // numbers the year is always the third.
    QTest::newRow("month name 45") << QByteArray("15-jan-45") << "" << "2045-01-15" << "";
    QTest::newRow("window top 69") << QByteArray("15.01.69") << "" << "2069-01-15" << "ddmm";
    QTest::newRow("window bottom 70") << QByteArray("15.01.70") << "" << "1970-01-15" << "ddmm";

    // Month names.
    QTest::newRow("Mon dd yyyy") << QByteArray("Jan 15 2007") << "" << "2007-01-15" << "";
    QTest::newRow("full month name") << QByteArray("15 September 2007") << "" << "2007-09-15" << "";
    QTest::newRow("oc for October") << QByteArray("15 oc 2007") << "" << "2007-10-15" << "";
    QTest::newRow("ctime with clock") << QByteArray("Tue Jan 15 10:20:30 GMT 2007") << "" << "2007-01-15" << "";

    // The compact form: always year, month, day; it teaches no order and a
    // day-first server's order does not swap it.
    QTest::newRow("compact teaches no order") << QByteArray("20070115") << "" << "2007-01-15" << "";
    QTest::newRow("compact in a line, ddmm")
        << QByteArray("registrar AT ns.il 20181205 (Changed)") << "ddmm" << "2018-12-05" << "ddmm";
    QTest::newRow("compact with note") << QByteArray("19961206 #24302") << "" << "1996-12-06" << "";

    // Date-times: the clock never takes the place of a day or a month.
    QTest::newRow("iso ambiguous") << QByteArray("2019-04-03T10:49:22+08:00") << "" << "2019-04-03" << "";
    QTest::newRow("iso ambiguous, ddmm") << QByteArray("2019-04-03T10:49:22+08:00") << "ddmm" << "2019-04-03" << "ddmm";
    QTest::newRow("iso fraction") << QByteArray("2028-09-14T04:00:00.123Z") << "" << "2028-09-14" << "mmdd";
    QTest::newRow("iso -0700") << QByteArray("2019-09-09T08:39:04-0700") << "ddmm" << "2019-09-09" << "ddmm";
    QTest::newRow("iso blank zone") << QByteArray("2019-04-03 10:49:22 CLST") << "" << "2019-04-03" << "";
    QTest::newRow("slashes, year first") << QByteArray("2023/04/01 01:05:57 (JST)") << "" << "2023-04-01" << "";
    QTest::newRow("dots, year first") << QByteArray("2002.09.19 13:00:00") << "" << "2002-09-19" << "mmdd";
    QTest::newRow("iso with note") << QByteArray("2020-05-23 (YYYY-MM-DD)") << "" << "2020-05-23" << "mmdd";
    QTest::newRow("year-first month 15") << QByteArray("2007-15-01") << "" << "2007-01-15" << "ddmm";

    // Years after 2049.
    QTest::newRow("2055 iso mmdd") << QByteArray("2055-09-14") << "" << "2055-09-14" << "mmdd";
    QTest::newRow("2055 last, mmdd") << QByteArray("09/14/2055") << "" << "2055-09-14" << "mmdd";
    QTest::newRow("2999") << QByteArray("2999-12-31") << "" << "2999-12-31" << "mmdd";
    QTest::newRow("3000 fails") << QByteArray("3000-01-01") << "mmdd" << "fail" << "mmdd";

    // Trimming.
    QTest::newRow("colons and blanks") << QByteArray(" :\t2007-01-15: ") << "" << "2007-01-15" << "mmdd";
    QTest::newRow("separators around") << QByteArray("..-15-jan-2007,.") << "" << "2007-01-15" << "";

    // Impossible and too-early dates.
    QTest::newRow("31 feb") << QByteArray("31-feb-2007") << "" << "fail" << "";
    QTest::newRow("iso 31 feb") << QByteArray("2007-02-31") << "" << "fail" << "mmdd";
    QTest::newRow("29 feb leap") << QByteArray("29-feb-2008") << "" << "2008-02-29" << "";
    QTest::newRow("1969 iso") << QByteArray("1969-01-15") << "" << "fail" << "mmdd";
    QTest::newRow("1969 compact") << QByteArray("19690115") << "" << "fail" << "";
    QTest::newRow("1890 is no year") << QByteArray("15 jan 1890") << "" << "fail" << "";

    // Not dates at all.
    QTest::newRow("empty") << QByteArray("") << "" << "fail" << "";
    QTest::newRow("separators only") << QByteArray(" -/- T,. ") << "mmdd" << "fail" << "mmdd";
    QTest::newRow("words") << QByteArray("not disclosed") << "" << "fail" << "";
    QTest::newRow("long number") << QByteArray("123456789012") << "" << "fail" << "";
    QTest::newRow("nul and 8-bit") << QByteArray("\0\xff\xfe-15-\x80", 9) << "" << "fail" << "";
    QTest::newRow("nul inside") << QByteArray("2007-01-15\0garbage", 18) << "" << "2007-01-15" << "";
  }
  void parse() {
    QFETCH(QByteArray, text);
    QFETCH(QString, orderIn);
    QFETCH(QString, expected);
    QFETCH(QString, orderOut);
    std::string order = orderIn.toStdString();
    QCOMPARE(Outcome(text.toStdString(), order), expected);
    QCOMPARE(QString::fromStdString(order), orderOut);
  }

  void learnedOrderCarriesOver() {
    // One answer's dates share one order: the unambiguous one settles the rest.
    std::string order;
    Date date;
    QVERIFY(!ParseWhoisDate("05/04/2007", order, date));
    QVERIFY(ParseWhoisDate("25/12/2008", order, date));
    QVERIFY(ParseWhoisDate("05/04/2007", order, date));
    QCOMPARE(date, Date::FromYmd(2007, 4, 5));
  }

  void hugeInputIsRefused() {
    std::string order;
    Date date;
    const std::string digits(1 << 20, '7');
    QVERIFY(!ParseWhoisDate(digits, order, date));
    const std::string separators(1 << 20, '-');
    QVERIFY(!ParseWhoisDate(separators, order, date));
    std::string many;
    for (int i = 0; i < 100000; ++i) many += "12-";
    QVERIFY(!ParseWhoisDate(many, order, date));
    QVERIFY(date.IsNull());
  }

  // Only dates from 1971 on are shown; the others show as "-".
  void dateText_data() {
    QTest::addColumn<Date>("date");
    QTest::addColumn<bool>("shown");
    QTest::newRow("null") << Date::Null() << false;
    QTest::newRow("invalid") << Date::Invalid() << false;
    QTest::newRow("1899") << Date::FromDays(0) << false;
    QTest::newRow("last day of 1970") << At(1970, 12, 31, 23, 0) << false;
    QTest::newRow("first day of 1971") << At(1971, 1, 1) << true;
    QTest::newRow("2055") << At(2055, 9, 14, 10, 20) << true;
  }
  void dateText() {
    QFETCH(Date, date);
    QFETCH(bool, shown);
    const std::string text = DateText(date);
    const std::string withTime = DateTimeText(date);
    QCOMPARE(text != "-", shown);
    // The date, one blank, then the clock.
    QVERIFY(shown ? withTime.rfind(text + " ", 0) == 0 : withTime == "-");
  }

  void elapsed_data() {
    QTest::addColumn<Date>("date");
    QTest::addColumn<QString>("expected");
    const Date now = At(2024, 3, 10, 12, 0, 0);
    QTest::newRow("days") << now.AddDays(-3.2) << "3 d";
    QTest::newRow("exactly one day") << At(2024, 3, 9, 12, 0, 0) << "1 d";
    QTest::newRow("just under a day") << At(2024, 3, 9, 12, 0, 1) << "23 h";
    QTest::newRow("minutes") << At(2024, 3, 10, 11, 1, 0) << "59 min";
    QTest::newRow("seconds") << At(2024, 3, 10, 11, 59, 30) << "0 min";
    QTest::newRow("null") << Date::Null() << "-";
  }
  void elapsed() {
    QFETCH(Date, date);
    QFETCH(QString, expected);
    QCOMPARE(QString::fromStdString(ElapsedText(date, false, At(2024, 3, 10, 12, 0, 0))), expected);
  }

  void elapsedWithClock() {
    const Date date = At(2007, 1, 15, 9, 5, 59);
    QCOMPARE(ElapsedText(date, true), DateText(date) + " 09:05");
    QCOMPARE(ElapsedText(Date::Null(), true), std::string("-"));
  }
};

QV_TEST(WhoisDateTest)
#include "test_whois_date.moc"
