// Automatic rescans: which names an idle call queues, in which order, and
// how the cursor moves.
#include <QTest>
#include <memory>

#include "engine_fixture.h"
#include "lookup/answer_error_index.h"
#include "lookup/answer_files.h"
#include "lookup/auto_scan.h"
#include "platform/settings_store.h"
#include "store/domain_list.h"
#include "store/list_query.h"
#include "support/temp_folders.h"
#include "support/test_registry.h"

using namespace enginetest;

namespace {

void Age(qv::DomainDatabase& db, const std::string& name, double days, bool locked = false,
         const char* only = nullptr) {
  qv::DomainRecord r = Read(db, name);
  const qv::Date when = qv::Date::Now().AddDays(-days);
  for (const char* f : {qv::field::kLastCheckedAt, qv::field::kIpCheckedAt, qv::field::kPingCheckedAt,
                        qv::field::kHomePageCheckedAt})
    r.SetDate(f, only && std::string(only) != f ? qv::Date::Now() : when);
  r.SetLocked(locked);
  db.WriteRecord(r);
}

}  // namespace

class AutoScanTest : public QObject {
  Q_OBJECT

  qv::DomainDatabase db_;
  std::unique_ptr<qv::LookupEngine> engine_;

 private slots:
  void init() {
    qvtest::FreshFolders();
    QVERIFY(MakeDocument(db_, {"alpha.com", "beta.com", "delta.com", "gamma.com"}));
    // alpha: never checked; beta: all checked now; delta: pinged two days
    // ago; gamma: all two days ago, locked.
    Age(db_, "beta.com", 0);
    Age(db_, "delta.com", 2, false, qv::field::kPingCheckedAt);
    Age(db_, "gamma.com", 2, true);
    QVERIFY(qv::RunListQuery(db_, "SELECT * FROM [Domains] ORDER BY [Domain]"));
    engine_ = std::make_unique<qv::LookupEngine>(&db_, 600000);
    engine_->SetWebCheckHooks(WaitingWebChecks());
  }
  void cleanup() {
    engine_.reset();
    qv::ShownList().Clear();
    db_.CloseAll();
  }

  // The cursor starts at 2: the rest of the list is examined, then, in a
  // second call, the list from the top; each row queues its checks in order.
  void queuesDueNames_data() {
    QTest::addColumn<QString>("switches");  // whois, DNS, ping, home page
    QTest::addColumn<int>("pingInterval");
    QTest::addColumn<bool>("reversed");     // the list in the index's order, or the other way
    QTest::addColumn<QStringList>("whois");
    QTest::addColumn<QStringList>("dns");
    QTest::addColumn<QStringList>("ping");
    QTest::addColumn<QStringList>("http");
    const QStringList none;
    const QStringList alpha{"alpha.com"};
    const QStringList pinged{"delta.com", "gamma.com", "alpha.com"};
    QTest::newRow("all four") << "1111" << 1440 << false << alpha << alpha << pinged
                              << QStringList{"gamma.com", "alpha.com"};
    QTest::newRow("all four, list reversed") << "1111" << 1440 << true << alpha << alpha
                                             << QStringList{"alpha.com", "gamma.com", "delta.com"}
                                             << QStringList{"alpha.com", "gamma.com"};
    QTest::newRow("ping only") << "0010" << 1440 << false << none << none << pinged << none;
    QTest::newRow("interval 0 is the smallest, not always") << "0010" << 0 << false << none << none << pinged << none;
    QTest::newRow("all off") << "0000" << 1440 << false << none << none << none << none;
  }
  void queuesDueNames() {
    QFETCH(QString, switches);
    QFETCH(int, pingInterval);
    QFETCH(bool, reversed);
    QFETCH(QStringList, whois);
    QFETCH(QStringList, dns);
    QFETCH(QStringList, ping);
    QFETCH(QStringList, http);
    if (reversed) QVERIFY(qv::RunListQuery(db_, "SELECT * FROM [Domains] ORDER BY [Domain] DESC"));
    const char* keys[] = {qv::kEnableAutoWhoisKey, qv::kEnableAutoDnsKey, qv::kEnableAutoPingKey, qv::kEnableAutoHttpKey};
    for (int i = 0; i < 4; ++i) qv::WriteProfileInt("Settings", keys[i], switches[i] == '1' ? 1 : 0);
    qv::WriteProfileInt("Settings", qv::kAutoWhoisIntervalKey, 1440);
    qv::WriteProfileInt("Settings", qv::kAutoPingIntervalKey, pingInterval);
    engine_->SetAutoScanCursor(2);
    const bool ran = engine_->RunAutoScan();
    QCOMPARE(ran, switches != "0000");
    QCOMPARE(engine_->AutoScanCursor(), ran ? 4 : 2);
    if (ran) {
      QVERIFY(engine_->RunAutoScan());
      QCOMPARE(engine_->AutoScanCursor(), 4);
    }
    QCOMPARE(Entries(engine_->Queue(qv::QueueKind::Whois)), whois);
    QCOMPARE(Entries(engine_->Queue(qv::QueueKind::Dns)), dns);
    QCOMPARE(Entries(engine_->Queue(qv::QueueKind::Ping)), ping);
    QCOMPARE(Entries(engine_->Queue(qv::QueueKind::HomePage)), http);
  }

  // beta.com was checked just now: it is queued for whois again only when
  // its kept answer is a lookup error, whether that answer was there before
  // the answer folder was read or saved since.
  void queuesFreshNameWithKeptError_data() {
    QTest::addColumn<QString>("before");  // the kept answer before the folder is read
    QTest::addColumn<bool>("read");       // the folder's reading is in before the rescan
    QTest::addColumn<QString>("saved");   // an answer saved after that
    QTest::addColumn<bool>("queued");
    const QString error = "Whois Lookup Error: Whois server refused connection.\n[Whois Source: a]";
    const QString good = "Domain Name: BETA.COM\n[Whois Source: a]";
    QTest::newRow("error, folder not read yet") << error << false << "" << true;
    QTest::newRow("error, folder read") << error << true << "" << true;
    QTest::newRow("good answer") << good << true << "" << false;
    QTest::newRow("error saved since") << good << true << error << true;
    QTest::newRow("good answer saved since") << error << true << good << false;
  }
  void queuesFreshNameWithKeptError() {
    QFETCH(QString, before);
    QFETCH(bool, read);
    QFETCH(QString, saved);
    QFETCH(bool, queued);
    WriteFile(*qv::AnswerFilePath(qv::WhoisDataFolder(), "beta.com"), before.toStdString());
    if (read) QTRY_VERIFY(qv::AnswerErrorIndex::Instance().Ready(qv::WhoisDataFolder()));
    if (!saved.isEmpty()) QVERIFY(qv::SaveWhoisText("beta.com", saved.toStdString()));
    qv::WriteProfileInt("Settings", qv::kEnableAutoWhoisKey, 1);
    engine_->SetAutoScanCursor(1);
    QVERIFY(engine_->RunAutoScan());
    QCOMPARE(Entries(engine_->Queue(qv::QueueKind::Whois)), queued ? QStringList{"beta.com"} : QStringList{});
  }
};

QV_TEST(AutoScanTest)
#include "test_auto_scan.moc"
