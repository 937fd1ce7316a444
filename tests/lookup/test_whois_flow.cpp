// End-to-end lookups through the engine against whois servers on loopback:
// names under test suffixes whose servers are stored in the directory.
#include <QTest>

#include "engine_fixture.h"
#include "lookup/answer_files.h"
#include "lookup/lookup_engine.h"
#include "support/test_registry.h"
#include "support/whois_test_server.h"

using namespace qv;
using namespace enginetest;
using qvtest::WhoisTestServer;

namespace {

constexpr int kTickMs = 50;
constexpr const char* kRegistry = "127.0.0.1";
constexpr const char* kRegistrar = "localhost";

}  // namespace

class WhoisFlowTest : public EngineTest {
  Q_OBJECT

 private slots:
  void fullRunFillsRecords() {
    WhoisTestServer taken(WhoisTestServer::Answer(RegisteredAnswer("ALPHA.QVTEST")));
    WhoisTestServer free(WhoisTestServer::Answer("No match for \"FREE.QVFREE\".\r\n"));
    PointSuffixAt("qvtest", kRegistry, taken.port());
    PointSuffixAt("qvfree", kRegistrar, free.port());
    SetFreeToken(kRegistrar);
    QVERIFY(NewEngine(kTickMs, {"alpha.qvtest", "free.qvfree"}));
    LookUp({"alpha.qvtest", "free.qvfree"});

    // Which field each value lands in is RecordUpdateTest's; here the
    // answers reach the records, the address comes from Auto DNS Lookup and
    // the free name is judged by its server's token from the directory.
    const QStringList alpha = {"Registrar=Example Registrar LLC", "Expiry Date=2030-08-13 00:00:00",
                               "Availability=TAKEN", "Whois Source=127.0.0.1", "IP=192.0.2.1"};
    QCOMPARE(FieldsAsIn(Read(db_, "alpha.qvtest"), alpha), alpha);
    QVERIFY(Read(db_, "alpha.qvtest").DateValue(field::kLastCheckedAt).IsValid());
    QVERIFY(LoadWhoisText("alpha.qvtest").ends_with("\n[Whois Source: 127.0.0.1]"));
    QVERIFY(LoadWhoisText("alpha.qvtest").starts_with("Domain Name: ALPHA.QVTEST"));
    const QStringList freeName = {"Availability=FREE", "Registrar=", "Expiry Date="};
    QCOMPARE(FieldsAsIn(Read(db_, "free.qvfree"), freeName), freeName);

    taken.Finish();
    QCOMPARE(taken.queries(), std::vector<std::string>{"alpha.qvtest\r\n"});
    QVERIFY(!std::filesystem::exists(log_));  // a first lookup logs nothing
  }

  // Two servers that name each other: each is asked once.
  void referralsThatGoRoundStop() {
    WhoisTestServer registry(WhoisTestServer::Answer(RegisteredAnswer("LOOP.QVTEST", kRegistrar)));
    WhoisTestServer registrar(WhoisTestServer::Answer(RegisteredAnswer("LOOP.QVTEST", kRegistry)));
    PointSuffixAt("qvtest", kRegistry, registry.port());
    PointSuffixAt("qvregistrar", kRegistrar, registrar.port());
    QVERIFY(NewEngine(kTickMs, {"loop.qvtest"}));
    LookUp({"loop.qvtest"});
    registry.Finish();
    registrar.Finish();
    QCOMPARE(registry.connections(), 1);
    QCOMPARE(registrar.connections(), 1);
    QVERIFY(Read(db_, "loop.qvtest").DateValue(field::kLastCheckedAt).IsValid());
  }

