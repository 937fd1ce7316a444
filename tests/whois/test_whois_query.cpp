#include <QTest>
#include <netinet/in.h>

#include "platform/settings_store.h"
#include "platform/tcp_socket.h"
#include "support/temp_folders.h"
#include "support/string_lists.h"
#include "support/test_registry.h"
#include "support/whois_test_server.h"
#include "whois/server_directory.h"
#include "whois/whois_query.h"
#include "whois/whois_server_state.h"

using namespace qv;
using qvtest::WhoisTestServer;

Q_DECLARE_METATYPE(std::string)

namespace {

constexpr int kTimeoutMs = 300;

std::string Text(std::size_t length) {
  std::string t;
  while (t.size() < length) t += "Registrant Name: Example Holder\n";
  t.resize(length);
  return t;
}

}  // namespace

// The query client against real sockets on loopback.
class WhoisQueryTest : public QObject {
  Q_OBJECT
 private slots:
  void queryLineReachesServer_data() {
    QTest::addColumn<std::string>("name");
    QTest::addColumn<std::string>("prefix");
    QTest::addColumn<std::string>("line");
    const auto row = [](const char* tag, std::string name, std::string prefix, std::string line) {
      QTest::newRow(tag) << name << prefix << line;
    };
    row("word prefix", "example.com", "domain", "domain example.com\r\n");
    row("empty prefix", "example.com", "", "example.com\r\n");
    row("plain prefix untrimmed", "example.com", " domain ", " domain  example.com\r\n");
    row("{D} trimmed", "example.com", "  ={D}  ", "=example.com\r\n");
    row("{D} twice", "example.com", "{D} / {D}", "example.com / example.com\r\n");
    row("{d} cuts at first dot", "example.co.uk", " name {d} ", "name example\r\n");
    row("{d} without dot", "localhost", "{d}", "localhost\r\n");
    row("{D} wins over {d}", "example.com", "{d} {D}", "{d} example.com\r\n");
    row("placeholders are case-sensitive", "example.com", "{x}", "{x} example.com\r\n");
    row("international name as its a-labels", "m\xc3\xbcnchen.de", "-T dn", "-T dn xn--mnchen-3ya.de\r\n");
    row("125 characters fit", std::string(125, 'a'), "", std::string(125, 'a') + "\r\n");
  }
  void queryLineReachesServer() {
    QFETCH(std::string, name);
    QFETCH(std::string, prefix);
    QFETCH(std::string, line);
    WhoisTestServer server(WhoisTestServer::Answer("Domain Name: X\n"));
    QVERIFY(server.listening());
    std::string out;
    QVERIFY(WhoisQuery(name, "127.0.0.1", prefix, out, server.port(), 2000));
    QCOMPARE(out, std::string("Domain Name: X\n"));
    server.Finish();
    QCOMPARE(server.query(), line);
  }

  // A line that would not fit, or that would carry a second line to the
  // server, is never sent; the lookup fails with an empty output.
  void unsafeOrLongQueryIsRefused_data() {
    QTest::addColumn<std::string>("name");
    QTest::addColumn<std::string>("prefix");
    QTest::newRow("126 characters") << std::string(126, 'a') << std::string();
    QTest::newRow("prefix makes it too long") << std::string(120, 'a') << std::string("domain");
    QTest::newRow("{D} expands past the limit") << std::string(70, 'a') << std::string("{D} {D}");
    QTest::newRow("CR LF in name") << std::string("example.com\r\nsecret") << std::string();
    QTest::newRow("LF in prefix") << std::string("example.com") << std::string("domain\n-x");
    QTest::newRow("CR in {d} prefix") << std::string("example.com") << std::string("{d}\r");
    QTest::newRow("zero byte in name") << std::string("example.com\0more", 16) << std::string();
  }
  void unsafeOrLongQueryIsRefused() {
    QFETCH(std::string, name);
    QFETCH(std::string, prefix);
    WhoisTestServer server(WhoisTestServer::Answer("should not be read"));
    std::string out = "previous";
    QVERIFY(!WhoisQuery(name, "127.0.0.1", prefix, out, server.port(), kTimeoutMs));
    QCOMPARE(out, std::string());
    server.Finish();
    QCOMPARE(server.connections(), 0);
  }

