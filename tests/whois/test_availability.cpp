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
    const auto row = [](const char* tag, const char* text, const char* token, bool matches) {
      QTest::newRow(tag) << QByteArray(text) << QByteArray(token) << matches;
    };
    const char* coop = "No Objects Found|No domain records were found to match";
    row("sentence", "No match for \"EXAMPLE.COM\".", "No match for", true);
    row("case-sensitive", "no match for \"example.com\".", "No match for", false);
    row("second alternative", "No domain records were found to match \"x.coop\"", coop, true);
    row("neither alternative", "Domain: x.coop", coop, false);
    row("blanks around", "NOT FOUND", "  Nothing  |  NOT FOUND  ", true);
    row("negated, absent", "Domain: x", "~Registrant", true);
    row("negated, present", "Registrant: Someone", "~Registrant", false);
    row("A|~B, neither", "Domain: x", "Free now|~Registrant", true);
    row("A|~B, both", "Free now\nRegistrant: y", "Free now|~Registrant", true);
    row("A|~B, B only", "Registrant: y", "Free now|~Registrant", false);
    row("empty alternatives skipped", "NOT FOUND", "||NOT FOUND|", true);
    row("across a line break", "No entries\nfound", "entries\nfound", true);
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
    // Answers get the plain server's footer unless they start with "!".
    const auto row = [](const char* tag, const char* answer, const char* token, const char* verdict) {
      const std::string stored = answer[0] == '!' ? std::string(answer + 1) : Stored(answer);
      QTest::newRow(tag) << QByteArray::fromStdString(stored) << QByteArray(token) << QString(verdict);
    };
    row("token found", "No match for \"X.COM\".", "No match for", "Free");
    row("token missed", "Domain Name: EXAMPLE.COM\nRegistrar: X", "No match for", "Taken");
    row("no source, no server known", "!I don't know the whois server for this domain.", "No match for", "ERROR");
    row("no source", "!Domain Name: EXAMPLE.COM", "No match for", "UNKNOWN");
    row("minimum lookup, no token",
        "!The domain name resolves to an IP Address (192.0.2.1)\n[Whois Source: None]", "", "Taken");
    row("no token", "Domain: x\nSome text", "", "Setup Error");
    // Beyond the token: today's wording of registries whose token is old.
    row("today's sentence, old token", "Domain not found.\n>>> Last update: 2022-07-03 <<<", "NOT FOUND", "Free");
    row("today's sentence after a comment mark", "%% NOT FOUND", "No entries", "Free");
    row("name is free", "example.nl is free", "Zzz", "Free");
    row("service is free (not a name)", "Use of this service is free", "Zzz", "Taken");
    row("sentence inside a line", "If a record is not found, ask us", "Zzz", "Taken");
    row("status free, blanks evened", "Status:\t\t  AVAILABLE", "Zzz", "Free");
    row("no token, generic phrase", "Registrar: X", "", "Taken");
    // A notice among registration data frees nothing; only the token may.
    const char* notice = "Domain Name: EXAMPLE.COM\nRegistrar: Example Registrar\nCreation Date: 2001-02-03\n"
                         "No match for reserved names list.";
    row("notice, old token", notice, "Zzz", "Taken");
    row("notice, no token", notice, "", "Taken");
    row("notice, token matches", notice, "No match for", "Free");
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
    DecideAvailability(answer, "Some token");
    QVERIFY(!HasDirectValue(kCompanyName, kWhoisProduct, "whois.tokenless.test", "Manually Edited"));
    DecideAvailability(answer, "");
    QCOMPARE(ReadDirectInt(kCompanyName, kWhoisProduct, "whois.tokenless.test", "Manually Edited", 9), 0);
  }

  void classifyGeneric_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("verdict");
    const int free = int(GenericVerdict::Free), taken = int(GenericVerdict::Taken),
              undecided = int(GenericVerdict::Undecided);
    const auto row = [](const char* tag, const char* text, int verdict) {
      QTest::newRow(tag) << QByteArray(text) << verdict;
    };
    row("row 1, upper case", "STATUS:         AVAIL", free);
    row("row 2 before row 3", "No match for x\nRegistrant: y", free);
    row("row 3 before row 29", "Registrant: y\nnot found", taken);
    row("pair, both", "Nameservers x\nAdmin Contact y", taken);
    row("pair, first only", "nameservers: x\nno match", free);
    row("row 17 at the end of the text", "example.se is active", taken);
    row("row 17 needs the line end", "example.se is active today", undecided);
    row("row 24, Latin-1", "Respons\xe1vel administrativo: x\nno match", taken);
    row("row 24, UTF-8 capital", "RESPONS\xc3\x81VEL ADMINISTRATIVO: x\nno match", taken);
    row("row 35 pair", "Domain name x.cl does not exist!", free);
    row("row 37, .au check server", "x\r\nAvailable example.com.au\r\nwhois-check.ausregistry.net.au", free);
    row("row 14 before row 37", "x\r\nNot Available example.com.au\r\nwhois-check.ausregistry.net.au", taken);
    row("nothing", "Hello", undecided);
  }
  void classifyGeneric() {
    QFETCH(QByteArray, text);
    QFETCH(int, verdict);
    QCOMPARE(int(ClassifyAnswerGeneric(text.toStdString())), verdict);
  }
};

QV_TEST(AvailabilityTest)
#include "test_availability.moc"
