// The engine's queues, run, dispatch limits, status texts and queue bar rows,
// without whois traffic.
#include <QSignalSpy>
#include <QTest>

#include "engine_fixture.h"
#include "lookup/answer_files.h"
#include "lookup/lookup_engine.h"
#include "store/domain_list.h"
#include "store/list_query.h"
#include "whois/whois_query.h"
#include "support/test_registry.h"
#include "support/whois_test_server.h"

using namespace qv;
using namespace enginetest;

namespace {

QStringList BarRows(const LookupEngine& engine) {
  QStringList rows;
  for (int i = 0; i < engine.QueueBarRowCount(); ++i) rows << engine.QueueBarRow(i);
  return rows;
}

void SetChecked(DomainDatabase& db, const std::string& name, const Date& when, bool locked = false) {
  DomainRecord record = Read(db, name);
  record.SetDate(field::kLastCheckedAt, when);
  record.SetLocked(locked);
  QVERIFY(db.WriteRecord(record));
}

}  // namespace

class LookupEngineTest : public EngineTest {
  Q_OBJECT

  void NewEngine(const std::vector<std::string>& names) {
    QVERIFY(MakeDocument(db_, names));
    engine_ = std::make_unique<LookupEngine>(&db_, 50);
    engine_->SetHostResolver([](const std::string&) { return std::string(kDnsErrorAddress); });
    engine_->SetWebCheckHooks(WaitingWebChecks());
  }

 private slots:
  void queueRefusesCaseBlindDuplicates_data() {
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::addColumn<bool>("added");
    QTest::newRow("same") << "example.com" << "example.com" << false;
    QTest::newRow("capitals") << "example.com" << "EXAMPLE.Com" << false;
    QTest::newRow("qualifier capitals") << "a.com:DNS" << "A.COM:dns" << false;
    QTest::newRow("other name") << "example.com" << "example.net" << true;
    QTest::newRow("with qualifier") << "example.com" << "example.com:DNS" << true;
  }
  void queueRefusesCaseBlindDuplicates() {
    QFETCH(QString, first);
    QFETCH(QString, second);
    QFETCH(bool, added);
    LookupQueue queue;
    QVERIFY(queue.Add(first.toStdString()));
    QCOMPARE(queue.Add(second.toStdString()), added);
    QCOMPARE(queue.Size(), std::size_t(added ? 2 : 1));
  }

  // Text an older document may hold that is no domain name never reaches a
  // server.
  void engineQueuesOnlyDomainNames() {
    NewEngine({});
    for (const char* junk : {"#", "....", "a", "*.wild.com", "bad..name:DNS"})
      QVERIFY2(!engine_->AddToQueue(QueueKind::Whois, junk), junk);
    QVERIFY(engine_->AddToQueue(QueueKind::Whois, "good.com:whois.example.net"));
    QCOMPARE(engine_->QueuedTotal(), std::size_t(1));
  }

  void takenEntryMayBeQueuedAgain() {
    LookupQueue queue;
    for (const char* name : {"a.com", "b.com"}) QVERIFY(queue.Add(name));
    QCOMPARE(queue.Take(), std::string("a.com"));
    QVERIFY(!queue.Contains("A.COM") && queue.Contains("B.com"));
    QVERIFY(queue.Add("A.COM"));
    QCOMPARE(Entries(queue), (QStringList{"b.com", "A.COM"}));
    queue.Clear();
    QVERIFY(queue.Add("b.com"));
    QCOMPARE(queue.Take(), std::string("b.com"));
    QCOMPARE(queue.Take(), std::string());
  }

  // A name may wait in several queues, once in each; locked names in none.
  void whatIsQueued() {
    NewEngine({"locked.com", "open.com"});
    QVERIFY(engine_->QueueDns("open.com"));
    QVERIFY(engine_->QueuePing("OPEN.com"));
    QVERIFY(!engine_->QueueDns("Open.COM"));
    QCOMPARE(engine_->QueuedTotal(), std::size_t(2));
    SetChecked(db_, "locked.com", Date::Null(), true);
    QVERIFY(!engine_->QueueWhoisIfDue("locked.com", 0));
    for (auto queue : {&LookupEngine::QueueDns, &LookupEngine::QueuePing, &LookupEngine::QueueHomePage,
                       &LookupEngine::QueueLinkPopularity, &LookupEngine::QueueTrademark})
      QVERIFY(!(engine_.get()->*queue)("locked.com"));
    QVERIFY(engine_->QueueWhoisIfDue("open.com", 0));
    QVERIFY(engine_->QueueDns("missing.com"));  // not stored: queued all the same
    QVERIFY(engine_->QueuePing("missing.com"));
    QVERIFY(!engine_->QueueWhoisIfDue("missing.com", 0));
    QVERIFY(!engine_->QueueDns(""));
  }

