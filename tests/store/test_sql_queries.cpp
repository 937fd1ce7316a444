// The stored SQL queries: the lists topped up with defaults, the defaults
// selecting what they say, and a user's query that can neither write, run a
// second statement nor run for ever.
#include <QElapsedTimer>
#include <QTest>

#include "platform/date.h"
#include "store/add_names.h"
#include "store/database_connection.h"
#include "store/database_maintenance.h"
#include "store/domain_list.h"
#include "store/list_query.h"
#include "store/sql_queries.h"
#include "support/temp_folders.h"
#include "support/test_registry.h"
#include "support/whole_files.h"
#include "whois/server_directory.h"

using namespace qv;

namespace {

std::vector<QueryEntry> OwnQueries(int count, const QString& extraName = {}) {
  std::vector<QueryEntry> entries;
  for (int i = 0; i < count; ++i) entries.push_back({"Mine " + std::to_string(i), "c", "SELECT * FROM [Domains]"});
  if (!extraName.isEmpty()) entries.push_back({extraName.toStdString(), "mine", "SELECT 1"});
  return entries;
}

}  // namespace

class SqlQueriesTest : public QObject {
  Q_OBJECT

  DomainDatabase db_;
  std::string path_;

  void SetDate(const char* name, const char* field, const Date& date) {
    DomainRecord record;
    QVERIFY(db_.ReadRecord(name, record));
    record.Set(field, date);
    QVERIFY2(db_.WriteRecord(record), db_.update().GetLastError().c_str());
  }

  std::vector<std::string> FilterNames(const std::string& sql) {
    std::string error;
    const int count = RunLookupQuery(db_, sql, &error);
    std::vector<std::string> names;
    if (count < 0) names.push_back("error: " + error);
    for (int i = 0; i < count; ++i) names.push_back(GetDomainAt(i));
    return names;
  }

 private slots:
  void init() {
    qvtest::FreshFolders();
    path_ = qvtest::TempPath("queries.qvl").string();
    QVERIFY(NewDocument(db_, path_).ok);
    QCOMPARE(AddDomainNames(db_, {"alpha.com", "beta.com", "gamma.net"}).added, std::size_t(3));
  }
  void cleanup() {
    FilterList().Clear();
    ShownList().Clear();
    SetListCancelCheck({});
    db_.SetPath({});
  }

