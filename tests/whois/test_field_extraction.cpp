#include <QTest>

#include "support/temp_folders.h"
#include "support/string_lists.h"
#include "support/test_registry.h"
#include "whois/field_extraction.h"

using namespace qv;
using qvtest::QtList;

namespace {

constexpr const char* kServer = "whois.example.test";

std::string Stored(const QByteArray& text) {
  return text.toStdString() + "\n[Whois Source: " + kServer + "]";
}

}  // namespace

class FieldExtractionTest : public QObject {
  Q_OBJECT
 private slots:
  void init() { qvtest::FreshFolders(); }

  void valueAfterToken_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("token");
    QTest::addColumn<QByteArray>("value");
    QTest::newRow("same line") << QByteArray("\nExpiration Date: 15-jan-2007\nx") << QByteArray("Expiration Date") << QByteArray("15-jan-2007");
    QTest::newRow("label alone") << QByteArray("Registrar:\n\n   Example Inc\n") << QByteArray("Registrar:") << QByteArray("Example Inc");
    QTest::newRow("dot leader") << QByteArray("nserver......: ns1.x.com\n") << QByteArray("nserver") << QByteArray("ns1.x.com");
    QTest::newRow("carriage returns") << QByteArray("Created On:2007-01-01\r\nx") << QByteArray("Created On") << QByteArray("2007-01-01");
    QTest::newRow("case-sensitive") << QByteArray("expiration date: x\n") << QByteArray("Expiration Date") << QByteArray();
    QTest::newRow("empty token") << QByteArray("a: b\n") << QByteArray() << QByteArray();
    QTest::newRow("last line") << QByteArray("Expires: 2007-01-01") << QByteArray("Expires:") << QByteArray("2007-01-01");
    QTest::newRow("nothing after") << QByteArray("Expires:\n--\n") << QByteArray("Expires:") << QByteArray();
    QTest::newRow("line label inside a line") << QByteArray("\nOld Sponsoring Registrar: X\nRegistrar: Y\n")
                                              << QByteArray("\nSponsoring Registrar:") << QByteArray();
  }
  void valueAfterToken() {
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, token);
    QFETCH(QByteArray, value);
    QCOMPARE(QByteArray::fromStdString(ValueAfterToken(text.toStdString(), token.toStdString())), value);
  }

  void blockAfterToken_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("block");
    QTest::newRow("to blank line") << QByteArray("Admin:\n a\n b\n\nTech:") << QByteArray("\n a\n b");
    QTest::newRow("CRLF blank line") << QByteArray("Admin:\r\n a\r\n\r\nTech:") << QByteArray("\r\n a\r");
    QTest::newRow("to the end") << QByteArray("Admin: a\n b") << QByteArray(" a\n b");
  }
  void blockAfterToken() {
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, block);
    QCOMPARE(QByteArray::fromStdString(BlockAfterToken(text.toStdString(), "Admin:")), block);
  }

  void genericValues_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("identifier");
    QTest::addColumn<QByteArray>("value");
    const auto row = [](const char* tag, const char* text, const char* value, const char* id = "REGISTRARNAMETOKEN") {
      QTest::newRow(tag) << QByteArray(text) << QByteArray(id) << QByteArray(value);
    };
    row("list order beats text order", "Registrar: B\nSponsoring Registrar: A", "A");
    row("first line matches a line-start label", "Registrar: First", "First");
    row("label inside a line is no line label", "Old Sponsoring Registrar: X\nRegistrar: Y", "Y");
    row("indented label of today", "Domain: x\n    Registrar:\n        Example Ltd\n", "Example Ltd");
    row("unknown identifier", "Registrar: X", "", "NOSUCHTOKEN");
  }
  void genericValues() {
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, identifier);
    QFETCH(QByteArray, value);
    QCOMPARE(QByteArray::fromStdString(ExtractValue(Stored(text), identifier.toStdString())), value);
  }

  void serverLists_data() {
    QTest::addColumn<QByteArray>("list");
    QTest::addColumn<QByteArray>("value");
    // The answer: line 1 "Domain: x", line 2 blank, line 3 "Sponsor: Own Reg".
    QTest::newRow("own token first") << QByteArray("Sponsor:") << QByteArray("Own Reg");
    QTest::newRow("line feed escape") << QByteArray("{lf}Sponsor:") << QByteArray("Own Reg");
    QTest::newRow("all miss, generic") << QByteArray("Nope:|Neither:") << QByteArray("Generic Reg");
    QTest::newRow("line 3") << QByteArray("$$L3") << QByteArray("Sponsor: Own Reg");
    QTest::newRow("line 1, blank before number") << QByteArray("$$L 1") << QByteArray("Domain: x");
    QTest::newRow("paragraph 2") << QByteArray("$$P2") << QByteArray("Sponsor: Own Reg\nRegistrar: Generic Reg");
    QTest::newRow("line beyond the text") << QByteArray("$$L 40") << QByteArray("Generic Reg");
    QTest::newRow("huge number") << QByteArray("$$L 99999999999999999999999999") << QByteArray("Generic Reg");
    QTest::newRow("line 0") << QByteArray("$$L0") << QByteArray("Generic Reg");
    QTest::newRow("unknown directive") << QByteArray("$$X5") << QByteArray("Generic Reg");
  }
  void serverLists() {
    QFETCH(QByteArray, list);
    QFETCH(QByteArray, value);
    QVERIFY(WriteServerTokens(kServer, "Registrar Name Tokens", list.toStdString()));
    const std::string answer = Stored("Domain: x\r\n\r\nSponsor: Own Reg\r\nRegistrar: Generic Reg\r\n");
    QCOMPARE(QByteArray::fromStdString(ExtractValue(answer, "REGISTRARNAMETOKEN")), value);
  }

  void emails_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("email");
    QTest::newRow("on the label's line") << QByteArray("Admin Email: <a@example.com>") << QByteArray("a@example.com");
    QTest::newRow("two lines below")
        << QByteArray("Administrative Contact:\n   John Doe\n   Main St 1\n   john@example.com\n\nTechnical Contact:\n  t@example.com")
        << QByteArray("john@example.com");
    QTest::newRow("at sign first is no address") << QByteArray("Admin Email: @handle (real@example.com)") << QByteArray("real@example.com");
    QTest::newRow("none") << QByteArray("Administrative Contact: hidden") << QByteArray();
  }
  void emails() {
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, email);
    QCOMPARE(QByteArray::fromStdString(ExtractEmail(Stored(text), "ADMINEMAILTOKEN")), email);
  }

  void hostFromValue_data() {
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<QByteArray>("host");
    QTest::newRow("host and address") << QByteArray("ns1.example.com 192.0.2.1") << QByteArray("ns1.example.com");
    QTest::newRow("address and host") << QByteArray("192.0.2.1\tns1.example.com") << QByteArray("ns1.example.com");
    QTest::newRow("address only") << QByteArray("192.0.2.1") << QByteArray();
    QTest::newRow("word without dot") << QByteArray("Information") << QByteArray();
    QTest::newRow("dot first") << QByteArray(".com") << QByteArray();
    QTest::newRow("trimmed") << QByteArray(" \r\nns1.example.com\r\n") << QByteArray("ns1.example.com");
  }
  void hostFromValue() {
    QFETCH(QByteArray, value);
    QFETCH(QByteArray, host);
    QCOMPARE(QByteArray::fromStdString(HostFromValue(value.toStdString())), host);
  }

  void nameServers_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QStringList>("hosts");
    const QStringList two{"ns1.x.com", "ns2.x.com"}, one{"ns1.x.com"};
    const auto row = [](const char* tag, const char* text, const QStringList& hosts) {
      QTest::newRow(tag) << QByteArray(text) << hosts;
    };
    row("labelled lines", "Name Server: ns1.x.com\nName Server: ns2.x.com\n", two);
    row("listed order block",
        "Domain servers in listed order:\n\n   ns1.x.com\n   ns2.x.com\n\nRecord expires on 2007.01.01", two);
    row("block ends at a labelled line",
        "nameservers:  ns1.x.com.\n              ns2.x.com.\ncreated:      2002.09.19 13:00:00", two);
    row("one server, then a blank line", "Name Server: ns1.x.com\n\nSee www.example.com", one);
    row("label with a word, list after a blank line",
        "Name Servers Information:\n\nns1.x.com\nns2.x.com\n\nwww.example.com", two);
    row("each server once", "Name servers\nns1.x.com\t192.0.2.1\nns1.x.com\t2001:db8::1\nns2.x.com\t192.0.2.2\n", two);
    row("one server, then the footer", "Name Server: ns1.x.com", one);
    row("address only", "Name Server: 192.0.2.1\n\n", {});
    row("none", "No match for x", {});
  }
  void nameServers() {
    QFETCH(QByteArray, text);
    QFETCH(QStringList, hosts);
    QCOMPARE(QtList(ExtractNameServers(Stored(text))), hosts);
  }

  void nameServerDirectiveAndOwnTokens() {
    QVERIFY(WriteServerTokens(kServer, "Name Server Tokens", "DNS-{lf}"));
    QCOMPARE(QtList(ExtractNameServers(Stored("Name Server: old.x.com\nDNS-\nns1.x.com\nns2.x.com\n\n"))),
             (QStringList{"ns1.x.com", "ns2.x.com"}));
    QVERIFY(WriteServerTokens(kServer, "Name Server Tokens", "$$L 2"));
    QCOMPARE(QtList(ExtractNameServers(Stored("Name Server: old.x.com\nns1.x.com\nns2.x.com\n\nwww.x.com"))),
             (QStringList{"ns1.x.com", "ns2.x.com"}));
  }
};

QV_TEST(FieldExtractionTest)
#include "test_field_extraction.moc"
