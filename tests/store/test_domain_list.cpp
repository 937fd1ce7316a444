#include <QTest>

#include "platform/settings_store.h"
#include "store/add_names.h"
#include "store/database_connection.h"
#include "store/database_maintenance.h"
#include "store/domain_list.h"
#include "store/list_modes.h"
#include "store/list_query.h"
#include "store/sort_list.h"
#include "support/temp_folders.h"
#include "support/string_lists.h"
#include "support/test_registry.h"

using namespace qv;
using qvtest::SplitAtBars;

namespace {

std::vector<std::string> ShownNames() {
  std::vector<std::string> names;
  for (int i = 0; i < GetListCount(); ++i) names.emplace_back(ShownList().NameAt(i));
  return names;
}

const std::vector<std::string> kNames = {"apple.com", "Alpha.net", "1stop.com", "b2b.com",
                                         "zeta.io",   "x1.com",    "9lives.org", "0.de"};

}  // namespace

class DomainListTest : public QObject {
  Q_OBJECT

  DomainDatabase db_;

  void WriteField(const std::string& name, const char* field, FieldValue value) {
    DomainRecord record;
    QVERIFY(db_.ReadRecord(name, record));
    record.Set(field, std::move(value));
    QVERIFY2(db_.WriteRecord(record), db_.update().GetLastError().c_str());
  }

 private slots:
  void init() {
    qvtest::FreshFolders();
    SetCurrentListQuery("");
    const MaintenanceResult made = NewDocument(db_, qvtest::TempPath("list.qvl").string());
    QVERIFY2(made.ok, made.message.c_str());
    QCOMPARE(AddDomainNames(db_, kNames).added, kNames.size());
  }
  void cleanup() {
    db_.SetPath({});
    SetListChangedCallback({});
  }

  void listModes_data() {
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QString>("expected");
    const QString all = "0.de|1stop.com|9lives.org|Alpha.net|apple.com|b2b.com|x1.com|zeta.io";
    QTest::newRow("digits") << "0-9" << "0.de|1stop.com|9lives.org";
    QTest::newRow("letter a, any case") << "a" << "Alpha.net|apple.com";
    QTest::newRow("capital letter") << "A" << "Alpha.net|apple.com";
    QTest::newRow("word uses its first letter") << "zebra" << "zeta.io";
    QTest::newRow("all") << "*" << all;
    QTest::newRow("alldomains") << "AllDomains" << all;
    QTest::newRow("no such letter") << "q" << "";
    QTest::newRow("quote is harmless") << "'" << "";
  }
  void listModes() {
    QFETCH(QString, mode);
    QFETCH(QString, expected);
    QVERIFY2(ShowListMode(db_, mode.toStdString()), ListErrorText().c_str());
    QCOMPARE(ShownNames(), SplitAtBars(expected));
  }

  void directionWithLockOnAndOff() {
    QVERIFY(ShowListMode(db_, "*"));
    const std::vector<std::string> first = ShownNames();
    QVERIFY(ShowListMode(db_, "*"));
    QCOMPARE(ShownNames(), first);  // locked: same order again

    WriteProfileInt(kSettingsSection, "Lock Sorting Order", 0);
    QVERIFY(ShowListMode(db_, "*"));
    std::vector<std::string> reversed(first.rbegin(), first.rend());
    QCOMPARE(ShownNames(), reversed);
    QCOMPARE(GetProfileInt(kSettingsSection, "Sort Ascending", 1), 0);
    QVERIFY(ShowListMode(db_, "*"));
    QCOMPARE(ShownNames(), first);
    QCOMPARE(GetProfileInt(kSettingsSection, "Sort Ascending", 0), 1);
  }