  void whoisNeedsADocument() {
    LookupEngine engine(static_cast<DomainDatabase*>(nullptr), 50);
    QVERIFY(!engine.AddToWhoisQueue("a.com"));
    QVERIFY(engine.AddWhoisServerLookup("a.com", "whois.example"));
    QVERIFY(!engine.AddWhoisServerLookup("", "whois.example"));
  }

  void needsWhoisLookup_data() {
    QTest::addColumn<double>("checkedMinutesAgo");  // negative: never checked
    QTest::addColumn<int>("gap");
    QTest::addColumn<bool>("locked");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("due");
    QTest::newRow("never checked") << -1.0 << 1440 << false << "" << true;
    QTest::newRow("two days ago") << 2880.0 << 1440 << false << "" << true;
    QTest::newRow("ten minutes ago") << 10.0 << 1440 << false << "" << false;
    QTest::newRow("ten minutes ago, gap 5") << 10.0 << 5 << false << "" << true;
    QTest::newRow("gap of 1 day 2 h 3 min, 1 day 2 h ago") << 1560.0 << 1563 << false << "" << false;
    QTest::newRow("gap of 1 day 2 h 3 min, 1 day 2 h 4 min ago") << 1564.0 << 1563 << false << "" << true;
    QTest::newRow("gap 0, just now") << 0.01 << 0 << false << "" << true;
    QTest::newRow("recent but an error answer")
        << 10.0 << 1440 << false << "Whois Lookup Error: Whois server refused connection.\n" << true;
    QTest::newRow("locked and never checked") << -1.0 << 0 << true << "" << false;
  }
  void needsWhoisLookup() {
    QFETCH(double, checkedMinutesAgo);
    QFETCH(int, gap);
    QFETCH(bool, locked);
    QFETCH(QString, answer);
    QFETCH(bool, due);
    NewEngine({"d.com"});
    const Date checked = checkedMinutesAgo < 0 ? Date::Null() : Date::Now().AddDays(-checkedMinutesAgo / 1440.0);
    SetChecked(db_, "d.com", checked, locked);
    if (!answer.isEmpty()) QVERIFY(SaveWhoisText("d.com", answer.toStdString()));
    QCOMPARE(engine_->NeedsWhoisLookup("d.com", gap), due);
    QVERIFY(!engine_->NeedsWhoisLookup("other.com", gap));
  }

  void runFeedsTwoNamesPerTickAndPaneShowsProgress() {
    NewEngine({"a.com", "b.com", "c.com", "d.com"});
    QVERIFY(RunListQuery(db_));
    LookupRunOptions options;
    options.trademark = true;
    engine_->SetTrademarkNextRequestTime(Date::Now().AddDays(1));  // the queue fills and waits
    engine_->StartListRun(options, {"a.com", "b.com", "c.com", "d.com"});
    QVERIFY(engine_->RunBusy());
    engine_->SchedulerTick();
    QCOMPARE(engine_->StatusPaneText(kQueuePane), QStringLiteral("50% Queued"));
    QCOMPARE(engine_->Queue(QueueKind::Trademark).Size(), std::size_t(2));
    engine_->SchedulerTick();
    QVERIFY(!engine_->RunBusy());
    QCOMPARE((QStringList{engine_->StatusPaneText(kQueuePane), engine_->StatusPaneText(kTotalPane),
                          engine_->StatusPaneText(kDisplayPane), engine_->StatusPaneText(kWorkPane)}),
             (QStringList{"Queue: 4", "Total: NA", "Display: 4", "W:0 D:0 H:0 P:0"}));
    QCOMPARE(BarRows(*engine_), (QStringList{"a.com: TESS", "b.com: TESS", "c.com: TESS", "d.com: TESS"}));
    engine_->StopLookups();
    engine_->SchedulerTick();
    QCOMPARE(engine_->StatusPaneText(kQueuePane), QStringLiteral("Queue: 0"));
  }

