#include <QTest>

#include "platform/settings_store.h"
#include "support/temp_folders.h"
#include "support/test_registry.h"
#include "whois/normalise.h"

using namespace qv;

namespace {

std::string Bytes(const QByteArray& a) { return std::string(a.constData(), std::size_t(a.size())); }

// Stores a hand-edited server record with the two cleanup fragments.
void StoreFragments(const std::string& server, const std::string& left, const std::string& right) {
  WriteDirectInt(kCompanyName, kWhoisProduct, server, "Manually Edited", 1);
  WriteDirectString(kCompanyName, kWhoisProduct, server, "Remove Left Of", left);
  WriteDirectString(kCompanyName, kWhoisProduct, server, "Remove Right Of", right);
}

}  // namespace

class NormaliseTest : public QObject {
  Q_OBJECT
 private slots:
  void init() { qvtest::FreshFolders(); }

  void sourceOf_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("source");
    const auto row = [](const char* tag, QByteArray text, QByteArray source) {
      QTest::newRow(tag) << text << source;
    };
    row("footer", "Domain: x\n[Whois Source: whois.nic.uk]", "whois.nic.uk");
    row("line end first", "x\n[Whois Source: a.b\r\n]", "a.b");
    row("no bracket", "x\n[Whois Source: whois.x.org", "whois.x.org");
    row("first of two", "[Whois Source: one]\n[Whois Source: two]", "one");
    row("empty host", "x [Whois Source: ]", "");
    row("no tag", "Domain: x\n[Whois Source whois.x]", "");
    row("nul in host", QByteArray("[Whois Source: a\0b]", 19), QByteArray("a\0b", 3));
  }
  void sourceOf() {
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, source);
    QCOMPARE(WhoisSourceOf(Bytes(text)), Bytes(source));
  }

  void normalise_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("server");
    QTest::addColumn<QByteArray>("left");
    QTest::addColumn<QByteArray>("right");
    QTest::addColumn<QByteArray>("expected");
    const auto row = [](const char* tag, QByteArray text, QByteArray expected, QByteArray server = {},
                        QByteArray left = {}, QByteArray right = {}) {
      QTest::newRow(tag) << text << server << left << right << expected;
    };
    const QByteArray foot = "[Whois Source: s]";
    row("left cut", "Terms... for detailed information.\n\nDomain: x\n" + foot, "Domain: x\n" + foot, "s",
        "for detailed information.");
    row("right cut takes footer, footer back", "Domain: x\nNOTICE: The expiration date displayed...\n" + foot,
        "Domain: x\n\n" + foot, "s", {}, "NOTICE: The expiration");
    row("right after left", "END a START body END tail\n" + foot, "body\n\n" + foot, "s", "START", "END");
    row("first occurrence cut", "a CUT b CUT c", "b CUT c", {}, "CUT");
    row("fragments missing", "\r\nDomain: x\r\n" + foot, "Domain: x\r\n" + foot, "s", "nowhere", "nowhere");
    row("case matters", "NOTICE x", "NOTICE x", {}, "notice");
    row("trim set", "%% \t\r\n Domain: x \r\n%\n\t", "Domain: x");
    row("footer added once", "a\n" + foot, "a\n" + foot, "other");
    row("no server, no footer", "a", "a");
    row("all cut, footer alone", "notice only", "\n\n" + foot, "s", "only");
    // Today's registries print the notice after the data: the left cut must
    // not throw the data away.
    const QByteArray pir = "you agree to abide by this policy.";
    const QByteArray after = "Domain Name: EXAMPLE.ORG\nRegistrar: X\nTerms... " + pir + "\n" + foot;
    row("notice after the data", after, after, "s", pir);
    const QByteArray afterUpdate = "Domain not found.\n>>> Last update of WHOIS database: 2022-07-03T03:52:15Z "
                                   "<<<\n\nTerms: " + pir + " More.\n" + foot;
    row("notice after the update line", afterUpdate, afterUpdate, "s", pir);
    row("label inside the notice still cut",
        "Use of the Domain Name: field is limited. " + pir + "\nDomain: x\n" + foot, "Domain: x\n" + foot, "s", pir);

    // Blank lines: "\n"x5 -> x2, then "\n"x4 -> x2, then "\n"x3 -> x2, each once.
    row("3 lf", "a\n\n\nb", "a\n\nb");
    row("7 lf", "a\n\n\n\n\n\n\nb", "a\n\nb");
    row("9 lf stays 3", "a\n\n\n\n\n\n\n\n\nb", "a\n\n\nb");
    row("crlf blank lines kept", "a\r\n\r\n\r\n\r\nb", "a\r\n\r\n\r\n\r\nb");
  }
  void normalise() {
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, server);
    QFETCH(QByteArray, left);
    QFETCH(QByteArray, right);
    QFETCH(QByteArray, expected);
    std::string s = Bytes(text);
    NormaliseWhoisWith(s, Bytes(server), Bytes(left), Bytes(right));
    QCOMPARE(s, Bytes(expected));
  }

  void storedFragmentsSpanLines() {
    StoreFragments("whois.test.example", "terms.{lf}", "{crlf}-- end");
    std::string text = "You agree to these terms.\nDomain: x\r\n-- end of answer\n[Whois Source: whois.test.example]";
    NormaliseWhois(text, "whois.test.example");
    QCOMPARE(text, std::string("Domain: x\n\n[Whois Source: whois.test.example]"));
    // Cleaning reads the server from the footer.
    const std::string stored = "You agree to these terms.\nDomain: y\n[Whois Source: whois.test.example]";
    QCOMPARE(CleanWhoisText(stored), std::string("Domain: y\n[Whois Source: whois.test.example]"));
  }

  void dac_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("expected");
    const QByteArray foot = "\r\n\r\n[Whois Source: dac.nic.uk]";
    QTest::newRow("not registered") << QByteArray("  example.co.uk,N  \r\n\r\n[Whois Source: dac.nic.uk]")
                                    << "No match for example.co.uk" + foot;
    QTest::newRow("registered")
        << QByteArray("google.co.uk,Y,N,N,02/14/1999,02/03/2026,2\n\n[Whois Source: dac.nic.uk]")
        << "Domain Name: google.co.uk\r\nRegistered: Yes\r\nDetagged: No\r\nSuspended: No\r\n"
           "Registered on: 14-February-1999\r\nRenewal date: 03-February-2026\r\n"
           "Registration status: Registered until expiry date" + foot;
    QTest::newRow("codes and odd dates") << QByteArray("x.uk,E,R,I,0,never,5\n[Whois Source: dac.nic.uk]")
        << "Domain Name: x.uk\r\nRegistered: External Domain\r\nDetagged: Prohibited Domain\r\n"
           "Suspended: Illegal Domain\r\nRegistered on: No Dates Available\r\nRenewal date: never\r\n"
           "Registration status: Renewal invoice being processed" + foot;
    QTest::newRow("no code where more than a letter") << QByteArray("x.uk,Yes,B,N,1/2/2000,4,YY\n")
        << QByteArray("Domain Name: x.uk\r\nRegistered: Yes\r\nDetagged: Blocked Query\r\nSuspended: No\r\n"
           "Registered on: 02-January-2000\r\nRenewal date: Renewal required\r\n"
           "Registration status: YY\r\n\r\n[Whois Source: ]");
    QTest::newRow("no line break unchanged") << QByteArray("example.co.uk,N") << QByteArray("example.co.uk,N");
    QTest::newRow("empty first line unchanged") << QByteArray("   \nexample.co.uk,N\n") << QByteArray("   \nexample.co.uk,N\n");
    QTest::newRow("empty") << QByteArray() << QByteArray();
  }
  void dac() {
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, expected);
    std::string s = Bytes(text);
    ExpandDacAnswer(s);
    QCOMPARE(s, Bytes(expected));
  }

  void cleanExpandsDacWhenAsked() {
    const std::string stored = "example.co.uk,N\n[Whois Source: DAC.nic.UK]";
    const std::string expanded = "No match for example.co.uk\r\n\r\n[Whois Source: DAC.nic.UK]";
    QCOMPARE(CleanWhoisText(stored), expanded);
    SetExpandNominetDac(false);
    QCOMPARE(CleanWhoisText(stored), stored);
  }

  void badInputsDoNotHurt_data() {
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("empty") << QByteArray() << QByteArray();
    QTest::newRow("blanks only") << QByteArray(" \r\n%\t") << QByteArray();
    QTest::newRow("footer without bracket") << QByteArray("a\n\n\n[Whois Source: dac.nic.uk")
                                            << QByteArray("a\n\n[Whois Source: dac.nic.uk");
    QTest::newRow("nul bytes") << QByteArray("a\0\n\n\n\nb\0", 8) << QByteArray("a\0\n\nb\0", 6);
    QTest::newRow("8-bit garbage") << QByteArray("\xff\xfe\x80\n\n\n\x81[Whois Source: \xfe]")
                                   << QByteArray("\xff\xfe\x80\n\n\x81[Whois Source: \xfe]");
  }
  void badInputsDoNotHurt() {
    QFETCH(QByteArray, stored);
    QFETCH(QByteArray, expected);
    QCOMPARE(CleanWhoisText(Bytes(stored)), Bytes(expected));
  }

  void hugeAnswers() {
    std::string big;
    while (big.size() < (1u << 20)) big += "Domain: x\n\n\n\n\n\n\n";
    big += "[Whois Source: whois.big.example]";
    const std::string clean = CleanWhoisText(big);
    QVERIFY(clean.find("\n\n\n") == std::string::npos);
    QCOMPARE(WhoisSourceOf(clean), std::string("whois.big.example"));
    // A DAC line of a million commas is no DAC answer.
    std::string commas(1u << 20, ',');
    commas += "\n[Whois Source: dac.nic.uk]";
    QCOMPARE(CleanWhoisText(commas).size(), commas.size());
    std::string wide = "x.uk,Y,N,N," + std::string(1u << 20, '7') + ",1/1/2001,2\n[Whois Source: dac.nic.uk]";
    QVERIFY(CleanWhoisText(wide).find("Registration status: Registered until expiry date") != std::string::npos);
  }
};

QV_TEST(NormaliseTest)
#include "test_normalise.moc"
