#include <QTest>
#include <map>
#include <set>

#include "platform/settings_store.h"
#include "support/temp_folders.h"
#include "support/string_lists.h"
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

  void dateOrder_data() {
    QTest::addColumn<QString>("serverOrder");
    QTest::addColumn<QDate>("expiry");
    QTest::addColumn<QString>("learned");
    // The creation date 15/01/2007 shows day-first; the expiry 05/04/2008
    // alone cannot.
    QTest::newRow("open order, settled later") << "" << QDate(2008, 4, 5) << "ddmm";
    QTest::newRow("server says month first") << "mmdd" << QDate(2008, 5, 4) << "ddmm";
  }
  void dateOrder() {
    QFETCH(QString, serverOrder);
    QFETCH(QDate, expiry);
    QFETCH(QString, learned);
    SetUpServer(serverOrder.toLatin1().constData());
    const WhoisFields f = ParseWhoisFields(Stored("Expiration Date: 05/04/2008\nCreation Date: 15/01/2007\n"));
    QVERIFY(f.expiryFound);
    QCOMPARE(f.expiryDate, Date::FromYmd(expiry.year(), expiry.month(), expiry.day()));
    QCOMPARE(f.createdDate, Date::FromYmd(2007, 1, 15));
    QCOMPARE(QString::fromStdString(f.dateOrder), learned);
    // A hand-set-up server keeps what it learned.
    QCOMPARE(QString::fromStdString(WhoisServerRecord(kServer, true).dateFormat), learned);
  }

  // Fields of an answer (values joined by " | "): a taken and a free one (a
  // free name keeps no dates or servers, its status is the verdict); a server
  // without a token (a stated registration means taken, nothing stated is a
  // setup error); a referral only to a host name (an empty label must not
  // take the line below it as a server); a status without its link; and what
  // the program knows of some registries' answers: its own labels for a
  // server, which a list the user stored still comes before; a registrar
  // handle that only a "Name:" line below can turn into a name; a compact
  // date ("changed: ... 20181216") that must not teach a day-first server
  // month-first.
  void fieldOfAnswer_data() {
    QTest::addColumn<QString>("server");
    QTest::addColumn<QString>("storedUpdated");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("value");
    const auto row = [](const char* tag, const QString& answer, const char* field, const char* value,
                        const char* server = kServer, const char* storedUpdated = "") {
      QTest::newRow(tag) << QString(server) << QString(storedUpdated) << answer << QString(field) << QString(value);
    };
    const QString name = "Domain Name: EXAMPLE.COM\n", referral = "Registrar WHOIS Server:";
    row("taken", name + "Registry Domain ID: 123_DOMAIN\nCreation Date: 1997-09-15T04:00:00Z\n"
                        "Registrar: Example Registrar, Inc.\nDomain Status: clientDeleteProhibited\n",
        "availability id registrar created", "TAKEN | 123_DOMAIN | Example Registrar, Inc | 1997-09-15");
    row("free", "No match for \"X.COM\".\nNOTICE: Creation Date: 2001-01-01\nName Server: ns1.x.com\n",
        "availability status created servers", "FREE | FREE | - | ", "whois.verisign-grs.com");
    row("tokenless, registration stated", "Domain: x.test\nRegistered: 2010-07-13\n", "availability", "TAKEN",
        "whois.tokenless.test");
    row("tokenless, nothing stated", "Domain: x.test\n", "availability", "SETUP ERROR", "whois.tokenless.test");
    row("referral host", name + referral + " whois.registrar.test\n", "referral", "whois.registrar.test");
    row("referral in capitals", name + referral + " WHOIS.REG.TEST\n", "referral", "WHOIS.REG.TEST");
    row("empty referral, URL below", name + referral + " \nRegistrar URL: http://www.registrar.test\n", "referral", "");
    row("empty referral, registrar below", name + referral + "\nRegistrar: Example Registrar, Inc.\n", "referral", "");
    row("referral a sentence", name + "Whois Server: not disclosed\n", "referral", "");
    row("referral a web address", name + "Whois Server: https://whois.registrar.test/\n", "referral", "");
    row("status code alone", name + "Domain Status: ok\n", "status", "OK");
    row("status code and link",
        name + "Domain Status: clientTransferProhibited https://icann.org/epp#clientTransferProhibited\n", "status",
        "CLIENTTRANSFERPROHIBITED");
    row("status link in parentheses", name + "Domain Status: clientHold (http://www.icann.org/epp#clientHold)\n",
        "status", "CLIENTHOLD");
    row("status only a link", name + "Domain Status: https://icann.org/epp#ok\n", "status",
        "HTTPS://ICANN.ORG/EPP#OK");
    row("registrar block sub-label", "Registrar:\n        Name: Example Registrar\n", "registrar", "Example Registrar");
    const QString afnic = "domain: x.fr\nlast-update: 2025-12-03T10:12:00Z\n\n"
                          "nic-hdl: X1-FRNIC\nchanged: 2024-06-11T20:04:33Z\n";
    row("AFNIC's last-update", afnic, "updated", "2025-12-03", "whois.nic.fr");
    row("stored list first", afnic, "updated", "2024-06-11", "whois.nic.fr", "{lf}changed:");
    const QString isoc = "domain: x.co.il\nvalidity: 05-06-2026\nchanged: registrar AT ns.il 20181216 (Changed)\n";
    row("ISOC-IL validity", isoc, "expiry", "2026-06-05", "whois.isoc.org.il");
    row("order kept", isoc, "order", "ddmm", "whois.isoc.org.il");
    row("handle with its name below", "Registrar: AB-12\nCreated: 2001-01-01\n\nRegistrar: AB-12\nName: AB Names\n",
        "registrar", "AB Names");
    row("handle alone", "Registrar: AB-12\nCreated: 2001-01-01\n", "registrar", "AB-12");
  }
  void fieldOfAnswer() {
    QFETCH(QString, server);
    QFETCH(QString, storedUpdated);
    QFETCH(QString, answer);
    QFETCH(QString, field);
    QFETCH(QString, value);
    WriteServerTokens(server.toStdString(), "Updated Date Tokens", storedUpdated.toStdString());
    const WhoisFields f = ParseWhoisFields(Stored(answer.toStdString(), server.toStdString()));
    const auto iso = [](bool found, const Date& d) {
      return found ? QString::fromStdString(d.ToIsoText()).left(10) : QString("-");
    };
    const std::map<QString, QString> got = {
        {"availability", QString::fromStdString(f.availability)},
        {"id", QString::fromStdString(f.domainId)},
        {"created", iso(f.createdFound, f.createdDate)},
        {"updated", iso(f.updatedFound, f.updatedDate)},
        {"expiry", iso(f.expiryFound, f.expiryDate)},
        {"order", QString::fromStdString(f.dateOrder)},
        {"registrar", QString::fromStdString(f.registrar)},
        {"referral", QString::fromStdString(f.referralServer)},
        {"status", QString::fromStdString(f.status)},
        {"servers", qvtest::QtList(f.nameServers).join(' ')},
    };
    QStringList values;
    for (const QString& name : field.split(' ')) values << got.at(name);
    QCOMPARE(values.join(" | "), value);
  }

  // Nothing a server may send crashes or stalls a parser: broken footers
  // (which fuzz_whois_answer breaks up before parsing; other short junk is
  // its), answers far larger than fuzzing reaches; overflowing date tokens
  // and separator-only dates find no date.
  void badInput_data() {
    QTest::addColumn<QByteArray>("answer");
    const std::size_t mib = 1 << 20;
    QTest::newRow("footer only") << QByteArray("[Whois Source: ");
    QTest::newRow("footer without bracket") << QByteArray("Registrar: X\n[Whois Source: whois.example.test");
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
    QTest::newRow("1 MiB of blank lines") << QByteArray::fromStdString(Stored("Admin Email:" + Repeat("\n", mib)));
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