  void queryRunFeedsThreeNamesPerTick() {
    NewEngine({"a.com", "b.com", "c.com", "d.com", "e.com"});
    QVERIFY(db_.OpenReadOnly(db_.filter()));
    QVERIFY(FilterList().Load(db_.filter(), "SELECT * FROM [Domains]"));
    LookupRunOptions options;
    options.trademark = true;
    engine_->SetTrademarkNextRequestTime(Date::Now().AddDays(1));
    engine_->StartQueryRun(options, FilterList().Count());
    engine_->SchedulerTick();
    QCOMPARE(Entries(engine_->Queue(QueueKind::Trademark)), (QStringList{"a.com", "b.com", "c.com"}));
    QCOMPARE(engine_->StatusPaneText(kQueuePane), QStringLiteral("60% Queued"));
    engine_->SchedulerTick();
    QCOMPARE(engine_->Queue(QueueKind::Trademark).Size(), std::size_t(5));
    QVERIFY(!engine_->RunBusy());
  }

  void pingDispatchLimits_data() {
    QTest::addColumn<int>("running");
    QTest::addColumn<int>("started");
    QTest::newRow("five running") << 5 << 0;
    QTest::newRow("four running") << 4 << 20;
  }
  void pingDispatchLimits() {
    QFETCH(int, running);
    QFETCH(int, started);
    NewEngine({});
    std::vector<std::string> pinged;
    WebCheckHooks hooks = WaitingWebChecks();
    hooks.runningPings = [running] { return running; };
    hooks.startPing = [&pinged](const std::string& name) {
      pinged.push_back(name);
      return true;
    };
    engine_->SetWebCheckHooks(hooks);
    for (int i = 0; i < 25; ++i) QVERIFY(engine_->QueuePing("p" + std::to_string(i) + ".com"));
    engine_->SchedulerTick();
    QCOMPARE(int(pinged.size()), started);
    QCOMPARE(int(engine_->Queue(QueueKind::Ping).Size()), 25 - started);
  }

  void failedStartGoesToTheBack() {
    NewEngine({});
    WebCheckHooks hooks = WaitingWebChecks();
    int calls = 0;
    hooks.startHomePage = [&calls](const std::string& name) {
      ++calls;
      return name != "busy.com";
    };
    engine_->SetWebCheckHooks(hooks);
    for (const char* name : {"busy.com", "x.com", "y.com"}) QVERIFY(engine_->QueueHomePage(name));
    engine_->SchedulerTick();
    QCOMPARE(calls, 2);  // two entries a tick
    QCOMPARE(Entries(engine_->Queue(QueueKind::HomePage)), (QStringList{"y.com", "busy.com"}));
  }

  void trademarkWaitsForTheSite_data() {
    QTest::addColumn<double>("nextInMinutes");  // NaN: null
    QTest::addColumn<QString>("runningTag");
    QTest::addColumn<int>("started");
    QTest::newRow("ready") << qQNaN() << "" << 2;
    QTest::newRow("next request later") << 5.0 << "" << 0;
    QTest::newRow("next request passed") << -5.0 << "" << 2;
    QTest::newRow("search running") << qQNaN() << "a.com:TESS" << 0;
    QTest::newRow("login running") << qQNaN() << "TESSLOGIN" << 0;
    QTest::newRow("home page running") << qQNaN() << "a.com:HTTP" << 2;
  }
  void trademarkWaitsForTheSite() {
    QFETCH(double, nextInMinutes);
    QFETCH(QString, runningTag);
    QFETCH(int, started);
    NewEngine({});
    int calls = 0;
    WebCheckHooks hooks = WaitingWebChecks();
    hooks.startTrademark = [&calls](const std::string&) { return ++calls > 0; };
    hooks.fetchJobTags = [runningTag] {
      return runningTag.isEmpty() ? std::vector<std::string>{} : std::vector<std::string>{runningTag.toStdString()};
    };
    engine_->SetWebCheckHooks(hooks);
    if (!qIsNaN(nextInMinutes))
      engine_->SetTrademarkNextRequestTime(Date::Now().AddDays(nextInMinutes / 1440.0));
    for (const char* name : {"t1.com", "t2.com", "t3.com"}) QVERIFY(engine_->QueueTrademark(name));
    engine_->SchedulerTick();
    QCOMPARE(calls, started);
  }

