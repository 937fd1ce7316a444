#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

#include "support/program_run.h"
#include "support/test_registry.h"
#include "test_file_support.h"

namespace {

constexpr const char* kAnswers = QV_TEST_DATA_DIR "/whois-answers/";

struct Outcome {
  int exitCode = -1;
  QJsonObject json;
  QByteArray err;
};

Outcome RunParse(const QStringList& args) {
  const qvtest::ProgramOutcome run = qvtest::RunProgram(QStringList{"parse"} + args, 60000);
  return {run.exitCode, QJsonDocument::fromJson(run.out).object(), run.err};
}

QString Answer(const char* sample) {
  return QString::fromLatin1(kAnswers) + QLatin1String(sample) + QStringLiteral("/answer.txt");
}

// "key=value" a line for each key; lists joined with blanks.
QString Fields(const QJsonObject& json, std::initializer_list<const char*> keys) {
  QStringList lines;
  for (const char* key : keys) {
    const QJsonValue v = json[QLatin1String(key)];
    QStringList items;
    for (const QJsonValue& item : v.toArray()) items << item.toString();
    lines << QLatin1String(key) + '=' + (v.isArray() ? items.join(' ') : v.isNull() ? "null" : v.toString());
  }
  return lines.join('\n');
}

}  // namespace

class ParseCommandTest : public QObject {
  Q_OBJECT
 private slots:
  void comAnswer() {
    const Outcome o = RunParse({"--server", "whois.verisign-grs.com", Answer("likexian-com_google.com")});
    QCOMPARE(o.exitCode, 0);
    QCOMPARE(Fields(o.json, {"source", "availability", "registrar", "referral_server", "created", "expires",
                             "updated", "name_servers", "status", "date_order"}),
             QStringLiteral("source=whois.verisign-grs.com\navailability=TAKEN\nregistrar=MarkMonitor, Inc\n"
                            "referral_server=whois.markmonitor.com\ncreated=1997-09-15\nexpires=2028-09-13\n"
                            "updated=2019-09-09\nname_servers=ns2.google.com ns3.google.com ns4.google.com "
                            "ns1.google.com\nstatus=CLIENTUPDATEPROHIBITED\ndate_order=mmdd"));
  }

  void noMatchAnswer() {
    const Outcome o = RunParse({"--server", "whois.verisign-grs.com",
                                Answer("likexian-notfound-com_likexian-have-no-money-to-register.com")});
    QCOMPARE(o.exitCode, 0);
    QCOMPARE(Fields(o.json, {"availability", "status", "expires", "name_servers"}),
             QStringLiteral("availability=FREE\nstatus=FREE\nexpires=null\nname_servers="));
  }

  // A stored answer keeps its own footer; without one and without --server
  // the answer has no source.
  void footers() {
    const QString stored = qvtest::WorkPath("stored.txt");
    QVERIFY(qvtest::WriteBytes(stored, "Domain: x.test\nStatus: connect\n\n[Whois Source: whois.denic.de]"));
    const Outcome kept = RunParse({"--server", "whois.other.test", stored});
    QCOMPARE(kept.json["source"].toString(), QStringLiteral("whois.denic.de"));
    const Outcome none = RunParse({Answer("likexian-com_google.com")});
    QCOMPARE(none.exitCode, 0);
    QCOMPARE(none.json["source"].toString(), QString());
    QCOMPARE(none.json["availability"].toString(), QStringLiteral("UNKNOWN"));
  }

  void unreadableFile() {
    const Outcome o = RunParse({qvtest::WorkPath("missing.txt")});
    QCOMPARE(o.exitCode, 2);
    QVERIFY(o.err.contains("cannot read"));
    QCOMPARE(RunParse({"--server"}).exitCode, 2);
    // An endless input is refused once it outgrows any answer.
    const Outcome endless = RunParse({"/dev/zero"});
    QCOMPARE(endless.exitCode, 1);
    QVERIFY(endless.err.contains("larger than 16 MiB"));
  }
};

QV_TEST(ParseCommandTest)
#include "test_parse_command.moc"