  void removeOrderBy_data() {
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("expected");
    QTest::newRow("order by") << "SELECT * FROM [Domains] WHERE [IP] IS NULL ORDER BY [Registrar] DESC"
                              << "SELECT * FROM [Domains] WHERE [IP] IS NULL";
    QTest::newRow("lower case") << "select * from [Domains]\r\norder by [Domain]" << "select * from [Domains]";
    QTest::newRow("order with two blanks") << "SELECT * FROM [Domains] ORDER  BY [x]\t" << "SELECT * FROM [Domains]";
    QTest::newRow("none") << " \tSELECT * FROM [Domains]\r\n" << "SELECT * FROM [Domains]";
  }
  void removeOrderBy() {
    QFETCH(QString, sql);
    QFETCH(QString, expected);
    QCOMPARE(QString::fromStdString(RemoveOrderBy(sql.toStdString())), expected);
  }

  // A user query sorted by registrar is re-sorted by creation date; its
  // condition stays.
  void sortReplacesTheOrder() {
    using Row = std::tuple<const char*, int, const char*>;
    for (const auto& [name, year, registrar] : {Row{"apple.com", 2001, "C"}, Row{"b2b.com", 1999, "A"},
                                                Row{"x1.com", 2010, "B"}}) {
      WriteField(name, "Created On", Date::FromYmd(year, 1, 1));
      WriteField(name, "Registrar", std::string(registrar));
    }
    QVERIFY(RunListQuery(db_, "SELECT * FROM [Domains] WHERE [Created On] IS NOT NULL ORDER BY [Registrar]"));
    QCOMPARE(ShownNames(), SplitAtBars("b2b.com|x1.com|apple.com"));
    QVERIFY(SortList(db_, "Created On"));
    QCOMPARE(CurrentListQuery(),
             std::string("SELECT * FROM [Domains] WHERE [Created On] IS NOT NULL ORDER BY [Created On] ASC"));
    QCOMPARE(ShownNames(), SplitAtBars("b2b.com|apple.com|x1.com"));
  }

  void sortByAliasOrUnknown() {
    WriteField("zeta.io", "Owner", std::string("Ann"));
    WriteField("0.de", "Owner", std::string("Bob"));
    QVERIFY(RunListQuery(db_, "SELECT * FROM [Domains] WHERE [Owner] <> ''"));
    QVERIFY(SortList(db_, "owner name"));
    QCOMPARE(ShownNames(), SplitAtBars("zeta.io|0.de"));
    QVERIFY(CurrentListQuery().ends_with("ORDER BY [Owner] ASC"));

    WriteProfileInt(kSettingsSection, "Lock Sorting Order", 0);
    const std::string before = CurrentListQuery();
    QVERIFY(!SortList(db_, "tld"));
    QCOMPARE(CurrentListQuery(), before);
    QCOMPARE(GetProfileInt(kSettingsSection, "Sort Ascending", 7), 7);  // direction untouched
    QCOMPARE(ShownNames(), SplitAtBars("zeta.io|0.de"));
  }

  void placeholdersAndBlanksInQueries() {
    const Date today = Date::Now().DateOnly();
    WriteField("apple.com", "Expiry Date", today.AddDays(10));
    WriteField("b2b.com", "Expiry Date", today.AddDays(40));
    WriteField("zeta.io", "Expiry Date", today.AddDays(-3));
    QVERIFY2(RunListQuery(db_, "SELECT%20*%20FROM%20[Domains]%20WHERE%20[Expiry Date] < #[TODAY+30]#"
                               "\r\nAND [Expiry Date] > #[TODAY]#"), ListErrorText().c_str());
    QCOMPARE(ShownNames(), SplitAtBars("apple.com"));
  }

  void badQueryEmptiesTheList() {
    int changes = 0;
    SetListChangedCallback([&] { ++changes; });
    QVERIFY(ShowListMode(db_, "*"));
    QCOMPARE(GetListCount(), int(kNames.size()));
    QVERIFY(!RunListQuery(db_, "SELECT * FROM [Domains] WHERE [No Such Field] = 1"));
    QVERIFY(ListErrorText().find("No Such Field") != std::string::npos);
    QCOMPARE(GetListCount(), 0);
    DomainRecord record;
    QVERIFY(!GetListRecordAt(0, record));
    QVERIFY(!RunListQuery(db_, "SELEKT nonsense"));
    QCOMPARE(changes, 3);
    // The next good query brings the rows back.
    QVERIFY(RunListQuery(db_, AllDomainsQuery()));
    QVERIFY(ListErrorText().empty());
    QCOMPARE(GetListCount(), int(kNames.size()));
  }

