#include <QTest>
#include <map>
#include <set>

#include "platform/settings_store.h"
#include "support/temp_folders.h"
#include "support/test_registry.h"
#include "whois/field_extraction.h"
#include "whois/server_directory.h"
#include "whois/whois_fields.h"

using namespace qv;

namespace {

constexpr const char* kServer = "whois.example.test";

std::string Stored(std::string_view text, std::string_view server = kServer) {
  return std::string(text) + "\n[Whois Source: " + std::string(server) + "]";
}

// A hand-set-up server: token "No match for", the given date order.
void SetUpServer(const char* dateFormat) {
  WriteDirectInt(kCompanyName, kWhoisProduct, kServer, "Manually Edited", 1);
  WriteDirectString(kCompanyName, kWhoisProduct, kServer, "Token When Free", "No match for");
  WriteDirectString(kCompanyName, kWhoisProduct, kServer, "Date Format", dateFormat);
}

std::string Repeat(std::string_view part, std::size_t total) {
  std::string out;
  out.reserve(total + part.size());
  while (out.size() < total) out += part;
  return out;
}

}  // namespace

class WhoisFieldsTest : public QObject {
  Q_OBJECT
 private slots:
  void init() { qvtest::FreshFolders(); }

  // Dates, name servers and referrals have tables of their own (and the
  // sample answers); here the status, the ID and the trimmed registrar.
  void takenAnswer() {
    SetUpServer("");
    const WhoisFields f = ParseWhoisFields(Stored(
        "Domain Name: EXAMPLE.COM\nRegistry Domain ID: 123_DOMAIN\nCreation Date: 1997-09-15T04:00:00Z\n"
        "Registrar: Example Registrar, Inc.\nDomain Status: clientDeleteProhibited\n"));
    QCOMPARE(f.source, std::string(kServer));
    QCOMPARE(f.availability, std::string("TAKEN"));
    QCOMPARE(f.status, std::string("CLIENTDELETEPROHIBITED"));
    QCOMPARE(f.registrar, std::string("Example Registrar, Inc"));
    QCOMPARE(f.domainId, std::string("123_DOMAIN"));
    QCOMPARE(f.createdDate, Date::FromYmd(1997, 9, 15));
  }

  // A free name keeps no dates or servers, and its status is the verdict.
  void freeAnswer() {
    SetUpServer("");
    const WhoisFields f = ParseWhoisFields(Stored(
        "No match for \"X.COM\".\nNOTICE: Creation Date: 2001-01-01\nName Server: ns1.x.com\n"));
    QCOMPARE(f.availability, std::string("FREE"));
    QCOMPARE(f.status, std::string("FREE"));
    QVERIFY(!f.createdFound);
    QVERIFY(f.nameServers.empty());
  }

  // Only a host name is a server to follow; an empty label must not take
  // the line below it as a server.
  void referralServer_data() {
    QTest::addColumn<QString>("lines");
    QTest::addColumn<QString>("referral");
    QTest::newRow("host") << "Registrar WHOIS Server: whois.registrar.test\n" << "whois.registrar.test";
    QTest::newRow("upper case host") << "Registrar WHOIS Server: WHOIS.REG.TEST\n" << "WHOIS.REG.TEST";
    QTest::newRow("empty, URL below")
        << "Registrar WHOIS Server: \nRegistrar URL: http://www.registrar.test\n" << "";
    QTest::newRow("empty, registrar below")
        << "Registrar WHOIS Server:\nRegistrar: Example Registrar, Inc.\n" << "";
    QTest::newRow("a sentence") << "Whois Server: not disclosed\n" << "";
    QTest::newRow("a web address") << "Whois Server: https://whois.registrar.test/\n" << "";
  }
  void referralServer() {
    QFETCH(QString, lines);
    QFETCH(QString, referral);
    const WhoisFields f = ParseWhoisFields(Stored("Domain Name: EXAMPLE.COM\n" + lines.toStdString()));
    QCOMPARE(f.referralServer, referral.toStdString());
  }

