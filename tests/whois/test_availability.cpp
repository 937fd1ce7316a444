#include <QTest>

#include "platform/settings_store.h"
#include "support/temp_folders.h"
#include "support/test_registry.h"
#include "whois/availability.h"

using namespace qv;

namespace {

// A server the built-in tables do not know: no cleanup fragments, no token.
constexpr const char* kPlainServer = "whois.example.test";

std::string Stored(const char* text, const char* server = kPlainServer) {
  return std::string(text) + "\n[Whois Source: " + server + "]";
}

}  // namespace

class AvailabilityTest : public QObject {
  Q_OBJECT
 private slots:
  void init() { qvtest::FreshFolders(); }

  void tokenMatches_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("token");
    QTest::addColumn<bool>("matches");
    QTest::newRow("sentence") << QByteArray("No match for \"EXAMPLE.COM\".") << QByteArray("No match for") << true;
    QTest::newRow("case-sensitive") << QByteArray("no match for \"example.com\".") << QByteArray("No match for") << false;
    QTest::newRow("second alternative") << QByteArray("No domain records were found to match \"x.coop\"")
                                        << QByteArray("No Objects Found|No domain records were found to match") << true;
    QTest::newRow("neither alternative") << QByteArray("Domain: x.coop") << QByteArray("No Objects Found|No domain records were found to match") << false;
    QTest::newRow("blanks around") << QByteArray("NOT FOUND") << QByteArray("  Nothing  |  NOT FOUND  ") << true;
    QTest::newRow("negated, absent") << QByteArray("Domain: x") << QByteArray("~Registrant") << true;
    QTest::newRow("negated, present") << QByteArray("Registrant: Someone") << QByteArray("~Registrant") << false;
    QTest::newRow("A|~B, neither") << QByteArray("Domain: x") << QByteArray("Free now|~Registrant") << true;
    QTest::newRow("A|~B, both") << QByteArray("Free now\nRegistrant: y") << QByteArray("Free now|~Registrant") << true;
    QTest::newRow("A|~B, B only") << QByteArray("Registrant: y") << QByteArray("Free now|~Registrant") << false;
    QTest::newRow("empty alternatives skipped") << QByteArray("NOT FOUND") << QByteArray("||NOT FOUND|") << true;
    QTest::newRow("across a line break") << QByteArray("No entries\nfound") << QByteArray("entries\nfound") << true;
  }
  void tokenMatches() {
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, token);
    QFETCH(bool, matches);
    QCOMPARE(TokenMatches(Stored(text.constData()), token.toStdString()), matches);
  }

  void decideAvailability_data() {
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<QByteArray>("token");
    QTest::addColumn<QString>("verdict");
    const QByteArray taken = QByteArray::fromStdString(Stored("Domain Name: EXAMPLE.COM\nRegistrar: X"));
    QTest::newRow("token found") << QByteArray::fromStdString(Stored("No match for \"X.COM\".")) << QByteArray("No match for") << "Free";
    QTest::newRow("token missed") << taken << QByteArray("No match for") << "Taken";
    QTest::newRow("no source, no server known")
        << QByteArray("I don't know the whois server for this domain.") << QByteArray("No match for") << "ERROR";
    QTest::newRow("no source") << QByteArray("Domain Name: EXAMPLE.COM") << QByteArray("No match for") << "UNKNOWN";
    QTest::newRow("minimum lookup, no token")
        << QByteArray("The domain name resolves to an IP Address (192.0.2.1)\n[Whois Source: None]") << QByteArray() << "Taken";
    QTest::newRow("no token") << QByteArray::fromStdString(Stored("Domain: x\nSome text")) << QByteArray() << "Setup Error";
    // Beyond the token: today's wording of registries whose token is old.
    QTest::newRow("today's sentence, old token")
        << QByteArray::fromStdString(Stored("Domain not found.\n>>> Last update: 2022-07-03 <<<")) << QByteArray("NOT FOUND") << "Free";
    QTest::newRow("today's sentence after a comment mark")
        << QByteArray::fromStdString(Stored("%% NOT FOUND")) << QByteArray("No entries") << "Free";
    QTest::newRow("name is free") << QByteArray::fromStdString(Stored("example.nl is free")) << QByteArray("Zzz") << "Free";
    QTest::newRow("service is free (not a name)")
        << QByteArray::fromStdString(Stored("Use of this service is free")) << QByteArray("Zzz") << "Taken";
    QTest::newRow("sentence inside a line")
        << QByteArray::fromStdString(Stored("If a record is not found, ask us")) << QByteArray("Zzz") << "Taken";
    QTest::newRow("status free, blanks evened")
        << QByteArray::fromStdString(Stored("Status:\t\t  AVAILABLE")) << QByteArray("Zzz") << "Free";
    QTest::newRow("no token, generic phrase") << QByteArray::fromStdString(Stored("Registrar: X")) << QByteArray() << "Taken";
    // A notice among registration data frees nothing; only the token may.
    const QByteArray notice = QByteArray::fromStdString(
        Stored("Domain Name: EXAMPLE.COM\nRegistrar: Example Registrar\nCreation Date: 2001-02-03\n"
               "No match for reserved names list."));
    QTest::newRow("notice, old token") << notice << QByteArray("Zzz") << "Taken";
    QTest::newRow("notice, no token") << notice << QByteArray() << "Taken";
    QTest::newRow("notice, token matches") << notice << QByteArray("No match for") << "Free";
  }
  void decideAvailability() {
    QFETCH(QByteArray, stored);
    QFETCH(QByteArray, token);
    QFETCH(QString, verdict);
    QCOMPARE(QString::fromStdString(DecideAvailability(stored.toStdString(), token.toStdString())), verdict);
  }

  // A server without a token gets its record stored so it can be set up.
  void tokenlessServerIsStored() {
    const std::string answer = Stored("Domain: x", "whois.tokenless.test");
    QVERIFY(!HasDirectValue(kCompanyName, kWhoisProduct, "whois.tokenless.test", "Manually Edited"));
    DecideAvailability(answer, "Some token");
    QVERIFY(!HasDirectValue(kCompanyName, kWhoisProduct, "whois.tokenless.test", "Manually Edited"));
    DecideAvailability(answer, "");
    QVERIFY(HasDirectValue(kCompanyName, kWhoisProduct, "whois.tokenless.test", "Manually Edited"));
    QCOMPARE(ReadDirectInt(kCompanyName, kWhoisProduct, "whois.tokenless.test", "Manually Edited", 9), 0);
  }

  void availabilityCode_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("code");
    QTest::newRow("empty") << "" << 0;
    QTest::newRow("FREE") << "FREE" << 1;
    QTest::newRow("Free") << "Free" << 1;
    QTest::newRow("TAKEN") << "TAKEN" << 2;
    QTest::newRow("SETUP ERROR") << "SETUP ERROR" << 2;
    QTest::newRow("UNKNOWN") << "UNKNOWN" << 2;
    QTest::newRow("ERROR") << "ERROR" << 3;
    QTest::newRow("error") << "error" << 3;
  }
  void availabilityCode() {
    QFETCH(QString, text);
    QFETCH(int, code);
    QCOMPARE(AvailabilityCode(text.toStdString()), code);
  }

  void classifyGeneric_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("verdict");
    const int free = int(GenericVerdict::Free), taken = int(GenericVerdict::Taken),
              undecided = int(GenericVerdict::Undecided);
    QTest::newRow("row 1, upper case") << QByteArray("STATUS:         AVAIL") << free;
    QTest::newRow("row 2 before row 3") << QByteArray("No match for x\nRegistrant: y") << free;
    QTest::newRow("row 3 before row 29") << QByteArray("Registrant: y\nnot found") << taken;
    QTest::newRow("pair, both") << QByteArray("Nameservers x\nAdmin Contact y") << taken;
    QTest::newRow("pair, first only") << QByteArray("nameservers: x\nno match") << free;
    QTest::newRow("row 17 at the end of the text") << QByteArray("example.se is active") << taken;
    QTest::newRow("row 17 needs the line end") << QByteArray("example.se is active today") << undecided;
    QTest::newRow("row 24, Latin-1") << QByteArray("Respons\xe1vel administrativo: x\nno match") << taken;
    QTest::newRow("row 24, UTF-8") << QByteArray("respons\xc3\xa1vel administrativo: x\nno match") << taken;
    QTest::newRow("row 24, UTF-8 capital") << QByteArray("RESPONS\xc3\x81VEL ADMINISTRATIVO: x\nno match") << taken;
    QTest::newRow("row 35 pair") << QByteArray("Domain name x.cl does not exist!") << free;
    QTest::newRow("row 37, .au check server")
        << QByteArray("x\r\nAvailable example.com.au\r\nwhois-check.ausregistry.net.au") << free;
    QTest::newRow("row 14 before row 37")
        << QByteArray("x\r\nNot Available example.com.au\r\nwhois-check.ausregistry.net.au") << taken;
    QTest::newRow("nothing") << QByteArray("Hello") << undecided;
  }
  void classifyGeneric() {
    QFETCH(QByteArray, text);
    QFETCH(int, verdict);
    QCOMPARE(int(ClassifyAnswerGeneric(text.toStdString())), verdict);
  }
};

QV_TEST(AvailabilityTest)
#include "test_availability.moc"
