// `quorvel lookup`: the engine run without windows against loopback whois
// servers, on a document the test then reads.
#include <QProcess>
#include <QTest>

#include "store/database_connection.h"
#include "platform/date.h"
#include "platform/settings_store.h"
#include "support/http_test_servers.h"
#include "support/program_run.h"
#include "support/temp_folders.h"
#include "support/loopback_directory.h"
#include "support/test_registry.h"
#include "support/rdap_test_server.h"
#include "support/whois_test_server.h"
#include "test_command_support.h"
#include "test_main_frame_support.h"
#include "whois/rdap_directory.h"

using qvtest::WhoisTestServer;

namespace {

using Outcome = qvtest::ProgramOutcome;

Outcome RunLookup(const QStringList& args, const QString& tickVariable = {}) {
  QProcessEnvironment extra;
  if (!tickVariable.isEmpty()) extra.insert(QStringLiteral("QUORVEL_TICK_MS"), tickVariable);
  return qvtest::RunProgram(QStringList{"lookup"} + args, 120000, extra);
}

void PointSuffixAt(int port) { qvtest::PointSuffixAt("qvtest", "127.0.0.1", port); }

QString Stored(const QString& doc, const char* name, const char* field) {
  qv::DomainDatabase db;
  db.SetPath(doc.toStdString());
  return QString::fromStdString(db.GetFieldText(name, field));
}

std::string Answer() {
  return "Domain Name: A.QVTEST\r\nRegistrar: Loopback Registrar LLC\r\n"
         "Creation Date: 2001-02-03T00:00:00Z\r\nRegistry Expiry Date: 2031-04-05T00:00:00Z\r\n"
         "Name Server: NS1.LOOP.TEST\r\n";
}

}  // namespace

class LookupCliTest : public QObject {
  Q_OBJECT
 private slots:
  void init() { qvtest::FreshFolders(); }

  // "RDAP first" (the default): the suffix with an RDAP service is looked
  // up there (plain HTTP here: the program cannot trust a test certificate),
  // the others at their whois server, one connection each.
  void rdapFirstAndWhoisInOneRun() {
    WhoisTestServer whois(WhoisTestServer::Answer(Answer()));
    PointSuffixAt(whois.port());
    const QByteArray answer = qvtest::FileBytes(QV_TEST_DATA_DIR "/rdap-answers/whoisit-1/answer.json");
    qvtest::RdapTestServer rdap(qvtest::RdapTestServer::Tls::None,
                                [&](const QByteArray&) { return qvtest::RdapTestServer::Json(answer); });
    qv::StoreRdapUrlOfSuffix("qvrdap", rdap.stdUrl("/domain/"));
    qvtest::PoliteServer("127.0.0.1:" + std::to_string(rdap.port()));
    const QString doc = qvtest::MakeDocument("names.qvl", {"a.qvtest", "b.qvtest", "example.qvrdap"});
    const Outcome o = RunLookup({doc, "--whois", "--tick", "50"});
    QCOMPARE(o.exitCode, 0);
    QCOMPARE(o.out, QByteArray("3 names looked up, 3 answered, 0 failed\n"));
    for (const char* name : {"a.qvtest", "b.qvtest"}) {
      QCOMPARE(Stored(doc, name, "Registrar"), QStringLiteral("Loopback Registrar LLC"));
      QVERIFY(!Stored(doc, name, "Last Checked At").isEmpty());
    }
    QCOMPARE(Stored(doc, "example.qvrdap", "Registrar"), QStringLiteral("RESERVED-Internet Assigned Numbers Authority"));
    QCOMPARE(Stored(doc, "example.qvrdap", "Expiry Date"), QStringLiteral("13 Aug 2021"));
    QCOMPARE(rdap.paths(), QStringList{"/domain/example.qvrdap"});
    whois.Finish();
    QCOMPARE(whois.connections(), 2);
  }

  void namedNamesOnlyAndSkipsLocked() {
    WhoisTestServer server(WhoisTestServer::Answer(Answer()));
    PointSuffixAt(server.port());
    const QString doc = qvtest::MakeDocument("names.qvl", {"locked.qvtest", "b.qvtest", "c.qvtest"});
    QVERIFY(qvtest::EditRecord(doc, "locked.qvtest", [](qv::DomainRecord& r) { r.SetLocked(true); }));
    const Outcome o = RunLookup({doc, "--whois", "b.qvtest", "locked.qvtest", "missing.qvtest"}, QStringLiteral("50"));
    QCOMPARE(o.exitCode, 0);
    QCOMPARE(o.out, QByteArray("1 names looked up, 1 answered, 0 failed\n"));
    QVERIFY(o.err.contains("locked.qvtest is locked, skipped"));
    QVERIFY(o.err.contains("missing.qvtest is not in the document, skipped"));
    server.Finish();
    QCOMPARE(server.queries(), std::vector<std::string>{"b.qvtest\r\n"});
  }