  void statusWithoutItsLink_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("status");
    QTest::newRow("code alone") << "Domain Status: ok" << "OK";
    QTest::newRow("code and link")
        << "Domain Status: clientTransferProhibited https://icann.org/epp#clientTransferProhibited"
        << "CLIENTTRANSFERPROHIBITED";
    QTest::newRow("link in parentheses")
        << "Domain Status: clientHold (http://www.icann.org/epp#clientHold)" << "CLIENTHOLD";
    QTest::newRow("only a link") << "Domain Status: https://icann.org/epp#ok" << "HTTPS://ICANN.ORG/EPP#OK";
  }
  void statusWithoutItsLink() {
    QFETCH(QString, line);
    QFETCH(QString, status);
    const WhoisFields f = ParseWhoisFields(Stored("Domain Name: EXAMPLE.COM\n" + line.toStdString() + "\n"));
    QCOMPARE(f.status, status.toStdString());
  }

  void blockLayoutSubLabel() {
    const WhoisFields f = ParseWhoisFields(Stored("Registrar:\n        Name: Example Registrar\n"));
    QCOMPARE(f.registrar, std::string("Example Registrar"));
  }

  void dateOrder_data() {
    QTest::addColumn<QString>("serverOrder");
    QTest::addColumn<QDate>("expiry");
    QTest::addColumn<QString>("learned");
    // The creation date 15/01/2007 shows day-first; the expiry 05/04/2008
    // alone cannot.
    QTest::newRow("open order, settled later") << "" << QDate(2008, 4, 5) << "ddmm";
    QTest::newRow("server says month first") << "mmdd" << QDate(2008, 5, 4) << "ddmm";
    QTest::newRow("server says day first") << "ddmm" << QDate(2008, 4, 5) << "ddmm";
  }
  void dateOrder() {
    QFETCH(QString, serverOrder);
    QFETCH(QDate, expiry);
    QFETCH(QString, learned);
    SetUpServer(serverOrder.toLatin1().constData());
    const WhoisFields f =
        ParseWhoisFields(Stored("Expiration Date: 05/04/2008\nCreation Date: 15/01/2007\n"));
    QVERIFY(f.expiryFound);
    QCOMPARE(f.expiryDate, Date::FromYmd(expiry.year(), expiry.month(), expiry.day()));
    QCOMPARE(f.createdDate, Date::FromYmd(2007, 1, 15));
    QCOMPARE(QString::fromStdString(f.dateOrder), learned);
    // A hand-set-up server keeps what it learned.
    QCOMPARE(QString::fromStdString(WhoisServerRecord(kServer, true).dateFormat), learned);
  }

  // What the program knows of some registries' answers: its own labels for a
  // server, which a list the user stored still comes before; a registrar
  // handle that only a "Name:" line below can turn into a name; a compact
  // date ("changed: ... 20181216") that must not teach a day-first server
  // month-first.
  void registryLayouts_data() {
    QTest::addColumn<QString>("server");
    QTest::addColumn<QString>("storedUpdated");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("value");
    const QString afnic = "domain: x.fr\nlast-update: 2025-12-03T10:12:00Z\n\n"
                          "nic-hdl: X1-FRNIC\nchanged: 2024-06-11T20:04:33Z\n";
    QTest::newRow("AFNIC's last-update") << "whois.nic.fr" << "" << afnic << "updated" << "2025-12-03";
    QTest::newRow("stored list first") << "whois.nic.fr" << "{lf}changed:" << afnic << "updated" << "2024-06-11";
    const QString isoc = "domain: x.co.il\nvalidity: 05-06-2026\nchanged: registrar AT ns.il 20181216 (Changed)\n";
    QTest::newRow("ISOC-IL validity") << "whois.isoc.org.il" << "" << isoc << "expiry" << "2026-06-05";
    QTest::newRow("order kept") << "whois.isoc.org.il" << "" << isoc << "order" << "ddmm";
    QTest::newRow("handle with its name below")
        << kServer << "" << "Registrar: AB-12\nCreated: 2001-01-01\n\nRegistrar: AB-12\nName: AB Names\n"
        << "registrar" << "AB Names";
    QTest::newRow("handle alone") << kServer << "" << "Registrar: AB-12\nCreated: 2001-01-01\n"
                                  << "registrar" << "AB-12";
  }
  void registryLayouts() {
    QFETCH(QString, server);
    QFETCH(QString, storedUpdated);
    QFETCH(QString, answer);
    QFETCH(QString, field);
    QFETCH(QString, value);
    WriteServerTokens(server.toStdString(), "Updated Date Tokens", storedUpdated.toStdString());
    const WhoisFields f = ParseWhoisFields(Stored(answer.toStdString(), server.toStdString()));
    const auto iso = [](bool found, const Date& d) {
      const DateParts p = d.Parts();
      return found ? QString::asprintf("%04d-%02d-%02d", p.year, p.month, p.day) : QString("-");
    };
    const std::map<QString, QString> got = {
        {"updated", iso(f.updatedFound, f.updatedDate)},
        {"expiry", iso(f.expiryFound, f.expiryDate)},
        {"order", QString::fromStdString(f.dateOrder)},
        {"registrar", QString::fromStdString(f.registrar)},
    };
    QCOMPARE(got.at(field), value);
  }

  // A server without a token: a stated registration means taken, nothing
  // stated is a setup error.
  void tokenlessServerWithRegistration() {
    const WhoisFields f =
        ParseWhoisFields(Stored("Domain: x.test\nRegistered: 2010-07-13\n", "whois.tokenless.test"));
    QCOMPARE(f.availability, std::string("TAKEN"));
    const WhoisFields g = ParseWhoisFields(Stored("Domain: x.test\n", "whois.tokenless.test"));
    QCOMPARE(g.availability, std::string("SETUP ERROR"));
  }

  // Nothing a server may send crashes or stalls a parser.
  void badInput_data() {
    QTest::addColumn<QByteArray>("answer");
    const std::size_t mib = 1 << 20;
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("footer only") << QByteArray("[Whois Source: ");
    QTest::newRow("footer without bracket") << QByteArray("Registrar: X\n[Whois Source: whois.example.test");
    QTest::newRow("NUL bytes") << QByteArray("Registrar:\0\0X\nName Server: \0ns1.x.com\n[Whois Source: a]", 51);
    std::string garbage;
    for (int i = 0; i < 4096; ++i) garbage += char((i * 131 + 7) % 256);
    QTest::newRow("8-bit garbage") << QByteArray::fromStdString(Stored(garbage));
    QTest::newRow("separator dates")
        << QByteArray::fromStdString(Stored("Expiration Date: /-/ -,.T\nCreation Date: ::::\nUpdated Date: --"));
    QTest::newRow("1 MiB of name servers")
        << QByteArray::fromStdString(Stored(Repeat("Name Server: ns1.example.com\n", mib)));
    std::string many;
    for (int i = 0; many.size() < mib; ++i) many += "Name Server: ns" + std::to_string(i) + ".example.com\n";
    QTest::newRow("1 MiB of different name servers") << QByteArray::fromStdString(Stored(many));
    QTest::newRow("1 MiB of the same host before a label")
        << QByteArray::fromStdString(Stored(Repeat("ns1.example.com\n", mib) + "Name Server: ns1.example.com\n"));
    QTest::newRow("1 MiB of dashes after labels")
        << QByteArray::fromStdString(Stored("Name Server:\nRegistrar:\nAdministrative Contact\n" + Repeat("-\n", mib)));
    QTest::newRow("1 MiB one line") << QByteArray::fromStdString(Stored("Name Server: " + Repeat("a ", mib)));
    QTest::newRow("1 MiB of a registrar handle")
        << QByteArray::fromStdString(Stored("Registrar: A1\n" + Repeat("A1", mib) + "\nName: X\n"));
    QTest::newRow("1 MiB of blank lines")
        << QByteArray::fromStdString(Stored("Admin Email:" + Repeat("\n", mib)));
  }
  void badInput() {
    QFETCH(QByteArray, answer);
    SetUpServer("");
    WriteServerTokens(kServer, "Creation Date Tokens", "$$L 184467440737095516150");
    WriteServerTokens(kServer, "Updated Date Tokens", "$$P 99999");
    const WhoisFields f = ParseWhoisFields(answer.toStdString());
    QVERIFY(!f.createdFound);
    // Every server once: the same host repeated counts once.
    std::set<std::string> distinct(f.nameServers.begin(), f.nameServers.end());
    QCOMPARE(distinct.size(), f.nameServers.size());
  }
};

QV_TEST(WhoisFieldsTest)
#include "test_whois_fields.moc"