  void queueBarRowsInOrder() {
    SetWhoisTimeoutSeconds(1);
    qvtest::WhoisTestServer stalled(qvtest::WhoisTestServer::StallAfter(""));
    PointSuffixAt("qvtest", "127.0.0.1", stalled.port());
    NewEngine({"w.qvtest"});
    engine_->SetHostResolver([](const std::string&) {
      std::this_thread::sleep_for(std::chrono::milliseconds(300));
      return std::string(kDnsErrorAddress);
    });
    WebCheckHooks hooks = WaitingWebChecks();
    hooks.fetchJobTags = [] { return std::vector<std::string>{"h.com:HTTP"}; };
    engine_->SetWebCheckHooks(hooks);
    engine_->SetLookupCount(1);
    QVERIFY(engine_->AddWhoisServerLookup("w.qvtest", "127.0.0.1"));
    engine_->SchedulerTick();  // the whois job starts, one DNS check too
    QVERIFY(engine_->AddWhoisServerLookup("q.qvtest", "127.0.0.1"));
    QVERIFY(engine_->QueueDns("dns1.com"));
    QVERIFY(engine_->QueueDns("dns2.com"));
    engine_->SchedulerTick();  // one more check starts; the rest waits
    QVERIFY(engine_->QueueTrademark("t.com"));
    QVERIFY(engine_->QueueHomePage("h.com"));
    QVERIFY(engine_->QueueLinkPopularity("l.com"));
    QVERIFY(engine_->QueuePing("p.com"));
    QCOMPARE(engine_->WhoisJobCount(), 1);
    QCOMPARE(BarRows(*engine_), (QStringList{"<#!1>w.qvtest:127.0.0.1", "q.qvtest:127.0.0.1",
                                             "<#!1>DNS: www.dns1.com", "DNS: dns2.com",
                                             "<#!1>h.com: HTTP", "t.com: TESS", "h.com: HTTP",
                                             "l.com", "p.com: Ping"}));
    engine_->StopLookups();
    engine_->SetWebCheckHooks({});
    QVERIFY(WaitFor([this] { return engine_->WhoisJobCount() == 0; }));
  }

  void dnsResultsOnePerTick() {
    NewEngine({"one.com", "two.com"});
    std::atomic<bool> open{false};
    engine_->SetHostResolver([&open](const std::string& host) {
      while (!open) std::this_thread::sleep_for(std::chrono::milliseconds(5));
      return std::string(host == "www.one.com" ? "192.0.2.1" : "192.0.2.2");
    });
    for (const char* name : {"one.com", "two.com"}) {
      DomainRecord record = Read(db_, name);
      record.SetText(field::kIp, "old");
      record.SetDate(field::kIpCheckedAt, Date::FromYmd(2020, 1, 1));
      QVERIFY(db_.WriteRecord(record));
      QVERIFY(engine_->QueueDns(name));
    }
    // A row redrawn when the engine says it changed is read the way the list
    // reads it, through a connection of its own: it must see the change.
    QStringList seen;
    connect(engine_.get(), &LookupEngine::recordChanged, this, [this, &seen](const QString& name) {
      DatabaseConnection reader;
      QCOMPARE(reader.OpenDatabase(db_.Path(), true), kDbOk);
      DomainRecord record;
      QVERIFY(reader.ReadDomainRecord(name.toStdString(), record));
      seen << name + "=" + QString::fromStdString(record.Text(field::kIp));
    });
    engine_->SchedulerTick();
    QCOMPARE(seen, (QStringList{"one.com=", "two.com="}));
    QCOMPARE(engine_->DnsCheckCount(), 2);
    for (const char* name : {"one.com", "two.com"}) {
      QCOMPARE(Field(Read(db_, name), field::kIp), QString());
      QVERIFY(Read(db_, name).DateValue(field::kIpCheckedAt).IsNull());
    }
    open = true;
    QVERIFY(WaitFor([this] {
      return engine_->DnsChecks().At(0).IsDone() && engine_->DnsChecks().At(1).IsDone();
    }));
    engine_->SchedulerTick();
    QCOMPARE(Field(Read(db_, "one.com"), field::kIp), QStringLiteral("192.0.2.1"));
    QCOMPARE(Field(Read(db_, "two.com"), field::kIp), QString());
    engine_->SchedulerTick();
    QCOMPARE(Field(Read(db_, "two.com"), field::kIp), QStringLiteral("192.0.2.2"));
    QVERIFY(Read(db_, "two.com").DateValue(field::kIpCheckedAt).IsValid());
    QVERIFY(engine_->IsIdle());
  }