  // How the way the server ends the conversation decides the result; the
  // output is always what the server sent.
  void answerEndings_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<std::string>("sent");
    QTest::addColumn<bool>("result");
    using M = WhoisTestServer::Mode;
    QTest::newRow("answer, close") << int(M::Answer) << Text(400) << true;
    QTest::newRow("answer in pieces") << int(M::AnswerInPieces) << Text(9000) << true;
    QTest::newRow("2501 then stall") << int(M::StallAfter) << Text(2501) << true;
    QTest::newRow("2500 then stall") << int(M::StallAfter) << Text(2500) << false;
    QTest::newRow("nothing then stall") << int(M::StallAfter) << std::string() << false;
    QTest::newRow("database down")
        << int(M::Answer) << std::string("% Sorry, the Whois database is currently down.\n% Try later.\n") << false;
    QTest::newRow("closed without answer") << int(M::CloseWithoutAnswer) << std::string() << false;
    QTest::newRow("reset") << int(M::Reset) << std::string() << false;
  }
  void answerEndings() {
    QFETCH(int, mode);
    QFETCH(std::string, sent);
    QFETCH(bool, result);
    WhoisTestServer server(WhoisTestServer::Script{WhoisTestServer::Mode(mode), sent, 700, 5});
    std::string out = "previous";
    QCOMPARE(WhoisQuery("example.com", "127.0.0.1", "", out, server.port(), kTimeoutMs), result);
    QCOMPARE(out, sent);
  }

  // One byte every 50 ms would take 10 s; the query gives up at its deadline
  // (three receive time-outs) with the little that came, which is too
  // little to count.
  void slowDripEndsAtTheDeadline() {
    const std::string text = Text(200);
    WhoisTestServer server(WhoisTestServer::InPieces(text, 1, 50));
    std::string out;
    QVERIFY(!WhoisQuery("example.com", "127.0.0.1", "", out, server.port(), 200));
    QVERIFY2(out.size() < text.size() / 2, std::to_string(out.size()).c_str());
    QVERIFY(text.starts_with(out));
    QCOMPARE(WhoisQueryDeadlineMs(25000), kWhoisMaxQueryMs);  // never longer than a minute
  }

  // A server still sending at the size limit has not answered.
  void endlessAnswerStopsAtTheLimit() {
    WhoisTestServer server(WhoisTestServer::Endless());
    std::string out;
    QVERIFY(!WhoisQuery("example.com", "127.0.0.1", "", out, server.port(), 2000));
    QCOMPARE(out.size(), kWhoisMaxAnswerBytes);
    QVERIFY(out.starts_with("Registrar WHOIS Server: whois.example.test\n"));
  }

  // Dotted addresses are used by every other test here.
  void serverByHostName() {
    WhoisTestServer server(WhoisTestServer::Answer("Domain Name: EXAMPLE.COM\n"));
    std::string out;
    QVERIFY(WhoisQuery("example.com", "localhost", "", out, server.port(), 2000));
    QCOMPARE(out, std::string("Domain Name: EXAMPLE.COM\n"));
  }

  // A server that cannot be reached gives the client's own answer text; an
  // unusable server or port gives nothing.
  void failuresWithoutAServer_data() {
    QTest::addColumn<std::string>("host");
    QTest::addColumn<int>("port");
    QTest::addColumn<bool>("result");
    QTest::addColumn<std::string>("output");
    const auto row = [](const char* tag, std::string host, int port, bool result, std::string output) {
      QTest::newRow(tag) << host << port << result << output;
    };
    row("refused", "127.0.0.1", WhoisTestServer::UnusedPort(), true,
        "Whois Lookup Error: Whois server refused connection.\n");
    row("no address", "no-such-whois-server.invalid", 43, true,
        "Whois Lookup Error: Whois server is currently not reachable.\n");
    row("empty server leaves output", "", 43, false, "previous");
    row("port out of range", "127.0.0.1", 70000, false, "");
    row("port zero", "127.0.0.1", 0, false, "");
    row("zero byte in server", std::string("127.0.0.1\0x", 11), 43, false, "");
  }
  void failuresWithoutAServer() {
    QFETCH(std::string, host);
    QFETCH(int, port);
    QFETCH(bool, result);
    QFETCH(std::string, output);
    in_addr address{};
    if (host.ends_with(".invalid") && ResolveIPv4(host, address) == SocketError::ResolverFailed)
      QSKIP("the system resolver cannot answer here (no name server reachable)");
    std::string out = "previous";
    QCOMPARE(WhoisQuery("example.com", host, "", out, port, kTimeoutMs), result);
    QCOMPARE(out, output);
  }

  // A stored time-out of zero would mean waiting for ever.
  void zeroTimeoutIsOneSecond() {
    qvtest::FreshFolders();
    QVERIFY(WriteProfileInt(kSettingsSection, "Whois Timeout", 0));
    QCOMPARE(WhoisTimeoutSeconds(), 1);
  }
};

