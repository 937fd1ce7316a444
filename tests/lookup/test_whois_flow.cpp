// End-to-end lookups through the engine against whois servers on loopback:
// names under test suffixes whose servers are stored in the directory.
#include <QTest>
#include <QTimer>

#include "engine_fixture.h"
#include "lookup/answer_files.h"
#include "lookup/lookup_engine.h"
#include "support/temp_folders.h"
#include "support/test_registry.h"
#include "support/whois_test_server.h"
#include "whois/server_directory.h"
#include "whois/whois_date.h"
#include "whois/whois_query.h"

using namespace qv;
using namespace enginetest;
using qvtest::WhoisTestServer;

namespace {

constexpr int kTickMs = 50;
constexpr const char* kRegistry = "127.0.0.1";
constexpr const char* kRegistrar = "localhost";

Date Day(int y, int m, int d) { return Date::FromYmd(y, m, d); }

}  // namespace

class WhoisFlowTest : public EngineTest {
  Q_OBJECT

 private slots:
  void init() { Reset(); }
  void cleanup() { Close(); }

  void fullRunFillsRecords() {
    WhoisTestServer taken(WhoisTestServer::Answer(RegisteredAnswer(Reg("ALPHA.QVTEST"))));
    WhoisTestServer free(WhoisTestServer::Answer("No match for \"FREE.QVFREE\".\r\n"));
    PointSuffixAt("qvtest", kRegistry, taken.port());
    PointSuffixAt("qvfree", kRegistrar, free.port());
    {
      WhoisServerRecord record(kRegistrar, false);
      record.tokenWhenFree = "No match for";
    }
    QVERIFY(MakeDocument(db_, {"alpha.qvtest", "free.qvfree"}));
    NewEngine(kTickMs);
    LookUp({"alpha.qvtest", "free.qvfree"});

    const DomainRecord alpha = Read(db_, "alpha.qvtest");
    const std::pair<const char*, QString> filled[] = {
        {field::kRegistrar, "Example Registrar LLC"},  {field::kCreatedOn, "1999-03-04 00:00:00"},
        {field::kExpiryDate, "2030-08-13 00:00:00"},   {field::kRegistrarExpiry, "2030-08-13 00:00:00"},
        {field::kLastUpdate, "2023-08-14 00:00:00"},   {field::kAvailability, "TAKEN"},
        {field::kWhoisSource, kRegistry},              {field::kIp, "192.0.2.1"}};  // IP: Auto DNS Lookup
    for (const auto& [name, value] : filled) QCOMPARE(Field(alpha, name), value);
    QCOMPARE(Field(alpha, field::kNs1).toLower() + " " + Field(alpha, field::kNs2).toLower(),
             QStringLiteral("ns1.example.net ns2.example.net"));
    QVERIFY(alpha.DateValue(field::kLastCheckedAt).IsValid());
    QVERIFY(LoadWhoisText("alpha.qvtest").ends_with("\n[Whois Source: 127.0.0.1]"));
    QVERIFY(LoadWhoisText("alpha.qvtest").starts_with("Domain Name: ALPHA.QVTEST"));

    const DomainRecord free1 = Read(db_, "free.qvfree");
    QCOMPARE(Field(free1, field::kAvailability), QStringLiteral("FREE"));
    QCOMPARE(Field(free1, field::kRegistrar), QString());
    QVERIFY(!free1.DateValue(field::kExpiryDate).IsValid());

    taken.Finish();
    QCOMPARE(taken.queries(), std::vector<std::string>{"alpha.qvtest\r\n"});
    QVERIFY(!std::filesystem::exists(log_));  // a first lookup logs nothing
  }