  void recordsByPosition() {
    WriteField("x1.com", "Registrar", std::string("First"));
    QVERIFY(ShowListMode(db_, "x"));
    DomainRecord record;
    QVERIFY(GetListRecordAt(0, record));
    QCOMPARE(record.Domain(), std::string("x1.com"));
    QCOMPARE(record.Text("Registrar"), std::string("First"));
    QVERIFY(!GetListRecordAt(1, record));
    QVERIFY(!GetListRecordAt(-1, record));
    // A new run reads rows afresh.
    WriteField("x1.com", "Registrar", std::string("Second"));
    QVERIFY(RunListQuery(db_));
    QVERIFY(GetListRecordAt(0, record));
    QCOMPARE(record.Text("Registrar"), std::string("Second"));
    // Closing the document's connections leaves no rows to read.
    db_.CloseAll();
    QCOMPARE(GetListCount(), 0);
  }

  void namesOnlyForm_data() {
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("quick");
    QTest::newRow("unsorted keeps stored order")
        << "SELECT * FROM [Domains] WHERE [IP] IS NULL;" << "SELECT [Domain] FROM [Domains] WHERE [IP] IS NULL ORDER BY rowid";
    QTest::newRow("sorted") << "select  *\tfrom [Domains] order  by [Domain] DESC"
                            << "SELECT [Domain]\tfrom [Domains] order  by [Domain] DESC";
    QTest::newRow("field list") << "SELECT [Domain], [IP] FROM [Domains]" << "";
    QTest::newRow("star not alone") << "SELECT *, [IP] FROM [Domains]" << "";
    QTest::newRow("not a select") << "DELETE FROM [Domains]" << "";
    QTest::newRow("selected word") << "SELECTED * FROM x" << "";
  }
  void namesOnlyForm() {
    QFETCH(QString, sql);
    QFETCH(QString, quick);
    QCOMPARE(QString::fromStdString(NamesOnlyQuery(sql.toStdString())), quick);
  }

  // Queries of other forms, or ones the names-only form does not suit, run
  // as they are written.
  void otherQueryForms_data() {
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("expected");
    QTest::newRow("limit") << "SELECT * FROM [Domains] LIMIT 2" << "apple.com|Alpha.net";
    QTest::newRow("unsorted in stored order") << "SELECT * FROM [Domains] WHERE [Domain] Like '*1*'"
                                              << "1stop.com|x1.com";
    QTest::newRow("no name column") << "SELECT [IP] FROM [Domains] WHERE [Domain] = 'b2b.com'" << "";
  }
  void otherQueryForms() {
    QFETCH(QString, sql);
    QFETCH(QString, expected);
    QVERIFY2(RunListQuery(db_, sql.toStdString()), ListErrorText().c_str());
    if (QByteArray(QTest::currentDataTag()) == "no name column") {
      QCOMPARE(GetListCount(), 1);  // one row, no name to read it by
      return;
    }
    QCOMPARE(ShownNames(), SplitAtBars(expected));
  }

  void noDocumentKeepsTheText() {
    db_.SetPath({});
    QVERIFY(RunListQuery(db_, "SELECT * FROM [Domains] WHERE [IP] IS NULL"));
    QCOMPARE(CurrentListQuery(), std::string("SELECT * FROM [Domains] WHERE [IP] IS NULL"));
    QCOMPARE(GetListCount(), 0);
  }

  void filterListByPosition() {
    QVERIFY(db_.OpenReadOnly(db_.filter()));
    QVERIFY(FilterList().Load(db_.filter(), "SELECT * FROM [Domains] WHERE [Domain] Like '*.com' ORDER BY [Domain]"));
    QCOMPARE(GetDomainAt(0) + "|" + GetDomainAt(3) + "|" + GetDomainAt(4) + "|" + GetDomainAt(-1),
             std::string("1stop.com|x1.com||"));
  }
};

QV_TEST(DomainListTest)
#include "test_domain_list.moc"
