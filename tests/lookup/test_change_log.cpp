#include <QDate>
#include <QLocale>
#include <QTest>

#include "engine_fixture.h"
#include "lookup/change_log.h"
#include "platform/data_folder.h"
#include "store/domain_record.h"
#include "support/temp_folders.h"
#include "support/test_registry.h"

using namespace qv;

namespace {

Date Day(const QString& iso) { return Date::FromIsoText(iso.toStdString()); }

// The short display form of a date, as the log writes it.
QString Shown(const QString& iso) {
  return QLocale::system().toString(QDate::fromString(iso, Qt::ISODate), QLocale::ShortFormat);
}

// A record as a lookup leaves it, with every watched field set.
DomainRecord Watched() {
  DomainRecord r("example.test");
  r.SetDate(field::kCreatedOn, Day("1999-03-04"));
  r.SetDate(field::kExpiryDate, Day("2030-05-06"));
  r.SetDate(field::kRegistrarExpiry, Day("2030-05-07"));
  r.SetDate(field::kLastUpdate, Day("2020-01-02"));
  r.SetText(field::kAdminEmail, "admin@example.test");
  r.SetText(field::kNs1, "ns1.example.test");
  r.SetText(field::kNs2, "ns2.example.test");
  r.SetText(field::kStatus, "ACTIVE");
  return r;
}

}  // namespace

class ChangeLogTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { qvtest::FreshFolders(); }

  // Every watched field that differs gives its own line, old value first
  // (a date no longer known shows as "-"), in the fixed order whatever order
  // the changes were made in; the entry frames them with the name and the
  // lookup time.
  void entryText() {
    const DomainRecord before = Watched();
    DomainRecord after = Watched();
    after.SetText(field::kStatus, "ACTIVE %s %d");
    after.SetText(field::kNs2, "");
    after.SetText(field::kNs1, "ns9.example.test");
    after.SetText(field::kAdminEmail, "new@example.test");
    after.SetDate(field::kLastUpdate, Day("2021-01-02"));
    after.SetDate(field::kRegistrarExpiry, Day("2031-05-07"));
    after.SetDate(field::kExpiryDate, Date::Null());
    after.SetDate(field::kCreatedOn, Day("1999-03-05"));
    QVERIFY(!SameWatchedFields(before, after));
    const std::string diff = ChangeDifferenceText(before, after);
    const QString expected = QStringLiteral(
                                 "Creation Date Different (Old:%1, New:%2)\r\n"
                                 "Registry Expiry Date Different (Old:%3, New:-)\r\n"
                                 "Registrar Expiry Date Different (Old:%4 New:%5)\r\n"
                                 "Last Updated Date Different (Old:%6 New:%7)\r\n"
                                 "Admin Contact Different (Old:admin@example.test New:new@example.test)\r\n"
                                 "NS1 Different (Old:ns1.example.test New:ns9.example.test)\r\n"
                                 "NS2 Different (Old:ns2.example.test New:)\r\n"
                                 "Status Different (Old:ACTIVE New:ACTIVE %s %d)\r\n")
                                 .arg(Shown("1999-03-04"), Shown("1999-03-05"), Shown("2030-05-06"),
                                      Shown("2030-05-07"), Shown("2031-05-07"), Shown("2020-01-02"),
                                      Shown("2021-01-02"));
    QCOMPARE(QString::fromStdString(diff), expected);

    const Date at = Date::FromParts({2024, 3, 1, 14, 30, 0});
    const std::string when =
        QLocale::system().toString(QDateTime(QDate(2024, 3, 1), QTime(14, 30)), QLocale::ShortFormat).toStdString();
    QCOMPARE(ChangeLogEntry("example.test", at, diff), "Domain: example.test, Lookup: " + when + "\r\n" + diff + "\r\n");
  }

  // Fields outside the watched set never make an entry.
  void unwatchedFieldsAreIgnored() {
    DomainRecord after = Watched();
    for (const char* name : {field::kRegistrar, field::kNs3, field::kTechEmail, field::kOwner, field::kAvailability})
      after.SetText(name, "changed");
    after.SetDate(field::kLastCheckedAt, Day("2024-01-01"));
    QVERIFY(SameWatchedFields(Watched(), after));
    QCOMPARE(ChangeDifferenceText(Watched(), after), std::string());
  }

  // The file grows with each entry; a file that cannot be opened is skipped
  // without a fuss.
  void fileIsAppended() {
    const std::filesystem::path path = ChangeLogPath();
    QCOMPARE(path, DataFolder() / "domainchangelog.txt");
    QVERIFY(AppendToChangeLog(path, "first\r\n"));
    QVERIFY(AppendToChangeLog(path, "second\r\n"));
    QCOMPARE(enginetest::FileText(path), std::string("first\r\nsecond\r\n"));
    QVERIFY(!AppendToChangeLog(qvtest::TempPath("no/such/folder/log.txt"), "lost"));
  }

  void alertsOverdue_data() {
    QTest::addColumn<int>("secondsLater");
    QTest::addColumn<bool>("overdue");
    QTest::newRow("9:59") << 9 * 60 + 59 << false;
    QTest::newRow("10:00") << 10 * 60 << true;
  }
  void alertsOverdue() {
    QFETCH(int, secondsLater);
    QFETCH(bool, overdue);
    AlertList alerts;
    QVERIFY(!AlertsOverdue(alerts, Date::Now()));
    const Date first = Date::FromParts({2024, 3, 1, 12, 0, 0});
    alerts.Add("oldest", first);
    alerts.Add("newer", first.AddDays(5.0 / 1440));
    QCOMPARE(AlertsOverdue(alerts, first.AddDays(secondsLater / 86400.0)), overdue);
    const std::vector<AlertItem> taken = alerts.TakeAll();
    QCOMPARE(taken.size(), std::size_t(2));
    QCOMPARE(taken[0].text, std::string("oldest"));
    QVERIFY(alerts.empty());
  }
};

QV_TEST(ChangeLogTest)
#include "test_change_log.moc"
