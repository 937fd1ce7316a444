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
  if (iso.isEmpty()) return "-";
  return QLocale::system().toString(QDate::fromString(iso, Qt::ISODate), QLocale::ShortFormat);
}

bool IsDateField(const QString& field) {
  return QStringList{"Created On", "Expiry Date", "Registrar Expiry", "Last Update"}.contains(field);
}

void SetField(DomainRecord& r, const QString& field, const QString& value) {
  if (IsDateField(field))
    r.SetDate(field.toStdString(), value.isEmpty() ? Date::Null() : Day(value));
  else
    r.SetText(field.toStdString(), value.toStdString());
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

  // Each watched field that differs gives its own line, old value first.
  void differenceLine_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("newValue");
    QTest::addColumn<QString>("line");  // %1 old, %2 new, shown
    QTest::newRow("created") << "Created On" << "1999-03-05"
                             << "Creation Date Different (Old:%1, New:%2)\r\n";
    QTest::newRow("registry expiry") << "Expiry Date" << "2031-05-06"
                                     << "Registry Expiry Date Different (Old:%1, New:%2)\r\n";
    QTest::newRow("registrar expiry") << "Registrar Expiry" << "2031-05-07"
                                      << "Registrar Expiry Date Different (Old:%1 New:%2)\r\n";
    QTest::newRow("last update") << "Last Update" << "2021-01-02"
                                 << "Last Updated Date Different (Old:%1 New:%2)\r\n";
    QTest::newRow("date now unset") << "Expiry Date" << ""
                                    << "Registry Expiry Date Different (Old:%1, New:%2)\r\n";
    QTest::newRow("admin") << "Admin Email" << "new@example.test"
                           << "Admin Contact Different (Old:%1 New:%2)\r\n";
    QTest::newRow("ns1") << "NS1" << "ns9.example.test" << "NS1 Different (Old:%1 New:%2)\r\n";
    QTest::newRow("ns2") << "NS2" << "" << "NS2 Different (Old:%1 New:%2)\r\n";
    QTest::newRow("status") << "Status" << "ACTIVE %s %d" << "Status Different (Old:%1 New:%2)\r\n";
  }
  void differenceLine() {
    QFETCH(QString, field);
    QFETCH(QString, newValue);
    QFETCH(QString, line);
    const DomainRecord before = Watched();
    DomainRecord after = Watched();
    SetField(after, field, newValue);
    QVERIFY(!SameWatchedFields(before, after));

    const bool isDate = IsDateField(field);
    const QString oldShown = isDate ? Shown(QString::fromStdString(before.DateValue(field.toStdString()).ToIsoText()).left(10))
                                    : QString::fromStdString(before.Text(field.toStdString()));
    const QString newShown = isDate ? Shown(newValue) : newValue;
    QCOMPARE(QString::fromStdString(ChangeDifferenceText(before, after)), line.arg(oldShown, newShown));
  }

  // Several differences come in the fixed order, whatever order they were
  // made in; the entry frames them with the name and the lookup time.
  void entryText() {
    const DomainRecord before = Watched();
    DomainRecord after = Watched();
    after.SetText(field::kStatus, "HOLD");
    after.SetText(field::kNs1, "ns1.new.test");
    after.SetDate(field::kCreatedOn, Day("2001-02-03"));
    const std::string diff = ChangeDifferenceText(before, after);
    const std::string expectedDiff =
        "Creation Date Different (Old:" + Shown("1999-03-04").toStdString() + ", New:" +
        Shown("2001-02-03").toStdString() + ")\r\n" +
        "NS1 Different (Old:ns1.example.test New:ns1.new.test)\r\n"
        "Status Different (Old:ACTIVE New:HOLD)\r\n";
    QCOMPARE(diff, expectedDiff);

    const Date at = Date::FromParts({2024, 3, 1, 14, 30, 0});
    const std::string when =
        QLocale::system().toString(QDateTime(QDate(2024, 3, 1), QTime(14, 30)), QLocale::ShortFormat).toStdString();
    QCOMPARE(ChangeLogEntry("example.test", at, diff), "Domain: example.test, Lookup: " + when + "\r\n" + expectedDiff + "\r\n");
  }

  // Fields outside the watched set never make an entry.
  void unwatchedFieldsAreIgnored_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("value");
    QTest::newRow("registrar") << "Registrar" << "Another";
    QTest::newRow("ns3") << "NS3" << "ns3.example.test";
    QTest::newRow("tech") << "Tech Email" << "tech@example.test";
    QTest::newRow("owner") << "Owner" << "Someone";
    QTest::newRow("availability") << "Availability" << "FREE";
    QTest::newRow("last checked") << "Last Checked At" << "2024-01-01";
  }
  void unwatchedFieldsAreIgnored() {
    QFETCH(QString, field);
    QFETCH(QString, value);
    DomainRecord after = Watched();
    if (field == "Last Checked At")
      after.SetDate(field::kLastCheckedAt, Day(value));
    else
      after.SetText(field.toStdString(), value.toStdString());
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