  // A chain of servers each referring to the next: three referrals are
  // followed, the fourth is not, and the last answer is compared.
  void referralChainStopsAfterThree() {
    // Six spellings of the loopback address, one per server.
    const char* hosts[] = {"127.0.0.1", "127.1", "127.0.1", "localhost", "2130706433", "0x7f000001"};
    std::vector<std::unique_ptr<WhoisTestServer>> servers;
    for (std::size_t i = 0; i < std::size(hosts); ++i) {
      const std::string answer = RegisteredAnswer("HOP.QVTEST", i + 1 < std::size(hosts) ? hosts[i + 1] : "");
      servers.push_back(std::make_unique<WhoisTestServer>(WhoisTestServer::Answer(answer)));
      PointSuffixAt(i == 0 ? "qvtest" : "qvhop" + std::to_string(i), hosts[i], servers[i]->port());
    }
    QVERIFY(NewEngine(kTickMs, {"hop.qvtest"}));
    LookUp({"hop.qvtest"});
    for (std::size_t i = 0; i < servers.size(); ++i) {
      servers[i]->Finish();
      QCOMPARE(servers[i]->connections(), i <= 3 ? 1 : 0);  // the registry and three referrals
    }
    QCOMPARE(engine_->Snapshots().size(), std::size_t(0));
  }

  // A server that fails leaves what the last answer brought in place (each
  // kind of failure: RecordUpdateTest::failedLookupKeepsTheRecord).
  void failingServerKeepsRegistration() {
    WhoisTestServer good(WhoisTestServer::Answer(RegisteredAnswer("KEEP.QVTEST")));
    PointSuffixAt("qvtest", kRegistry, good.port());
    QVERIFY(NewEngine(kTickMs, {"keep.qvtest"}));
    LookUp({"keep.qvtest"});
    const DomainRecord before = Read(db_, "keep.qvtest");
    QCOMPARE(Field(before, field::kRegistrar), QStringLiteral("Example Registrar LLC"));

    WhoisTestServer bad(WhoisTestServer::Reset());
    PoliteServer(kRegistry, bad.port());
    LookUp({"keep.qvtest"});
    const QStringList kept = FieldsAsIn(before, {"Registrar", "Expiry Date", "Registrar Expiry", "Created On",
                                                 "NS1", "Status", "Availability", "Last Checked At"});
    QCOMPARE(FieldsAsIn(Read(db_, "keep.qvtest"), kept), kept);
  }

  // While a lookup runs nothing of the record is written, so a process
  // killed then loses nothing; and a result for a document that is no longer
  // open is dropped.
  void lookupInFlight() {
    WhoisTestServer good(WhoisTestServer::Answer(RegisteredAnswer("SAME.QVTEST")));
    PointSuffixAt("qvtest", kRegistry, good.port());
    QVERIFY(NewEngine(kTickMs, {"same.qvtest"}));
    LookUp({"same.qvtest"});
    const QString registrar = Field(Read(db_, "same.qvtest"), field::kRegistrar);
    QVERIFY(!registrar.isEmpty());

    WhoisTestServer slow(WhoisTestServer::InPieces(RegisteredAnswer("SAME.QVTEST"), 40, 60));
    PoliteServer(kRegistry, slow.port());
    QVERIFY(engine_->QueueWhoisIfDue("same.qvtest", 0));
    engine_->SchedulerTick();  // the job runs; the tick's writes are committed
    QCOMPARE(engine_->WhoisJobCount(), 1);
    QCOMPARE(Field(Read(db_, "same.qvtest"), field::kRegistrar), registrar);

    QVERIFY(MakeDocument(db_, {"same.qvtest"}));  // another document, the same name
    QVERIFY(WaitFor([this] { return engine_->WhoisJobCount() == 0; }));
    QVERIFY(RunUntilIdle(*engine_));
    const DomainRecord other = Read(db_, "same.qvtest");
    QCOMPARE(Field(other, field::kRegistrar), QString());
    QCOMPARE(Field(other, field::kIp), QString());
    QVERIFY(!other.DateValue(field::kLastCheckedAt).IsValid());
  }

  void failuresThenDisabledThenFreshTry() {
    WhoisTestServer silent(WhoisTestServer::Reset());
    PointSuffixAt("qvtest", kRegistry, silent.port());
    QVERIFY(NewEngine(kTickMs, {"gamma.qvtest"}));

    LookUp({"gamma.qvtest"});  // the first try and three retries
    QCOMPARE(silent.connections(), kWhoisFailuresBeforeSkip);
    QCOMPARE(engine_->ServerStates().ServerFailCount(kRegistry), kWhoisFailuresBeforeSkip);
    QVERIFY(!Read(db_, "gamma.qvtest").DateValue(field::kLastCheckedAt).IsValid());

    LookUp({"gamma.qvtest"});  // skipped: the disabled text, no traffic
    QCOMPARE(silent.connections(), kWhoisFailuresBeforeSkip);
    QCOMPARE(LoadWhoisText("gamma.qvtest"), std::string(kWhoisTemporarilyDisabledText));
    QCOMPARE(engine_->ServerStates().ServerFailCount(kRegistry), 0);

    LookUp({"gamma.qvtest"});  // the server is tried again
    QCOMPARE(silent.connections(), 2 * kWhoisFailuresBeforeSkip);
  }

