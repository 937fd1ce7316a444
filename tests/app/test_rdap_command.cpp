// `quorvel parse --rdap` on the real RDAP answers and `quorvel rdap` against
// a loopback RDAP server.
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

#include "support/program_run.h"
#include "support/rdap_expected.h"
#include "support/rdap_test_server.h"
#include "support/temp_folders.h"
#include "support/test_registry.h"
#include "test_command_support.h"

namespace {

QString Answers() { return QStringLiteral(QV_TEST_DATA_DIR "/rdap-answers"); }

QJsonObject JsonOf(const QByteArray& out) { return QJsonDocument::fromJson(out).object(); }

QJsonArray Sorted(const QJsonArray& list) {
  QStringList texts;
  for (const QJsonValue& v : list) texts << v.toString();
  texts.sort();
  return QJsonArray::fromStringList(texts);
}

}  // namespace

class RdapCommandTest : public QObject {
  Q_OBJECT
 private slots:
  void init() { qvtest::FreshFolders(); }

  // What the printed object says, field by field, against expected.json.
  void parseRealAnswers_data() {
    QTest::addColumn<QString>("name");
    for (const qvtest::RdapCase& c : qvtest::LoadRdapCases(Answers())) QTest::newRow(qPrintable(c.name)) << c.name;
  }
  void parseRealAnswers() {
    QFETCH(QString, name);
    const QString folder = Answers() + "/" + name;
    const qvtest::ProgramOutcome run = qvtest::RunProgram({"parse", "--rdap", folder + "/answer.json"}, 60000);
    QCOMPARE(run.exitCode, 0);
    const QJsonObject j = JsonOf(run.out);
    const QJsonObject e = JsonOf(qvtest::FileBytes(folder + "/expected.json"));
    for (const char* key : {"domain", "registrar", "registrar_iana_id", "created", "expires", "updated", "emails"})
      QVERIFY2(j[key] == e[key], key);
    QCOMPARE(j["status_list"], e["status"]);
    QCOMPARE(Sorted(j["name_servers"].toArray()), e["name_servers"].toArray());
    QCOMPARE(j["availability"].toString(), QStringLiteral("TAKEN"));
  }

  void parseStoredAndBadFiles() {
    const QString stored = qvtest::WorkFile(
        "stored.txt", qvtest::FileBytes(Answers() + "/whoisit-4/answer.json") + "\n[Whois Source: rdap.verisign.com]");
    qvtest::ProgramOutcome run = qvtest::RunProgram({"parse", "--rdap", stored}, 60000);
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(JsonOf(run.out)["source"].toString(), QStringLiteral("rdap.verisign.com"));

    QVERIFY(qvtest::WriteBytes(stored, "[\"not\", \"an object\"]"));
    run = qvtest::RunProgram({"parse", "--rdap", stored}, 60000);
    QCOMPARE(run.exitCode, 1);
    QVERIFY(run.err.contains("not a JSON object"));
  }

  void rdapQuery_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("availability");  // "raw": the body as served
    QTest::newRow("answer") << QStringList{"google.com"} << 0 << "TAKEN";
    QTest::newRow("raw") << QStringList{"--raw", "google.com"} << 0 << "raw";
    QTest::newRow("free") << QStringList{"free.com"} << 0 << "FREE";
    QTest::newRow("busy") << QStringList{"busy.com"} << 1 << "";
    QTest::newRow("no name") << QStringList{} << 2 << "";
    QTest::newRow("two names") << QStringList{"alpha.com", "beta.com"} << 2 << "";
    QTest::newRow("bad option") << QStringList{"--fast", "alpha.com"} << 2 << "";
  }
  void rdapQuery() {
    QFETCH(QStringList, args);
    QFETCH(int, exitCode);
    QFETCH(QString, availability);
    const QByteArray answer = qvtest::FileBytes(Answers() + "/whoisit-5/answer.json");
    qvtest::RdapTestServer server(qvtest::RdapTestServer::Tls::None, [&](const QByteArray& path) {
      if (path == "/domain/google.com") return qvtest::RdapTestServer::Json(answer);
      if (path == "/domain/busy.com") return qvtest::HttpReply{429, "", {{"Retry-After", "3"}}, true};
      return qvtest::RdapTestServer::NotFound();
    });
    const qvtest::ProgramOutcome run = qvtest::RunProgram(
        QStringList{"rdap", "--url", server.url("/domain/")} + args, 60000);
    QCOMPARE(run.exitCode, exitCode);
    if (availability == QLatin1String("raw")) {
      QCOMPARE(run.out.trimmed(), answer.trimmed());
    } else if (!availability.isEmpty()) {
      const QJsonObject j = JsonOf(run.out);
      QCOMPARE(j["availability"].toString(), availability);
      QCOMPARE(j["source"].toString(), QStringLiteral("127.0.0.1"));
    } else {
      qvtest::VerifyRefused(run, exitCode);
    }
  }
};

QV_TEST(RdapCommandTest)
#include "test_rdap_command.moc"