// Admission of lookups by connection count and interval, and the skipping of
// a server that keeps failing.
class WhoisAdmissionTest : public QObject {
  Q_OBJECT

  static constexpr const char* kServer = "whois.example.test";

  // A server record edited by hand, so its limits are the ones given here.
  static void StoreLimits(int maxConnections, int interval) {
    WhoisServerRecord record(kServer, false);
    record.maxConnections = maxConnections;
    record.connectionInterval = interval;
    record.manuallyEdited = 1;
  }

 private slots:
  void init() { qvtest::FreshFolders(); }

  void connectionCount_data() {
    QTest::addColumn<int>("maxConnections");
    QTest::addColumn<QStringList>("inFlight");
    QTest::addColumn<bool>("admitted");
    QTest::newRow("one of one") << 1 << QStringList{kServer} << false;
    QTest::newRow("other servers run") << 1 << QStringList{"whois.other.test", "dns"} << true;
    QTest::newRow("case differs") << 1 << QStringList{"WHOIS.Example.TEST"} << false;
    QTest::newRow("one of two") << 2 << QStringList{kServer, "whois.other.test"} << true;
    QTest::newRow("two of two") << 2 << QStringList{kServer, "Whois.example.test"} << false;
  }
  void connectionCount() {
    QFETCH(int, maxConnections);
    QFETCH(QStringList, inFlight);
    QFETCH(bool, admitted);
    StoreLimits(maxConnections, 10);
    const WhoisServerStateTable states;
    QCOMPARE(MayStartWhois(kServer, qvtest::StdList(inFlight), states), admitted);
  }

  void intervalSinceLastAnswer_data() {
    QTest::addColumn<double>("seconds");
    QTest::addColumn<bool>("failure");
    QTest::addColumn<bool>("admitted");
    QTest::newRow("10 s") << 10.0 << false << false;
    QTest::newRow("10.4 s rounds to 10") << 10.4 << false << false;
    QTest::newRow("10.6 s rounds to 11") << 10.6 << false << true;
    QTest::newRow("after a failure, 10 s") << 10.0 << true << false;
    QTest::newRow("after a failure, 11 s") << 11.0 << true << true;
    QTest::newRow("clock set back an hour") << -3600.0 << false << true;
  }
  void intervalSinceLastAnswer() {
    QFETCH(double, seconds);
    QFETCH(bool, failure);
    QFETCH(bool, admitted);
    // Nothing stored: the automatic record of an unlisted server waits 10 s.
    WhoisServerStateTable states;
    const Date answered = Date::FromParts({2024, 5, 1, 12, 0, 0});
    if (failure)
      states.RecordFailure("WHOIS.EXAMPLE.TEST", answered);
    else
      states.RecordSuccess("WHOIS.EXAMPLE.TEST", answered);
    QCOMPARE(MayStartWhois(kServer, {}, states, answered.AddDays(seconds / 86400.0)), admitted);
  }