  void minimumLookup() {
    WhoisTestServer server(WhoisTestServer::Answer(RegisteredAnswer("X.QVTEST")));
    PointSuffixAt("qvtest", kRegistry, server.port());
    InvalidIpList wildcard;
    wildcard.Add("192.0.2.99");
    wildcard.Save();
    QVERIFY(NewEngine(kTickMs, {"up.qvtest", "down.qvtest", "listed.qvtest"}));
    engine_->SetHostResolver([](const std::string& host) -> std::string {
      if (host == "www.up.qvtest") return "192.0.2.7";
      if (host == "www.listed.qvtest") return "192.0.2.99";
      return kDnsErrorAddress;
    });
    engine_->SetQuickWhoisLookup(true);
    QVERIFY(engine_->AddToWhoisQueue("up.qvtest"));
    QCOMPARE(engine_->Queue(QueueKind::Whois).Front(), std::string("up.qvtest:DNS"));
    LookUp({"down.qvtest", "listed.qvtest"});

    QCOMPARE(LoadWhoisText("up.qvtest"), ResolvesToAddressText("192.0.2.7") + "\n[Whois Source: None]");
    QCOMPARE(Field(Read(db_, "up.qvtest"), field::kIp), QStringLiteral("192.0.2.7"));
    for (const char* name : {"down.qvtest", "listed.qvtest"}) {
      const DomainRecord record = Read(db_, name);
      QCOMPARE(Field(record, field::kRegistrar), QStringLiteral("Example Registrar LLC"));
      QCOMPARE(Field(record, field::kWhoisSource), QString::fromLatin1(kRegistry));
    }
    server.Finish();
    std::vector<std::string> queries = server.queries();
    std::sort(queries.begin(), queries.end());
    QCOMPARE(queries, (std::vector<std::string>{"down.qvtest\r\n", "listed.qvtest\r\n"}));
  }

  void unknownServerAnswersWithoutTraffic() {
    QVERIFY(NewEngine(kTickMs, {"lost.qvnowhere"}));
    LookUp({"lost.qvnowhere"});
    QCOMPARE(LoadWhoisText("lost.qvnowhere"), std::string(kUnknownWhoisServerText));
  }

  void stopWhileJobsRun() {
    const std::string answer = RegisteredAnswer("SLOW.QVTEST");
    WhoisTestServer slow(WhoisTestServer::InPieces(answer, 40, 60));
    PointSuffixAt("qvtest", kRegistry, slow.port(), 1);
    QVERIFY(NewEngine(kTickMs, {"slow.qvtest", "next.qvtest"}));
    QVERIFY(engine_->QueueWhoisIfDue("slow.qvtest", 0));
    QVERIFY(engine_->QueueWhoisIfDue("next.qvtest", 0));
    engine_->SchedulerTick();
    QCOMPARE(engine_->WhoisJobCount(), 1);  // one connection at a time to this server
    QVERIFY(engine_->Queue(QueueKind::Whois).Size() >= 1);

    engine_->StopLookups();
    QCOMPARE(engine_->QueuedTotal(), std::size_t(0));
    QCOMPARE(engine_->DnsCheckCount(), 0);
    QCOMPARE(engine_->WhoisJobCount(), 1);
    QVERIFY(engine_->CanStop());
    QVERIFY(WaitFor([this] { return engine_->WhoisJobCount() == 0; }));

    QCOMPARE(Field(Read(db_, "slow.qvtest"), field::kRegistrar), QStringLiteral("Example Registrar LLC"));
    QVERIFY(!Read(db_, "next.qvtest").DateValue(field::kLastCheckedAt).IsValid());
    QVERIFY(engine_->IsIdle());
  }
};

QV_TEST(WhoisFlowTest)
#include "test_whois_flow.moc"
