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
    const std::string stored =
        R"({"objectClassName":"domain","ldhName":"ALPHA.COM.","handle":"D1",)"
        R"("status":["client transfer prohibited","active"],)"
        R"("nameservers":[{"ldhName":"NS1.ALPHA.COM."}],)"
        R"("events":[{"eventAction":"EXPIRATION","eventDate":"2030-01-02"}],)"
        R"("entities":[{"roles":["REGISTRANT"],"vcardArray":["vcard",[["fn",{},"text","Ann"],)"
        R"(["org",{},"text",["Alpha Ltd"]],["email",{},"text","Owner@Alpha.com"]]]},)"
        R"({"roles":["registrar"],"handle":42,"entities":[{"roles":["technical"],)"
        R"("vcardArray":["vcard",[["email",{},"text","tech@reg.example"]]]}]}]})"
        "\n[Whois Source: rdap.example]";
    const qv::WhoisFields f = qv::ParseWhoisFields(stored);
    QCOMPARE(f.source, std::string("rdap.example"));
    QCOMPARE(f.availability, std::string("TAKEN"));
    QCOMPARE(f.status, std::string("CLIENTTRANSFERPROHIBITED, OK"));
    QCOMPARE(f.registrar, std::string("42"));
    QCOMPARE(f.domainId, std::string("D1"));
    QCOMPARE(f.ownerName, std::string("Ann"));
    QCOMPARE(f.organization, std::string("Alpha Ltd"));
    QCOMPARE(f.ownerEmail, std::string("owner@alpha.com"));
    QCOMPARE(f.techEmail, std::string("tech@reg.example"));
    QCOMPARE(f.nameServers, std::vector<std::string>{"ns1.alpha.com"});
    QVERIFY(f.expiryFound && f.expiryDate == qv::Date::FromYmd(2030, 1, 2));
    QVERIFY(!f.createdFound);
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
    QTest::newRow("too large")
        << QByteArray(R"({"ldhName":")") + QByteArray(int(qv::kRdapMaxAnswerBytes), 'a') + "\"}"
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
