#include <QTest>

#include "platform/settings_store.h"
#include "support/temp_folders.h"
#include "support/test_registry.h"
#include "whois/builtin_tables.h"
#include "whois/server_directory.h"
#include "whois/shipped_tables.h"
#include "whois/token_keys.h"

using namespace qv;

namespace {

std::string Stored(const std::string& section, const std::string& name) {
  return ReadDirectString(kCompanyName, kWhoisProduct, section, name, "<missing>");
}

void Store(const std::string& section, const std::string& name, const std::string& text) {
  QVERIFY(WriteDirectString(kCompanyName, kWhoisProduct, section, name, text));
}

void StoreInt(const std::string& section, const std::string& name, int value) {
  QVERIFY(WriteDirectInt(kCompanyName, kWhoisProduct, section, name, value));
}

}  // namespace

class ServerDirectoryTest : public QObject {
  Q_OBJECT
 private slots:
  void init() { qvtest::FreshFolders(); }

  // On a fresh store: the key and server of a name, and what the lookup
  // leaves stored as the key's `Whois Server`.
  void keyAndServer_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("server");
    QTest::addColumn<QString>("stored");
    const QString none = "<missing>";
    QTest::newRow("co.uk") << "example.co.uk" << "co.uk" << "whois.nic.uk" << "whois.nic.uk";
    QTest::newRow("com.au not au") << "example.com.au" << "com.au" << "whois.auda.org.au"
                                   << "whois.auda.org.au";
    QTest::newRow("upper case") << "WWW.Example.CO.UK" << "co.uk" << "whois.nic.uk"
                                << "whois.nic.uk";
    QTest::newRow("com") << "example.com" << "com" << "whois.verisign-grs.com"
                         << "whois.verisign-grs.com";
    QTest::newRow("no dot, known") << "com" << "com" << "whois.verisign-grs.com"
                                   << "whois.verisign-grs.com";
    QTest::newRow("no dot, unknown") << "intranet" << "intranet" << "" << none;
    QTest::newRow("entry must follow a dot") << "example.notco.uk" << "uk" << "whois.nic.uk"
                                             << "whois.nic.uk";
    QTest::newRow("entry shorter than name") << "co.uk" << "uk" << "whois.nic.uk"
                                             << "whois.nic.uk";
    QTest::newRow("shipped tld") << "example.xyz" << "xyz" << "whois.nic.xyz" << none;
    QTest::newRow("shipped longest suffix") << "example.net.za" << "za"
                                            << "net-whois.registry.net.za" << none;
    QTest::newRow("unknown suffix") << "example.invalidtld" << "invalidtld" << "" << none;
  }
  void keyAndServer() {
    QFETCH(QString, name);
    QFETCH(QString, key);
    QFETCH(QString, server);
    QFETCH(QString, stored);
    {
      TldRecord record = ServerForName(name.toStdString());
      QCOMPARE(record.key, key.toStdString());
      QCOMPARE(record.server, server.toStdString());
    }
    QCOMPARE(Stored(key.toStdString(), "Whois Server"), stored.toStdString());
  }

  // Stored servers come before every table; the last label's server stands
  // in for a listed key that has none. Stored hosts come back as written.
  void storedServersWin() {
    Store("uk", "Whois Server", "Whois.Fallback.TEST");
    QCOMPARE(ServerForName("example.co.uk").server, std::string("Whois.Fallback.TEST"));
    Store("co.uk", "Whois Server", "whois.own.test");
    QCOMPARE(ServerForName("example.co.uk").server, std::string("whois.own.test"));
    Store("xyz", "Whois Server", "whois.mine.test");
    QCOMPARE(ServerForName("example.XYZ").server, std::string("whois.mine.test"));
  }

  // A server from the shipped table is not stored under the key: another
  // second-level suffix of the same TLD keeps its own server.
  void shippedServerIsNotStoredUnderTheKey() {
    QCOMPARE(ServerForName("example.net.za").server, std::string("net-whois.registry.net.za"));
    QCOMPARE(ServerForName("example.org.za").server, std::string("org-whois.registry.net.za"));
    QCOMPARE(ServerForName("example.net.za").server, std::string("net-whois.registry.net.za"));
    QVERIFY(!HasDirectValue(kCompanyName, kWhoisProduct, "za", "Whois Server"));
  }

  void defaultServerForKey_data() {
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("server");
    QTest::newRow("label") << "de" << "whois.denic.de";
    QTest::newRow("last label of a longer key") << "co.nz" << "whois.irs.net.nz";
    QTest::newRow("upper case") << "COM.AU" << "whois.auda.org.au";
    QTest::newRow("not a row") << "xyz" << "";
    QTest::newRow("empty") << "" << "";
    QTest::newRow("trailing dot") << "uk." << "";
  }
  void defaultServerForKey() {
    QFETCH(QString, key);
    QFETCH(QString, server);
    QCOMPARE(DefaultServerForKey(key.toStdString()), server.toStdString());
  }

  void tldList() {
    QCOMPARE(LoadTldList(), DefaultTldList());
    QCOMPARE(DefaultTldList().size(), std::size_t(28));
    QCOMPARE(ServerForName("example.co.in").key, std::string("co.in"));

    SaveTldList({"in", "", "CO.IN", "ac.uk", "x1", "x2"});
    QCOMPARE(Stored(kTldListSection, "Size"), std::string("6"));
    SaveTldList({"in", "", "CO.IN"});
    QCOMPARE(LoadTldList(), (std::vector<std::string>{"in", "CO.IN"}));
    QVERIFY(!HasDirectValue(kCompanyName, kWhoisProduct, kTldListSection, "4"));
    QCOMPARE(ServerForName("example.co.in").key, std::string("co.in"));
    // "co.uk" is no longer listed, so the name is cut at its last label.
    QCOMPARE(ServerForName("example.co.uk").key, std::string("uk"));

    StoreInt(kTldListSection, "Size", 0);
    QCOMPARE(LoadTldList(), DefaultTldList());
  }

  // Fresh records take the built-in values; columns: host, prefix, token,
  // left, right, date format, connections, interval.
  void automaticRecord_data() {
    QTest::addColumn<QString>("host");
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<QString>("token");
    QTest::addColumn<QString>("left");
    QTest::addColumn<QString>("right");
    QTest::addColumn<QString>("dateFormat");
    QTest::addColumn<int>("connections");
    QTest::addColumn<int>("interval");
    const QString vsLeft = "for detailed information.";
    const QString vsRight = "NOTICE: The expiration date displayed";
    QTest::newRow("verisign") << "whois.verisign-grs.com" << "domain" << "No match for" << vsLeft
                              << vsRight << "" << 4 << 10;
    QTest::newRow("verisign capitals") << "WHOIS.Verisign-GRS.com" << "domain" << "No match for"
                                       << vsLeft << vsRight << "" << 4 << 10;
    QTest::newRow("crsnic") << "whois.crsnic.net" << "" << "" << vsLeft << vsRight << "" << 4 << 10;
    QTest::newRow("nsiregistry") << "whois.nsiregistry.net" << "" << "" << "" << "" << "" << 4
                                 << 10;
    QTest::newRow("pir") << "whois.pir.org" << "" << "NOT FOUND"
                         << "you agree to abide by this policy." << "" << "" << 1 << 16;
    QTest::newRow("pir old .net") << "whois.publicinterestregistry.net" << "" << "" << "" << ""
                                  << "" << 1 << 16;
    QTest::newRow("pir old .org") << "Whois.PublicInterestRegistry.org" << "" << "" << "" << ""
                                  << "" << 1 << 16;
    QTest::newRow("coop two tokens")
        << "whois.nic.coop" << "" << "No Objects Found|No domain records were found to match"
        << "please visit http://www.nic.coop" << "The .coop registry WHOIS database" << "mmdd" << 1
        << 10;
    QTest::newRow("denic prefix") << "whois.denic.de" << "-T dn" << "not found in database"
                                  << "activities or suspicions thereof."
                                  << "If you would like to search on" << "mmdd" << 1 << 10;
    QTest::newRow("aero first host") << "whois.aero" << "" << "NOT FOUND"
                                     << "you agree to abide by this policy."
                                     << "For information on the .AERO" << "mmdd" << 1 << 10;
    QTest::newRow("aero second host") << "whois.information.aero" << "" << ""
                                      << "you agree to abide by this policy." << "" << "" << 1
                                      << 10;
    QTest::newRow("first of two rows wins")
        << "whois.networksolutions.com" << "" << "" << "to modify these terms at any time." << ""
        << "" << 1 << 10;
    QTest::newRow("built-in token before shipped") << "whois.nic.uk" << "" << "No match for" << ""
                                                   << "For further information and terms" << ""
                                                   << 1 << 10;
    QTest::newRow("shipped token") << "WHOIS.NIC.XYZ" << "" << "DOMAIN NOT FOUND" << "" << "" << ""
                                   << 1 << 10;
    QTest::newRow("shipped tokens joined") << "whois.ax" << "" << "Domain not found|No records matching"
                                           << "" << "" << "" << 1 << 10;
    QTest::newRow("unknown") << "whois.example.test" << "" << "" << "" << "" << "" << 1 << 10;
  }
  void automaticRecord() {
    QFETCH(QString, host);
    QFETCH(QString, prefix);
    QFETCH(QString, token);
    QFETCH(QString, left);
    QFETCH(QString, right);
    QFETCH(QString, dateFormat);
    QFETCH(int, connections);
    QFETCH(int, interval);
    // Stored values of an automatic record are ignored.
    const std::string section = host.toLower().toStdString();
    Store(section, "Query Prefix", "stale");
    Store(section, "Token When Free", "stale");
    StoreInt(section, "Max Connections", 9);
    StoreInt(section, "Whois Port", 4343);
    StoreInt(section, "Manually Edited", 0);

    WhoisServerRecord r(host.toStdString(), true);
    QCOMPARE(r.server, host.toStdString());
    QCOMPARE(r.queryPrefix, prefix.toStdString());
    QCOMPARE(r.tokenWhenFree, token.toStdString());
    QCOMPARE(r.removeLeftOf, left.toStdString());
    QCOMPARE(r.removeRightOf, right.toStdString());
    QCOMPARE(r.dateFormat, dateFormat.toStdString());
    QCOMPARE(r.maxConnections, connections);
    QCOMPARE(r.connectionInterval, interval);
    QCOMPARE(r.port, 43);
    QCOMPARE(r.manuallyEdited, 0);
  }

  void manualRecordUsesStoredValues() {
    StoreInt("whois.verisign-grs.com", "Manually Edited", 1);
    Store("whois.verisign-grs.com", "Query Prefix", "=");
    StoreInt("whois.verisign-grs.com", "Whois Port", 4343);
    WhoisServerRecord r("Whois.VeriSign-GRS.com", true);
    QCOMPARE(r.queryPrefix, std::string("="));
    QCOMPARE(r.port, 4343);
    QCOMPARE(r.tokenWhenFree, std::string());  // the built-in token no longer applies
    QCOMPARE(r.removeLeftOf, std::string());
    QCOMPARE(r.maxConnections, 1);
    QCOMPARE(r.connectionInterval, 8);
  }

  void destructorSavesUnlessNoSave() {
    {
      WhoisServerRecord reader("whois.example.test", true);
      reader.queryPrefix = "lost";
    }
    QVERIFY(!HasDirectValue(kCompanyName, kWhoisProduct, "whois.example.test", "Query Prefix"));
    {
      WhoisServerRecord writer("Whois.Example.TEST", false);
      writer.queryPrefix = "-q";
      writer.tokenWhenFree = "free|FREE";
      writer.webUrl = "https://example.test/";
      writer.ownerName = "Example Registry";
      writer.dateFormat = "ddmm";
      writer.maxConnections = 3;
      writer.connectionInterval = 20;
      writer.port = 4343;
      writer.manuallyEdited = 1;
    }
    WhoisServerRecord back("whois.example.test", true);
    QCOMPARE(back.queryPrefix, std::string("-q"));
    QCOMPARE(back.tokenWhenFree, std::string("free|FREE"));
    QCOMPARE(back.webUrl, std::string("https://example.test/"));
    QCOMPARE(back.ownerName, std::string("Example Registry"));
    QCOMPARE(back.dateFormat, std::string("ddmm"));
    QCOMPARE(back.maxConnections, 3);
    QCOMPARE(back.connectionInterval, 20);
    QCOMPARE(back.port, 4343);
    QCOMPARE(back.manuallyEdited, 1);
  }

  void resetServer() {
    Store("co.uk", "Whois Server", "whois.custom.test");
    {
      WhoisServerRecord custom("whois.custom.test", false);
      custom.queryPrefix = "-x";
      custom.manuallyEdited = 1;
    }
    for (const TokenKey& k : kTokenKeys) Store("whois.custom.test", std::string(k.settingsKey), "Expires:");

    QCOMPARE(ResetWhoisServer("Example.CO.UK", ""), std::string("whois.custom.test"));
    QCOMPARE(Stored("co.uk", "Whois Server"), std::string("whois.nic.uk"));
    QCOMPARE(Stored("whois.custom.test", "Manually Edited"), std::string("0"));
    for (const TokenKey& k : kTokenKeys)
      QCOMPARE(Stored("whois.custom.test", std::string(k.settingsKey)), std::string());
    QCOMPARE(WhoisServerRecord("whois.custom.test", true).queryPrefix, std::string());

    // A referral server is reset in place of the key's server.
    Store("com", "Whois Server", "whois.other.test");
    QCOMPARE(ResetWhoisServer("example.com", "whois.registrar.test"),
             std::string("whois.registrar.test"));
    QCOMPARE(Stored("com", "Whois Server"), std::string("whois.verisign-grs.com"));
    QCOMPARE(Stored("whois.registrar.test", "Manually Edited"), std::string("0"));

    // Nothing known: nothing is written.
    QCOMPARE(ResetWhoisServer("example.invalidtld", ""), std::string());
    QVERIFY(!HasDirectValue(kCompanyName, kWhoisProduct, "invalidtld", "Whois Server"));
  }

  // The built-in tables: rows naming one server agree, hosts are lower-case,
  // and a TLD's host is the one the shipped table knows for it (where it
  // knows one; .edu is answered by the .com/.net registry).
  void builtinTablesAgree() {
    QCOMPARE(BuiltinTldTable().size(), std::size_t(27));
    QCOMPARE(BuiltinServerTable().size(), std::size_t(45));
    for (const BuiltinTldRow& row : BuiltinTldTable()) {
      QCOMPARE(DirectorySection(row.server), std::string(row.server));
      for (const BuiltinTldRow& other : BuiltinTldTable()) {
        if (other.server != row.server) continue;
        QCOMPARE(other.queryPrefix, row.queryPrefix);
        QCOMPARE(other.tokenWhenFree, row.tokenWhenFree);
      }
      const std::string shipped = ShippedServerForName("example." + std::string(row.tld));
      if (row.tld != "edu" && !shipped.empty()) QCOMPARE(shipped, std::string(row.server));
    }
    for (const BuiltinServerRow& row : BuiltinServerTable())
      QCOMPARE(DirectorySection(row.server), std::string(row.server));
  }
};

QV_TEST(ServerDirectoryTest)
#include "test_server_directory.moc"