  // A stored query picks the names: list prints them and lookup looks up
  // just those (a display query's name serves when no lookup query has it).
  void byStoredQuery() {
    WhoisTestServer server(WhoisTestServer::Answer(Answer()));
    PointSuffixAt(server.port());
    const QString doc = qvtest::MakeDocument("names.qvl", {"a.qvtest", "b.qvtest", "c.qvtest"});
    for (const auto& [name, days] : {std::pair{"a.qvtest", 10}, {"b.qvtest", 100}, {"c.qvtest", 5}})
      QVERIFY(qvtest::EditRecord(doc, name, [days](qv::DomainRecord& r) { r.Set("Expiry Date", qv::Date::Now().AddDays(days)); }));
    const QString query = QStringLiteral("About To Expire [Registry]");
    const Outcome listed = qvtest::RunProgram({"list", doc, "--query", query});
    QCOMPARE(listed.exitCode, 0);
    QCOMPARE(listed.out, QByteArray("a.qvtest\nc.qvtest\n"));
    const Outcome o = RunLookup({doc, "--whois", "--query", query}, QStringLiteral("50"));
    QCOMPARE(o.exitCode, 0);
    QCOMPARE(o.out, QByteArray("2 names looked up, 2 answered, 0 failed\n"));
    QCOMPARE(Stored(doc, "b.qvtest", "Last Checked At"), QString());
    server.Finish();
    QCOMPARE(server.connections(), 2);
    for (const char* sub : {"list", "lookup"}) {
      const Outcome missing = qvtest::RunProgram({sub, doc, "--query", "No Such Query"});
      QCOMPARE(missing.exitCode, 1);
      QVERIFY(missing.err.contains("No Such Query"));
    }
  }

  void dnsOnly() {
    const QString doc = qvtest::MakeDocument("names.qvl", {"nothing.invalid"});
    const Outcome o = RunLookup({doc, "--dns", "--tick", "20"});
    QCOMPARE(o.exitCode, 0);
    QCOMPARE(o.out, QByteArray("1 names looked up, 0 answered, 1 failed\n"));
    QCOMPARE(Stored(doc, "nothing.invalid", "IP"), QStringLiteral("Error"));
    QCOMPARE(Stored(doc, "nothing.invalid", "Last Checked At"), QString());
  }

  // --pop asks the one service with an address (the others are named once
  // on stderr); a name whose page failed counts as failed and keeps no count.
  void linkPopularity() {
    qvtest::HttpScriptServer alexa([](const std::string& request) {
      if (request.find("url=alpha.com") == std::string::npos) return qvtest::HttpPage("", "500 Busy");
      return qvtest::HttpPage("<html>Traffic Rank for alpha.com: <a href=\"/r\">1,234</a></html>");
    });
    qv::WriteProfileString(qv::kSettingsSection, "Site Pop Alexa URL", alexa.Url(""));
    const QString doc = qvtest::MakeDocument("names.qvl", {"alpha.com", "beta.com"});
    const Outcome o = RunLookup({doc, "--pop", "--tick", "20"});
    QCOMPARE(o.exitCode, 0);
    QCOMPARE(o.out, QByteArray("2 names looked up, 1 answered, 1 failed\n"));
    QCOMPARE(o.err.count("Google, MSN, AltaVista skipped, not configured"), 1);
    QCOMPARE(Stored(doc, "alpha.com", "Alexa Rank"), QStringLiteral("1234"));
    QCOMPARE(Stored(doc, "beta.com", "Alexa Rank"), QString());
  }

  void refusesBadCommandLines_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("tickVariable");
    QTest::addColumn<int>("exitCode");
    QTest::newRow("no document") << QStringList{"--whois"} << "" << 2;
    QTest::newRow("unknown option") << QStringList{"doc.qvl", "--fast"} << "" << 2;
    QTest::newRow("tick without value") << QStringList{"doc.qvl", "--tick"} << "" << 2;
    QTest::newRow("tick not a number") << QStringList{"doc.qvl", "--tick", "soon"} << "" << 2;
    QTest::newRow("tick variable not a number") << QStringList{"doc.qvl"} << "fast" << 2;
    QTest::newRow("no such document") << QStringList{"missing.qvl", "--tick", "20"} << "" << 1;
  }
  void refusesBadCommandLines() {
    QFETCH(QStringList, args);
    QFETCH(QString, tickVariable);
    QFETCH(int, exitCode);
    qvtest::VerifyRefused(RunLookup(args, tickVariable), exitCode);
  }
};

QV_TEST(LookupCliTest)
#include "test_lookup_cli.moc"
