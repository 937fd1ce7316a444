#include <QTest>

#include "support/program_run.h"
#include "support/temp_folders.h"
#include "support/test_registry.h"
#include "support/whois_test_server.h"
#include "test_command_support.h"
#include "whois/rdap_directory.h"
#include "whois/server_directory.h"

using qvtest::WhoisTestServer;

namespace {

using Outcome = qvtest::ProgramOutcome;

Outcome RunQuorvel(const QStringList& args) {
  return qvtest::RunProgram(QStringList{"whois"} + args, 60000);
}

QString Loopback(int port) { return QStringLiteral("127.0.0.1:%1").arg(port); }

}  // namespace

class WhoisCommandTest : public QObject {
  Q_OBJECT
 private slots:
  void init() { qvtest::FreshFolders(); }

  // The answer is printed byte for byte; --prefix goes before the name.
  void printsTheAnswer() {
    const QByteArray answer = "Domain Name: EXAMPLE.COM\r\nRegistrar: Example \xe9 Registrar\n";
    WhoisTestServer server(WhoisTestServer::Answer(answer.toStdString()));
    const Outcome o =
        RunQuorvel({"--timeout", "5", "--prefix", "domain", "--server", Loopback(server.port()), "example.com"});
    QCOMPARE(o.exitCode, 0);
    QCOMPARE(o.out, answer);
    server.Finish();
    QCOMPARE(server.query(), std::string("domain example.com\r\n"));
  }

  // Without options the prefix and port come from the server's record.
  void prefixAndPortFromServerRecord() {
    WhoisTestServer server(WhoisTestServer::Answer("Domain: example.de\n"));
    {
      qv::WhoisServerRecord record("127.0.0.1", false);
      record.queryPrefix = "-T dn";
      record.port = server.port();
      record.manuallyEdited = 1;
    }
    const Outcome o = RunQuorvel({"--server", "127.0.0.1", "example.de"});
    QCOMPARE(o.exitCode, 0);
    QCOMPARE(o.out, QByteArray("Domain: example.de\n"));
    server.Finish();
    QCOMPARE(server.query(), std::string("-T dn example.de\r\n"));
  }

  void failedQueryExitsWithOne() {
    WhoisTestServer server(WhoisTestServer::StallAfter(std::string(2000, 'x')));
    const Outcome o = RunQuorvel({"--timeout", "1", "--server", Loopback(server.port()), "example.com"});
    QCOMPARE(o.exitCode, 1);
    QCOMPARE(o.out, QByteArray(2000, 'x'));
  }

  void refusedConnectionIsAnAnswer() {
    const Outcome o = RunQuorvel({"--server", Loopback(WhoisTestServer::UnusedPort()), "example.com"});
    QCOMPARE(o.exitCode, 0);
    QCOMPARE(o.out, QByteArray("Whois Lookup Error: Whois server refused connection.\n"));
  }

  void unknownServerExitsWithOne() { qvtest::VerifyRefused(RunQuorvel({"example.invalidtld"}), 1); }

  void usageErrors_data() {
    QTest::addColumn<QStringList>("args");
    QTest::newRow("nothing") << QStringList{};
    QTest::newRow("two names") << QStringList{"a.com", "b.com"};
    QTest::newRow("unknown option") << QStringList{"--port", "43", "a.com"};
    QTest::newRow("server without value") << QStringList{"a.com", "--server"};
    QTest::newRow("port zero") << QStringList{"--server", "127.0.0.1:0", "a.com"};
    QTest::newRow("port too big") << QStringList{"--server", "127.0.0.1:65536", "a.com"};
    QTest::newRow("port not a number") << QStringList{"--server", "127.0.0.1:x", "a.com"};
    QTest::newRow("no host") << QStringList{"--server", ":43", "a.com"};
    QTest::newRow("timeout zero") << QStringList{"--timeout", "0", "a.com"};
    QTest::newRow("timeout not a number") << QStringList{"--timeout", "ten", "a.com"};
    QTest::newRow("which with server") << QStringList{"--which", "--server", "x", "a.com"};
    QTest::newRow("which without name") << QStringList{"--which"};
  }
  void usageErrors() {
    QFETCH(QStringList, args);
    qvtest::VerifyRefused(RunQuorvel(args));
  }

  void whichServer_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("server");  // "*": any non-empty host
    QTest::addColumn<QString>("rdap");
    QTest::addColumn<QString>("override");  // `RDAP URL` stored for the key first
    QTest::newRow("xyz") << "example.xyz" << "xyz" << "*" << "https://rdap.centralnic.com/xyz/domain/" << "";
    QTest::newRow("co.uk override")
        << "example.co.uk" << "co.uk" << "whois.nic.uk" << "https://rdap.example/uk/" << "https://rdap.example/uk/";
    QTest::newRow("unknown suffix") << "example.invalidtld" << "invalidtld" << "" << "" << "";
  }
  void whichServer() {
    QFETCH(QString, name);
    QFETCH(QString, key);
    QFETCH(QString, server);
    QFETCH(QString, rdap);
    QFETCH(QString, override);
    if (!override.isEmpty()) qv::StoreRdapUrlOfSuffix(key.toStdString(), override.toStdString());
    const Outcome o = RunQuorvel({"--which", name});
    QCOMPARE(o.exitCode, 0);
    QVERIFY(o.out.endsWith('\n'));
    const QList<QByteArray> fields = o.out.chopped(1).split('\t');
    QCOMPARE(fields.size(), 3);
    QCOMPARE(QString::fromUtf8(fields[0]), key);
    QCOMPARE(QString::fromUtf8(fields[2]), rdap);
    if (server == QLatin1String("*"))
      QVERIFY(fields[1].contains('.'));
    else
      QCOMPARE(QString::fromUtf8(fields[1]), server);
  }
};

QV_TEST(WhoisCommandTest)
#include "test_whois_command.moc"
