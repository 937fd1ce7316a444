// Reading RDAP answers: what the record update takes from a stored answer,
// and answers that are no RDAP domain object at all. (The real answers are
// checked through `quorvel parse --rdap`, tests/app/test_rdap_command.cpp.)
#include <QtTest>

#include "support/test_registry.h"
#include "whois/rdap_answer.h"
#include "whois/whois_fields.h"

class RdapAnswers : public QObject {
  Q_OBJECT
 private slots:
  // What the record update gets from a stored answer: the footer's host, the
  // status in the whois spelling, the registrant's contacts by role.
  void storedAnswerFields() {
    const std::string stored = R"({"objectClassName":"domain","ldhName":"ALPHA.COM.","handle":"D1",)"
        R"("status":["client transfer prohibited","active"],)"
        R"("nameservers":[{"ldhName":"NS1.ALPHA.COM."}],)"
        R"("events":[{"eventAction":"EXPIRATION","eventDate":"2030-01-02"}],)"
        R"("entities":[{"roles":["REGISTRANT"],"vcardArray":["vcard",[["fn",{},"text","Ann"],)"
        R"(["org",{},"text",["Alpha Ltd"]],["email",{},"text","Owner@Alpha.com"]]]},)"
        R"({"roles":["registrar"],"handle":42,"entities":[{"roles":["technical"],)"
        R"("vcardArray":["vcard",[["email",{},"text","tech@reg.example"]]]}]}]})"
        "\n[Whois Source: rdap.example]";
    const qv::WhoisFields f = qv::ParseWhoisFields(stored);
    const std::string got = f.source + " | " + f.availability + " | " + f.status + " | " + f.registrar + " | " +
                            f.domainId + " | " + f.ownerName + " | " + f.organization + " | " + f.ownerEmail +
                            " | " + f.techEmail + " | " + std::to_string(f.nameServers.size()) + " " +
                            (f.nameServers.empty() ? "" : f.nameServers[0]) + " | " + std::to_string(f.createdFound);
    QCOMPARE(got, std::string("rdap.example | TAKEN | CLIENTTRANSFERPROHIBITED, OK | 42 | D1 | Ann | Alpha Ltd | "
                              "owner@alpha.com | tech@reg.example | 1 ns1.alpha.com | 0"));
    QVERIFY(f.expiryFound && f.expiryDate == qv::Date::FromYmd(2030, 1, 2));
  }

  // The handle's text: numbers that are no exact integer written as Qt
  // writes them, Unicode blanks trimmed, nesting too deep for the fast
  // reader. (That the fast reader reads what QJsonDocument reads is checked
  // on every input by fuzz_rdap_json.)
  void readAsQtReadsIt_data() {
    QTest::addColumn<QByteArray>("handle");  // the JSON of the handle's value
    QTest::addColumn<QString>("expected");
    QTest::newRow("text") << QByteArray(R"("D1")") << "D1";
    QTest::newRow("Unicode blanks") << QByteArray(R"("\u00a0D1\u2003")") << "D1";
    QTest::newRow("integer") << QByteArray("-42") << "-42";
    QTest::newRow("fraction") << QByteArray("42.9") << "42.9";
    QTest::newRow("exponent") << QByteArray("4.2e1") << "42";
    QTest::newRow("20 digits") << QByteArray("12345678901234567890") << "12345678901234567000";
    QTest::newRow("deep") << QByteArray(R"("D1","x":)") + QByteArray(200, '[') + QByteArray(200, ']') << "D1";
  }
  void readAsQtReadsIt() {
    QFETCH(QByteArray, handle);
    QFETCH(QString, expected);
    const QByteArray body = R"({"ldhName":"alpha.com","handle":)" + handle + "}";
    const qv::RdapReading reading = qv::ReadRdapAnswer(body.toStdString());
    QCOMPARE(QString::fromStdString(reading.error), QString());
    QCOMPARE(QString::fromStdString(reading.answer.handle), expected);
  }

  void notAnswers_data() {
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QString>("error");  // a part of the failure text; empty: not registered
    QTest::newRow("404 object") << QByteArray(R"({"errorCode":404,"title":"Not Found"})") << QString();
    QTest::newRow("other error") << QByteArray(R"({"errorCode":500,"title":"Oops"})") << "error 500 (Oops)";
    QTest::newRow("404 as 404.0") << QByteArray(R"({"errorCode":404.0})") << QString();
    QTest::newRow("code not a whole number") << QByteArray(R"({"errorCode":404.5})") << "error 404.5.";
    QTest::newRow("code out of range") << QByteArray(R"({"errorCode":1e300})") << "error 1e+300.";
    QTest::newRow("malformed") << QByteArray("{\"ldhName\": ") << "not valid JSON";
    QTest::newRow("array") << QByteArray("[1,2]") << "not a JSON object";
    QTest::newRow("string") << QByteArray("\"domain\"") << "The RDAP answer is not";
    QTest::newRow("no domain") << QByteArray(R"({"objectClassName":"entity"})") << "not a domain object";
    QTest::newRow("deep") << QByteArray(10000, '[') + QByteArray(10000, ']') << "not valid JSON";
    QTest::newRow("deep object") << "{\"a\":" + QByteArray(10000, '[') << "not valid JSON";
    QTest::newRow("text after a NUL") << QByteArray("{\"ldhName\":\"alpha.com\"}\0x", 25) << "not valid JSON";
    QTest::newRow("bad UTF-8") << QByteArray("{\"ldhName\":\"alpha\xC3.com\"}") << "not valid JSON";
    QTest::newRow("too large") << QByteArray(R"({"ldhName":")") + QByteArray(int(qv::kRdapMaxAnswerBytes), 'a') + "\"}"
        << "larger than 1 MiB";
  }
  void notAnswers() {
    QFETCH(QByteArray, body);
    QFETCH(QString, error);
    const qv::RdapReading reading = qv::ReadRdapAnswer(body.toStdString());
    const QString got = QString::fromStdString(reading.error);
    if (error.isEmpty()) {
      QCOMPARE(got, QString());
      QVERIFY(!reading.answer.registered);
    } else {
      QVERIFY2(got.contains(error), qPrintable(got));
    }
  }
};

QV_TEST(RdapAnswers)
#include "test_rdap_answers.moc"
