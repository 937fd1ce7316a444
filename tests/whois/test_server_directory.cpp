#include <QTest>
#include <algorithm>

#include "platform/settings_store.h"
#include "support/temp_folders.h"
#include "support/test_registry.h"
#include "whois/builtin_tables.h"
#include "whois/server_directory.h"
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

// The fields of a server record in one line, so a table row can state them all.
QString Join(const QStringList& fields) { return fields.join(" ; "); }
QString Fields(const WhoisServerRecord& r) {
  return Join({QString::fromStdString(r.queryPrefix), QString::fromStdString(r.tokenWhenFree),
               QString::fromStdString(r.removeLeftOf), QString::fromStdString(r.removeRightOf),
               QString::fromStdString(r.dateFormat), QString::number(r.maxConnections),
               QString::number(r.connectionInterval), QString::number(r.port), QString::number(r.manuallyEdited)});
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
    const auto row = [](const char* tag, const char* name, const char* key, const char* server, const char* stored) {
      QTest::newRow(tag) << QString(name) << QString(key) << QString(server) << QString(stored);
    };
    const char* none = "<missing>";
    row("co.uk", "example.co.uk", "co.uk", "whois.nic.uk", "whois.nic.uk");
    row("com.au not au", "example.com.au", "com.au", "whois.auda.org.au", "whois.auda.org.au");
    row("upper case", "WWW.Example.CO.UK", "co.uk", "whois.nic.uk", "whois.nic.uk");
    row("com", "example.com", "com", "whois.verisign-grs.com", "whois.verisign-grs.com");
    row("no dot, known", "com", "com", "whois.verisign-grs.com", "whois.verisign-grs.com");
    row("no dot, unknown", "intranet", "intranet", "", none);
    row("entry must follow a dot", "example.notco.uk", "uk", "whois.nic.uk", "whois.nic.uk");
    row("entry shorter than name", "co.uk", "uk", "whois.nic.uk", "whois.nic.uk");
    row("shipped tld", "example.xyz", "xyz", "whois.nic.xyz", none);
    row("shipped longest suffix", "example.net.za", "za", "net-whois.registry.net.za", none);
    row("unknown suffix", "example.invalidtld", "invalidtld", "", none);
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

  void tldList() {
    QCOMPARE(LoadTldList(), DefaultTldList());
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

  // An automatic record takes the built-in values (the host in any case),
  // whatever is stored under its name.
  void automaticRecordIgnoresStoredValues() {
    const QString fresh = Fields(WhoisServerRecord("whois.verisign-grs.com", true));
    QVERIFY2(fresh.startsWith("domain ; No match for ; "), qPrintable(fresh));
    Store("whois.verisign-grs.com", "Query Prefix", "stale");
    StoreInt("whois.verisign-grs.com", "Whois Port", 4343);
    StoreInt("whois.verisign-grs.com", "Manually Edited", 0);
    QCOMPARE(Fields(WhoisServerRecord("WHOIS.Verisign-GRS.com", true)), fresh);
  }

  // A hand-edited record takes none of the built-in values.
  void manualRecordUsesStoredValues() {
    StoreInt("whois.verisign-grs.com", "Manually Edited", 1);
    Store("whois.verisign-grs.com", "Query Prefix", "=");
    StoreInt("whois.verisign-grs.com", "Whois Port", 4343);
    QCOMPARE(Fields(WhoisServerRecord("Whois.VeriSign-GRS.com", true)),
             Join({"=", "", "", "", "", "1", "8", "4343", "1"}));
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
      writer.webUrl = "https://example.test/";
      writer.port = 4343;
      writer.manuallyEdited = 1;
    }
    WhoisServerRecord back("whois.example.test", true);
    QCOMPARE(Fields(back), Join({"-q", "", "", "", "", "1", "10", "4343", "1"}));
    QCOMPARE(back.webUrl, std::string("https://example.test/"));
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
    QCOMPARE(ResetWhoisServer("example.com", "whois.registrar.test"), std::string("whois.registrar.test"));
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
    // A server's own labels are stored under one of the fields' keys.
    for (const BuiltinServerTokensRow& row : BuiltinServerTokensTable()) {
      QCOMPARE(DirectorySection(row.server), std::string(row.server));
      QVERIFY2(std::any_of(kTokenKeys.begin(), kTokenKeys.end(),
                           [&](const TokenKey& k) { return k.settingsKey == row.settingsKey; }),
               row.settingsKey.data());
    }
  }
};

QV_TEST(ServerDirectoryTest)
#include "test_server_directory.moc"