  void defaultsTopUpShortLists_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("own");
    QTest::addColumn<QString>("ownDefaultName");
    QTest::addColumn<int>("expected");
    QTest::newRow("display, none stored") << 0 << 0 << QString() << 18;
    QTest::newRow("display, 3 own, one named as a default") << 0 << 2 << "hyphen domains" << 20;
    QTest::newRow("display, 20 own") << 0 << 20 << QString() << 20;
    QTest::newRow("lookup, none stored") << 1 << 0 << QString() << 10;
  }
  void defaultsTopUpShortLists() {
    QFETCH(int, kind);
    QFETCH(int, own);
    QFETCH(QString, ownDefaultName);
    QFETCH(int, expected);
    const QueryKind k = QueryKind(kind);
    const std::vector<QueryEntry> stored = OwnQueries(own, ownDefaultName);
    if (!stored.empty()) SaveQueries(k, stored);
    const std::vector<QueryEntry> loaded = LoadQueries(k);
    QCOMPARE(int(loaded.size()), expected);
    // The user's own come first, unchanged, and a default keeps the user's
    // version of its name.
    QVERIFY(std::equal(stored.begin(), stored.end(), loaded.begin()));
    if (!ownDefaultName.isEmpty()) QCOMPARE(FindQuery(loaded, "Hyphen Domains")->sql, std::string("SELECT 1"));
  }

  // Every default runs on a document as it stands.
  void everyDefaultRuns() {
    for (QueryKind kind : {QueryKind::Display, QueryKind::Lookup})
      for (const QueryEntry& entry : DefaultQueries(kind)) {
        const std::string error = TestQuery(path_, entry.sql);
        QVERIFY2(error.empty(), (entry.name + ": " + error).c_str());
      }
  }

  void defaultsSelectWhatTheySay() {
    const Date today = Date::Now();
    SetDate("alpha.com", field::kExpiryDate, today.AddDays(10));
    SetDate("beta.com", field::kExpiryDate, today.AddDays(100));
    SetDate("beta.com", field::kRegistrarExpiry, today.AddDays(100));
    const auto sqlOf = [](const char* name) { return GetDisplayQuerySql(name); };
    QCOMPARE(FilterNames(sqlOf("About To Expire [Registry]")), std::vector<std::string>{"alpha.com"});
    // A registry expiry without a registrar expiry: alpha only (a comparison
    // with NULL would select nothing).
    QCOMPARE(FilterNames(sqlOf("Empty Registrar Expiry Date")), std::vector<std::string>{"alpha.com"});
    QCOMPARE(FilterNames(sqlOf("Unknown Domains")).size(), std::size_t(3));
  }

  // The com registry's server as the user set it, quote and all, is matched
  // as a whole literal.
  void hostInQuotedLiteralIsEscaped() {
    {
      TldRecord com("com");
      com.server = "who'is.example";
    }
    DomainRecord record;
    QVERIFY(db_.ReadRecord("beta.com", record));
    record.SetText(field::kWhoisSource, "who'is.example");
    record.Set(field::kLastCheckedAt, Date::Now());
    record.SetText(field::kStatus, "clientTransferProhibited");
    QVERIFY(db_.WriteRecord(record));
    const std::string sql = GetDisplayQuerySql("Partially Lookedup COM Domains");
    QVERIFY2(sql.find("'who''is.example'") != std::string::npos, sql.c_str());
    QCOMPARE(FilterNames(sql), std::vector<std::string>{"beta.com"});
  }

  void refusedQueriesLeaveTheDocumentAlone_data() {
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("message");
    QTest::newRow("delete") << "DELETE FROM [Domains]" << kStatementWritesText;
    QTest::newRow("two statements") << "SELECT * FROM [Domains]; DELETE FROM [Domains]" << kMoreThanOneStatementText;
    QTest::newRow("a second select") << "SELECT * FROM [Domains]; SELECT 1" << kMoreThanOneStatementText;
    QTest::newRow("update") << "UPDATE [Domains] SET [Status] = 'x'" << kStatementWritesText;
  }
  void refusedQueriesLeaveTheDocumentAlone() {
    QFETCH(QString, sql);
    QFETCH(QString, message);
    const std::string text = sql.toStdString();
    db_.CloseAll();
    const QByteArray before = qvtest::ReadFileBytes(path_);
    QVERIFY(before.startsWith("SQLite format 3"));
    db_.SetPath(path_);

    QVERIFY(!RunListQuery(db_, text));
    QVERIFY2(QString::fromStdString(ListErrorText()).contains(message), ListErrorText().c_str());
    QVERIFY(QString::fromStdString(FilterNames(text).at(0)).contains(message));
    QVERIFY(QString::fromStdString(TestQuery(path_, text)).contains(message));
    SetCurrentListQuery("");

    FilterList().Clear();
    ShownList().Clear();
    db_.CloseAll();
    QCOMPARE(qvtest::ReadFileBytes(path_), before);
    db_.SetPath(path_);
    QCOMPARE(FilterNames(AllDomainsQuery()).size(), std::size_t(3));
  }

  void runawayQueryIsCancelled() {
    QElapsedTimer clock;
    clock.start();
    SetListCancelCheck([&clock] { return clock.elapsed() > 200; });
    const bool ok = RunListQuery(
        db_, "WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c) SELECT count(*) AS [Domain] FROM c");
    const qint64 took = clock.elapsed();
    SetCurrentListQuery("");
    QVERIFY(!ok);
    QVERIFY2(QString::fromStdString(ListErrorText()).contains("interrupt"), ListErrorText().c_str());
    QVERIFY2(took < 2000, QByteArray::number(took).constData());
    // The next run of the list is not cancelled by what stopped the last.
    SetListCancelCheck({});
    QVERIFY(RunListQuery(db_));
    QCOMPARE(GetListCount(), 3);
  }
};

QV_TEST(SqlQueriesTest)
#include "test_sql_queries.moc"