  void referralFollowedAndLoggedAgainstFirstSnapshot() {
    Registration registry = Reg("BETA.QVTEST");
    registry.referral = kRegistrar;
    WhoisTestServer registryServer(WhoisTestServer::Answer(RegisteredAnswer(registry)));
    Registration registrar = Reg("BETA.QVTEST");
    registrar.registrar = "Registrar Two LLC";
    registrar.expiry = "2029-01-02T03:04:05Z";
    auto registrarServer = std::make_unique<WhoisTestServer>(
        WhoisTestServer::Answer(RegisteredAnswer(registrar)));
    PointSuffixAt("qvtest", kRegistry, registryServer.port());
    PointSuffixAt("qvregistrar", kRegistrar, registrarServer->port());
    QVERIFY(MakeDocument(db_, {"beta.qvtest"}));
    NewEngine(kTickMs);
    LookUp({"beta.qvtest"});

    DomainRecord beta = Read(db_, "beta.qvtest");
    QCOMPARE(Field(beta, field::kMultiLookup).toLower(), QStringLiteral("yes"));
    QCOMPARE(Field(beta, field::kWhoisServer), QString::fromLatin1(kRegistrar));
    QCOMPARE(Field(beta, field::kWhoisSource), QString::fromLatin1(kRegistrar));
    QCOMPARE(Field(beta, field::kExpiryDate), QStringLiteral("2030-08-13 00:00:00"));
    QCOMPARE(Field(beta, field::kRegistrarExpiry), QStringLiteral("2029-01-02 00:00:00"));
    QCOMPARE(registrarServer->queries(), std::vector<std::string>{"beta.qvtest\r\n"});
    QVERIFY(!std::filesystem::exists(log_));

    // Second run: the registry says the same, the registrar has renewed.
    registrar.expiry = "2032-01-02T03:04:05Z";
    registrarServer = std::make_unique<WhoisTestServer>(
        WhoisTestServer::Answer(RegisteredAnswer(registrar)));
    SetServerPort(kRegistrar, registrarServer->port());
    const Date lookedUpAt = Date::FromParts({2024, 6, 7, 8, 9, 10});
    engine_->Updater().SetClock([lookedUpAt] { return lookedUpAt; });
    LookUp({"beta.qvtest"});

    const std::string expected = "Domain: beta.qvtest, Lookup: " + DateTimeText(lookedUpAt) +
                                 "\r\n"
                                 "Registrar Expiry Date Different (Old:" + DateText(Day(2029, 1, 2)) +
                                 " New:" + DateText(Day(2032, 1, 2)) + ")\r\n"
                                 "\r\n";
    QCOMPARE(FileText(log_), expected);
    QCOMPARE(engine_->Alerts().size(), std::size_t(1));
    QCOMPARE(engine_->Snapshots().size(), std::size_t(0));
    registryServer.Finish();
    QCOMPARE(registryServer.queries().size(), std::size_t(2));
  }