  void stopEmptiesQueuesAndRun() {
    NewEngine({"a.com"});
    int cancelled = 0;
    WebCheckHooks hooks = WaitingWebChecks();
    hooks.fetchJobTags = [] { return std::vector<std::string>{"x.com:HTTP"}; };
    hooks.cancelFetchJobs = [&cancelled] { ++cancelled; };
    engine_->SetWebCheckHooks(hooks);
    LookupRunOptions options;
    options.dns = options.ping = true;
    engine_->StartListRun(options, {"a.com", "b.com", "c.com"});
    QVERIFY(engine_->QueuePing("p.com"));
    QVERIFY(engine_->QueueTrademark("t.com"));
    engine_->SetTrademarkNextRequestTime(Date::Now().AddDays(1));
    QVERIFY(engine_->CanStop());
    engine_->StopLookups();
    QCOMPARE(engine_->QueuedTotal(), std::size_t(0));
    QVERIFY(!engine_->RunBusy());
    QCOMPARE(engine_->Run().total, 0);
    QVERIFY(engine_->TrademarkNextRequestTime().IsNull());
    QCOMPARE(cancelled, 1);
  }

  // A check with no start function is not offered: nothing is queued for it,
  // so a run asking for it leaves the engine idle. Its start function turns
  // it on.
  void kindWithoutStartIsNotOffered() {
    NewEngine({"a.com"});
    engine_->SetWebCheckHooks({});
    for (QueueKind kind : {QueueKind::Ping, QueueKind::HomePage, QueueKind::LinkPopularity, QueueKind::Trademark}) {
      QVERIFY(!engine_->Offers(kind));
      QVERIFY(!engine_->AddToQueue(kind, "a.com"));
    }
    LookupRunOptions options;
    options.ping = options.homePage = options.linkPopularity = options.trademark = true;
    engine_->StartListRun(options, {"a.com"});
    engine_->SchedulerTick();
    QCOMPARE(engine_->QueuedTotal(), std::size_t(0));
    QVERIFY(!engine_->CanStop());
    QVERIFY(!engine_->IsBusy());
    WebCheckHooks hooks;
    hooks.startPing = [](const std::string&) { return false; };
    engine_->SetWebCheckHooks(hooks);
    QVERIFY(engine_->Offers(QueueKind::Ping));
    QVERIFY(engine_->QueuePing("a.com"));
  }

  void idleWorkAndBusySignal() {
    NewEngine({"a.com"});
    int alerts = 0, rescans = 0;
    WebCheckHooks hooks = WaitingWebChecks();
    hooks.sendAlerts = [&alerts] { ++alerts; };
    hooks.runRescans = [&rescans] { ++rescans; };
    engine_->SetWebCheckHooks(hooks);
    QSignalSpy busy(engine_.get(), &LookupEngine::busyChanged);
    QSignalSpy idle(engine_.get(), &LookupEngine::idle);
    QVERIFY(engine_->QueuePing("a.com"));
    engine_->SchedulerTick();
    QCOMPARE(busy.count(), 1);
    QCOMPARE(busy.at(0).at(0).toBool(), true);
    QCOMPARE(alerts + rescans + int(idle.count()), 0);
    engine_->StopLookups();
    engine_->SchedulerTick();
    QCOMPARE(busy.count(), 2);
    QCOMPARE(busy.at(1).at(0).toBool(), false);
    QCOMPARE(alerts, 1);
    QCOMPARE(rescans, 1);
    QCOMPARE(idle.count(), 1);
  }

  void tickInsideATickReturnsAtOnce() {
    NewEngine({});
    int depth = 0, deepest = 0, calls = 0;
    WebCheckHooks hooks = WaitingWebChecks();
    hooks.startHomePage = [&](const std::string&) {
      ++calls;
      deepest = std::max(deepest, ++depth);
      engine_->SchedulerTick();  // as a dialog's event loop would
      --depth;
      return true;
    };
    engine_->SetWebCheckHooks(hooks);
    for (const char* name : {"a.com", "b.com", "c.com"}) QVERIFY(engine_->QueueHomePage(name));
    engine_->SchedulerTick();
    QCOMPARE(calls, 2);
    QCOMPARE(deepest, 1);
    engine_->SchedulerTick();
    QCOMPARE(calls, 3);
  }
};

QV_TEST(LookupEngineTest)
#include "test_lookup_engine.moc"