  void minimumLookupAlwaysAdmitted() {
    WhoisServerStateTable states;
    const Date now = Date::Now();
    states.RecordFailure("dns", now);
    const std::vector<std::string> running{"dns", "DNS", "Dns"};
    QVERIFY(MayStartWhois("dns", running, states, now));
    QVERIFY(MayStartWhois("DNS", running, states, now));
  }

  void entryIsSplitAtFirstColon_data() {
    QTest::addColumn<QString>("entry");
    QTest::addColumn<int>("action");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("server");
    const auto row = [](const char* entry, WhoisStartAction action, const char* name, const char* server) {
      QTest::newRow(entry) << QString(entry) << int(action) << QString(name) << QString(server);
    };
    row("example.com:whois.example.test", WhoisStartAction::StartWorker, "example.com", "whois.example.test");
    row("example.com:whois.example.test:4343", WhoisStartAction::StartWorker, "example.com", "whois.example.test:4343");
    row("example.com:DNS", WhoisStartAction::StartWorker, "example.com", "DNS");
    row("example.invalidtld", WhoisStartAction::StartWorker, "example.invalidtld", "");
    row(":whois.example.test", WhoisStartAction::Discard, "", "whois.example.test");
  }
  void entryIsSplitAtFirstColon() {
    QFETCH(QString, entry);
    QFETCH(int, action);
    QFETCH(QString, name);
    QFETCH(QString, server);
    const WhoisServerStateTable states;
    const WhoisStartDecision d = DecideWhoisStart(entry.toStdString(), {}, states);
    QCOMPARE(int(d.action), action);
    QCOMPARE(d.name, name.toStdString());
    QCOMPARE(d.server, server.toStdString());
  }

  // An entry without a server takes the one the user set for its suffix,
  // which is still set after lookups used it; while that server is busy the
  // entry goes back to the queue.
  void userServerStaysStored() {
    QVERIFY(WriteDirectString(kCompanyName, kWhoisProduct, "co.uk", "Whois Server", "whois.own.test"));
    const WhoisServerStateTable states;
    for (int lookup = 0; lookup < 2; ++lookup)
      QCOMPARE(DecideWhoisStart("example.co.uk", {}, states).server, std::string("whois.own.test"));
    QCOMPARE(int(DecideWhoisStart("example.co.uk", {"whois.own.test"}, states).action), int(WhoisStartAction::Requeue));
    QCOMPARE(WhoisServerFor("other.co.uk"), std::string("whois.own.test"));
    QCOMPARE(ReadDirectString(kCompanyName, kWhoisProduct, "co.uk", "Whois Server", ""), std::string("whois.own.test"));
  }

  // Four failures in a row: the fifth lookup is answered without contacting
  // the server, the sixth contacts it again. (The lookup engine's tests run
  // the same sequence against a loopback server.)
  void failingServerSkippedOnce() {
    WhoisServerStateTable states;
    Date now = Date::FromParts({2024, 5, 1, 12, 0, 0});
    std::vector<WhoisStartAction> actions;
    for (int lookup = 1; lookup <= 6; ++lookup) {
      now = now.AddDays(60 / 86400.0);
      const WhoisStartDecision d = DecideWhoisStart("example.com:127.0.0.1", {}, states, now);
      actions.push_back(d.action);
      if (d.action == WhoisStartAction::AnswerDisabled) {
        QCOMPARE(d.answer, std::string("Unable to obtain response from the whois server for this domain.\n\n"
                                       "Lookups using this whois server has been temporarily disabled."));
        states.RecordSuccess(d.server, now);
      } else if (d.action == WhoisStartAction::StartWorker) {
        states.RecordFailure(d.server, now);
      }
    }
    using A = WhoisStartAction;
    const std::vector<A> expected{A::StartWorker, A::StartWorker,    A::StartWorker,
                                  A::StartWorker, A::AnswerDisabled, A::StartWorker};
    QCOMPARE(actions, expected);
    QCOMPARE(states.ServerFailCount("127.0.0.1"), 1);
  }
};

QV_TEST(WhoisQueryTest)
QV_TEST(WhoisAdmissionTest)
#include "test_whois_query.moc"