  // Two servers that name each other: each is asked once.
  void referralsThatGoRoundStop() {
    Registration first = Reg("LOOP.QVTEST");
    first.referral = kRegistrar;
    Registration second = Reg("LOOP.QVTEST");
    second.referral = kRegistry;
    WhoisTestServer registry(WhoisTestServer::Answer(RegisteredAnswer(first)));
    WhoisTestServer registrar(WhoisTestServer::Answer(RegisteredAnswer(second)));
    PointSuffixAt("qvtest", kRegistry, registry.port());
    PointSuffixAt("qvregistrar", kRegistrar, registrar.port());
    QVERIFY(MakeDocument(db_, {"loop.qvtest"}));
    NewEngine(kTickMs);
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
      Registration hop = Reg("HOP.QVTEST");
      if (i + 1 < std::size(hosts)) hop.referral = hosts[i + 1];
      servers.push_back(std::make_unique<WhoisTestServer>(WhoisTestServer::Answer(RegisteredAnswer(hop))));
      PointSuffixAt(i == 0 ? "qvtest" : "qvhop" + std::to_string(i), hosts[i], servers[i]->port());
    }
    QVERIFY(MakeDocument(db_, {"hop.qvtest"}));
    NewEngine(kTickMs);
    LookUp({"hop.qvtest"});
    for (std::size_t i = 0; i < servers.size(); ++i) {
      servers[i]->Finish();
      QCOMPARE(servers[i]->connections(), i <= 3 ? 1 : 0);  // the registry and three referrals
    }
    QCOMPARE(engine_->Snapshots().size(), std::size_t(0));
  }

  // A server that fails (resets, closes without a byte, refuses) leaves what
  // the last answer brought in place.
  void failingServerKeepsRegistration_data() {
    QTest::addColumn<int>("mode");  // -1: nothing listens
    QTest::newRow("reset") << int(WhoisTestServer::Mode::Reset);
    QTest::newRow("closed without a byte") << int(WhoisTestServer::Mode::CloseWithoutAnswer);
    QTest::newRow("refused") << -1;
  }
  void failingServerKeepsRegistration() {
    QFETCH(int, mode);
    WhoisTestServer good(WhoisTestServer::Answer(RegisteredAnswer(Reg("KEEP.QVTEST"))));
    PointSuffixAt("qvtest", kRegistry, good.port());
    QVERIFY(MakeDocument(db_, {"keep.qvtest"}));
    NewEngine(kTickMs);
    LookUp({"keep.qvtest"});
    const DomainRecord before = Read(db_, "keep.qvtest");
    QCOMPARE(Field(before, field::kRegistrar), QStringLiteral("Example Registrar LLC"));

    WhoisTestServer bad(WhoisTestServer::Script{WhoisTestServer::Mode(std::max(mode, 0)), {}});
    SetServerPort(kRegistry, mode < 0 ? WhoisTestServer::UnusedPort() : bad.port());
    LookUp({"keep.qvtest"});
    const DomainRecord after = Read(db_, "keep.qvtest");
    for (const char* name : {field::kRegistrar, field::kExpiryDate, field::kRegistrarExpiry,
                             field::kCreatedOn, field::kNs1, field::kStatus, field::kAvailability,
                             field::kLastCheckedAt})
      QCOMPARE(Field(after, name), Field(before, name));
  }

  // While a lookup runs nothing of the record is written, so a process
  // killed then loses nothing; and a result for a document that is no longer
  // open is dropped.
  void lookupInFlight() {
    WhoisTestServer good(WhoisTestServer::Answer(RegisteredAnswer(Reg("SAME.QVTEST"))));
    PointSuffixAt("qvtest", kRegistry, good.port());
    QVERIFY(MakeDocument(db_, {"same.qvtest"}));
    NewEngine(kTickMs);
    LookUp({"same.qvtest"});
    const QString registrar = Field(Read(db_, "same.qvtest"), field::kRegistrar);
    QVERIFY(!registrar.isEmpty());

    WhoisTestServer slow(WhoisTestServer::InPieces(RegisteredAnswer(Reg("SAME.QVTEST")), 40, 60));
    SetServerPort(kRegistry, slow.port());
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
    QVERIFY(MakeDocument(db_, {"gamma.qvtest"}));
    NewEngine(kTickMs);

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
    WhoisTestServer server(WhoisTestServer::Answer(RegisteredAnswer(Reg("X.QVTEST"))));
    PointSuffixAt("qvtest", kRegistry, server.port());
    QVERIFY(MakeDocument(db_, {"up.qvtest", "down.qvtest", "listed.qvtest"}));
    InvalidIpList wildcard;
    wildcard.Add("192.0.2.99");
    wildcard.Save();
    NewEngine(kTickMs);
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
    QVERIFY(MakeDocument(db_, {"lost.qvnowhere"}));
    NewEngine(kTickMs);
    LookUp({"lost.qvnowhere"});
    QCOMPARE(LoadWhoisText("lost.qvnowhere"), std::string(kUnknownWhoisServerText));
  }

  void stopWhileJobsRun() {
    const std::string answer = RegisteredAnswer(Reg("SLOW.QVTEST"));
    WhoisTestServer slow(WhoisTestServer::InPieces(answer, 40, 60));
    PointSuffixAt("qvtest", kRegistry, slow.port(), 1);
    QVERIFY(MakeDocument(db_, {"slow.qvtest", "next.qvtest"}));
    NewEngine(kTickMs);
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

  // Three hostile servers at once: one streams without end, one sends
  // binary garbage, one never says a word. The tick returns with all three
  // lookups running; the first two end on this thread (the endless one as a
  // failure, nothing stored) while the silent one is still waiting for its
  // time-out.
  void hostileServersNeverBlock() {
    SetWhoisTimeoutSeconds(5);
    std::string garbage;
    for (int i = 0; i < 6000; ++i) garbage += char((i * 7919) % 256);
    WhoisTestServer endless(WhoisTestServer::Endless());
    WhoisTestServer junk(WhoisTestServer::Answer(garbage));
    WhoisTestServer silent(WhoisTestServer::StallAfter(""));
    PointSuffixAt("qvendless", "127.0.0.1", endless.port());
    PointSuffixAt("qvjunk", "127.1", junk.port());  // the same loopback address, another host text
    PointSuffixAt("qvsilent", "127.0.1", silent.port());
    QVERIFY(MakeDocument(db_, {"e.qvendless", "j.qvjunk", "s.qvsilent"}));
    NewEngine(kTickMs);
    std::set<QString> done, answered;
    connect(engine_.get(), &LookupEngine::whoisCompleted, this,
            [&done, &answered](const QString& name, bool ok) {
              done.insert(name);
              if (ok) answered.insert(name);
            });
    for (const char* name : {"e.qvendless", "j.qvjunk", "s.qvsilent"})
      QVERIFY(engine_->QueueWhoisIfDue(name, 0));

    engine_->SchedulerTick();
    QCOMPARE(engine_->WhoisJobCount(), 3);
    QVERIFY(WaitFor([&done] { return done.contains("e.qvendless") && done.contains("j.qvjunk"); }));
    QVERIFY(!done.contains("s.qvsilent"));
    QCOMPARE(engine_->WhoisJobCount(), 1);

    QVERIFY(!answered.contains("e.qvendless"));
    QVERIFY(LoadWhoisText("e.qvendless").empty());
    QVERIFY(Read(db_, "j.qvjunk").DateValue(field::kLastCheckedAt).IsValid());

    QVERIFY(WaitFor([&done] { return done.contains("s.qvsilent"); }));
    engine_->StopLookups();  // drops the retry of the silent server
    QVERIFY(engine_->IsIdle());
  }
};

QV_TEST(WhoisFlowTest)
#include "test_whois_flow.moc"
