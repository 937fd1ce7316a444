#include <QTest>

#include "store/add_names.h"
#include "store/database_connection.h"
#include "store/database_maintenance.h"
#include "store/domain_list.h"
#include "store/list_query.h"
#include "support/temp_folders.h"
#include "support/test_registry.h"

using namespace qv;

Q_DECLARE_METATYPE(qv::InsertOutcome)

namespace {

std::vector<std::string> StoredNames(DomainDatabase& db) {
  std::vector<std::string> names;
  if (!db.OpenDomainsTable()) return names;
  Statement st = db.update().PrepareNative("SELECT [Domain] FROM [Domains] ORDER BY rowid");
  while (st.Next() == Statement::Step::Row) names.push_back(st.ColumnText(0));
  return names;
}

}  // namespace

class AddNamesTest : public QObject {
  Q_OBJECT

  DomainDatabase db_;

 private slots:
  void init() {
    qvtest::FreshFolders();
    const MaintenanceResult made = NewDocument(db_, qvtest::TempPath("names.qvl").string());
    QVERIFY2(made.ok, made.message.c_str());
  }
  void cleanup() { db_.SetPath({}); }

  void insertOutcomes() {
    const std::string name67 = std::string(63, 'a') + ".com";
    const std::string name70 = std::string(66, 'b') + ".com";
    const struct {
      std::string name;
      InsertOutcome outcome;
    } steps[] = {
        {"example.com", InsertOutcome::Added},
        {"EXAMPLE.COM", InsertOutcome::AlreadyStored},
        {"", InsertOutcome::Empty},
        {"a/b.com", InsertOutcome::Refused},
        {"example.com.", InsertOutcome::AlreadyStored},
        {"m\xc3\xbcnchen.de", InsertOutcome::Added},
        {name67, InsertOutcome::Added},
        {name70, InsertOutcome::Refused},
    };
    for (const auto& step : steps) QCOMPARE(InsertDomainRecord(db_, step.name), step.outcome);
    const std::vector<std::string> expected = {"example.com", "m\xc3\xbcnchen.de", name67};
    QCOMPARE(StoredNames(db_), expected);
  }

  void textIsSplitAndCounted() {
    const std::string text = "one.com\r\ntwo.net;three.org\tONE.com  four.io\n\n;bad/name.com\x01odd.com five.de";
    const AddNamesReport report = AddNamesFromText(db_, text);
    QCOMPARE(report.added, std::size_t(5));
    QCOMPARE(report.alreadyStored, std::size_t(1));
    QCOMPARE(report.refused, std::size_t(1));
    QVERIFY(report.error.empty());
    QVERIFY(!report.cancelled);
    const std::vector<std::string> expected = {"one.com", "two.net", "three.org", "four.io", "five.de"};
    QCOMPARE(StoredNames(db_), expected);
  }

  // A stream read a few bytes at a time (a pipe may hand over even the
  // byte-order mark in pieces) gives the names of the whole text (every
  // other piece size: fuzz_name_import); a failed read keeps what came
  // before and says why.
  void streamInSmallChunks_data() {
    QTest::addColumn<int>("chunk");
    QTest::newRow("1 byte") << 1;
    QTest::newRow("2 bytes") << 2;
  }
  void streamInSmallChunks() {
    QFETCH(int, chunk);
    const std::string text = "\xEF\xBB\xBFone.com\r\ntwo.net;three.org\tfour.io";
    std::size_t pos = 0;
    bool failAtEnd = false;
    const ReadNamesChunk read = [&](char* buffer, std::size_t size, std::string& error) -> long long {
      if (pos == text.size() && failAtEnd) {
        error = "Input/output error";
        return -1;
      }
      const std::size_t n = std::min<std::size_t>({size, std::size_t(chunk), text.size() - pos});
      text.copy(buffer, n, pos);
      pos += n;
      return (long long)n;
    };
    AddNamesReport report = AddNamesFromStream(db_, read, text.size());
    QCOMPARE(report.added, std::size_t(4));
    QVERIFY(report.error.empty());
    const std::vector<std::string> expected = {"one.com", "two.net", "three.org", "four.io"};
    QCOMPARE(StoredNames(db_), expected);

    pos = 0;
    failAtEnd = true;
    report = AddNamesFromStream(db_, read, 0);
    QCOMPARE(report.error, std::string("Error: Reading File\r\nInput/output error"));
    QCOMPARE(report.alreadyStored, std::size_t(3));  // the last name may be cut: never added
    QCOMPARE(StoredNames(db_), expected);
  }

  void longTextKeepsEveryName() {
    std::string text;
    std::vector<std::string> expected;
    for (int i = 0; text.size() < 20000; ++i) {
      const std::string name = "name" + std::to_string(i * 7919) + ".example";
      expected.push_back(name);
      text += name + (i % 3 == 0 ? "\r\n" : " ");
    }
    const AddNamesReport report = AddNamesFromText(db_, text);
    QCOMPARE(report.added, expected.size());
    QCOMPARE(StoredNames(db_), expected);
  }

  // Cancelling keeps exactly what was committed and reported.
  void cancelKeepsReportedNames() {
    std::vector<std::string> names;
    for (int i = 0; i < 2000; ++i) names.push_back("n" + std::to_string(i) + ".com");
    std::vector<std::size_t> calls;  // added so far, done, total of each call
    const auto cancelAtOnce = [&](const AddNamesReport& soFar, std::size_t done, std::size_t total) {
      calls.insert(calls.end(), {soFar.added, done, total});
      return false;
    };
    const AddNamesReport report = AddDomainNames(db_, names, cancelAtOnce, std::chrono::milliseconds(0));
    QVERIFY(report.cancelled);
    QVERIFY(report.added > 0 && report.added < names.size());
    QCOMPARE(calls, (std::vector<std::size_t>{report.added, report.added, names.size()}));
    QCOMPARE(StoredNames(db_), std::vector<std::string>(names.begin(), names.begin() + long(report.added)));
  }

  // A table whose name index was lost still refuses a second capitalisation.
  void noDuplicatesWithoutTheIndex() {
    QVERIFY(db_.OpenDomainsTable());
    QCOMPARE(db_.update().ExecuteNative("DROP INDEX [DomainIndex]"), kDbOk);
    const AddNamesReport report = AddDomainNames(db_, {"a.com", "A.COM", "b.com", "a.com"});
    QCOMPARE(report.added, std::size_t(2));
    QCOMPARE(report.alreadyStored, std::size_t(2));
  }

  void shownListIsRunAgain() {
    QVERIFY(RunListQuery(db_, AllDomainsQuery()));
    QCOMPARE(GetListCount(), 0);
    AddDomainNames(db_, {"x.com", "y.com"});
    QCOMPARE(GetListCount(), 2);
  }
};

QV_TEST(AddNamesTest)
#include "test_add_names.moc"
