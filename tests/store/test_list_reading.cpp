// A long list read page first: the run returns with the first page, the rest
// comes in batches on the main thread, and the list ends as a list read at
// once would be; Cancel and a new run stop the reading.
#include <QElapsedTimer>
#include <QTest>

#include "store/add_names.h"
#include "store/database_connection.h"
#include "store/database_maintenance.h"
#include "store/domain_list.h"
#include "store/list_loader.h"
#include "store/list_query.h"
#include "support/temp_folders.h"
#include "support/test_registry.h"

using namespace qv;

namespace {

// Three pages and more; every third name has a hyphen (a page and more).
std::vector<std::string> MakeNames() {
  std::vector<std::string> names;
  for (int i = 0; i < 3 * ListLoader::kFirstPageRows + 10; ++i)
    names.push_back((i % 3 == 0 ? "hy-phen" : "plain") + std::to_string(1000 + i) + ".com");
  return names;
}

std::vector<std::string> Names(const DomainList& list) {
  std::vector<std::string> names;
  for (int i = 0; i < list.Count(); ++i) names.emplace_back(list.NameAt(i));
  return names;
}

// Rows without end, for as long as nobody stops them.
const char* kEndlessQuery =
    "WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM n) SELECT 'name' & x & '.com' AS Domain FROM n";

}  // namespace

class ListReadingTest : public QObject {
  Q_OBJECT

  DomainDatabase db_;
  QObject mainThread_;
  std::vector<bool> ended_;

  void WaitUntilWhole() { QTRY_VERIFY_WITH_TIMEOUT(!ListStillReading(), 20000); }

 private slots:
  void init() {
    qvtest::FreshFolders();
    SetCurrentListQuery("");
    const MaintenanceResult made = NewDocument(db_, qvtest::TempPath("reading.qvl").string());
    QVERIFY2(made.ok, made.message.c_str());
    QCOMPARE(AddDomainNames(db_, MakeNames()).added, MakeNames().size());
    ended_.clear();
    SetListPoster([this](std::function<void()> task) {
      QMetaObject::invokeMethod(&mainThread_, std::move(task), Qt::QueuedConnection);
    });
    SetListEndedCallback([this](bool ok) { ended_.push_back(ok); });
  }
  void cleanup() {
    SetListPoster({});
    SetListEndedCallback({});
    QCoreApplication::sendPostedEvents(&mainThread_);
    ShownList().Clear();
    db_.SetPath({});
  }

  // The first page is there when the run returns; in the end the list holds
  // what a list read at once holds, in the same order.
  void firstPageThenTheRest_data() {
    QTest::addColumn<QString>("sql");
    QTest::newRow("all, as stored") << "SELECT * FROM [Domains]";
    QTest::newRow("hyphen names") << "SELECT * FROM [Domains] WHERE [Domain] Like '*-*'";
    QTest::newRow("by name, descending") << "SELECT * FROM [Domains] ORDER BY [Domain] DESC";
    QTest::newRow("less than a page") << "SELECT * FROM [Domains] WHERE [Domain] Like 'plain10*'";
    QTest::newRow("no rows") << "SELECT * FROM [Domains] WHERE [Domain] Like 'nothing*'";
  }
  void firstPageThenTheRest() {
    QFETCH(QString, sql);
    DatabaseConnection own;
    QCOMPARE(own.OpenDatabase(db_.Path(), true), kDbOk);
    DomainList whole;
    QVERIFY(whole.Load(own, sql.toStdString()));

    QVERIFY2(RunListQuery(db_, sql.toStdString()), ListErrorText().c_str());
    // A page at most (less when the time for it ran out), but never nothing
    // when there are rows.
    QVERIFY(GetListCount() <= ListLoader::kFirstPageRows);
    QCOMPARE(GetListCount() > 0, whole.Count() > 0);
    const bool reading = ListStillReading();
    if (!reading) QCOMPARE(GetListCount(), whole.Count());
    WaitUntilWhole();
    QCOMPARE(Names(ShownList()), Names(whole));
    QCOMPARE(ended_, reading ? std::vector<bool>{true} : std::vector<bool>{});
    QVERIFY(ListErrorText().empty());
  }

  // Cancel stops the thread at once however many rows are left; the list
  // ends empty and says why, and nothing of that run arrives later.
  void cancelStopsTheReading() {
    QVERIFY2(RunListQuery(db_, kEndlessQuery), ListErrorText().c_str());
    QCOMPARE(GetListCount(), int(ListLoader::kFirstPageRows));
    QTest::qWait(50);
    QVERIFY(ListStillReading());
    QElapsedTimer stopping;
    stopping.start();
    CancelListReading();
    QVERIFY(stopping.elapsed() < 2000);
    QVERIFY(!ListStillReading());
    QCOMPARE(GetListCount(), 0);
    QVERIFY2(ListErrorText().find("interrupted") != std::string::npos, ListErrorText().c_str());
    QCOMPARE(ended_, std::vector<bool>{false});
    QTest::qWait(50);
    QCOMPARE(GetListCount(), 0);
  }

  // A query that finds no row for a long time returns with an empty page and
  // goes on reading; Cancel still stops it.
  void noRowYetLeavesAnEmptyPage() {
    QVERIFY2(RunListQuery(db_, std::string(kEndlessQuery) + " WHERE x < 0"), ListErrorText().c_str());
    QCOMPARE(GetListCount(), 0);
    QVERIFY(ListStillReading());
    CancelListReading();
    QCOMPARE(ended_, std::vector<bool>{false});
  }

  // Cancelled from the progress window before the first page is in: the run
  // fails, says why, and leaves nothing reading.
  void cancelBeforeTheFirstPage() {
    SetListCancelCheck([] { return true; });
    const bool ran = RunListQuery(db_, std::string(kEndlessQuery) + " WHERE x < 0");
    SetListCancelCheck({});
    QVERIFY(!ran);
    QVERIFY2(ListErrorText().find("interrupted") != std::string::npos, ListErrorText().c_str());
    QCOMPARE(GetListCount(), 0);
    QVERIFY(!ListStillReading());
  }

  // A new run while the last is still being read: only the new rows come.
  void newRunReplacesTheReading() {
    QVERIFY(RunListQuery(db_, kEndlessQuery));
    QVERIFY(ListStillReading());
    QVERIFY(RunListQuery(db_, "SELECT * FROM [Domains] WHERE [Domain] Like '*-*'"));
    WaitUntilWhole();
    QCOMPARE(GetListCount(), int(MakeNames().size() + 2) / 3);
    QCOMPARE(ShownList().NameAt(0), std::string_view("hy-phen1000.com"));
    QCOMPARE(ended_, std::vector<bool>{true});
  }
};

QV_TEST(ListReadingTest)
#include "test_list_reading.moc"
