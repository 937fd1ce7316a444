#include <QLineEdit>
#include <QListWidget>
#include <QSpinBox>
#include <QTest>

#include "app/dialogs/domain_setup_dialog.h"
#include "app/dialogs/tld_list_dialog.h"
#include "app/dialogs/whois_server_setup_dialog.h"
#include "platform/settings_store.h"
#include "support/temp_folders.h"
#include "support/test_registry.h"
#include "test_main_frame_support.h"
#include "whois/rdap_directory.h"
#include "whois/server_directory.h"

using namespace qv;

class DirectoryDialogsTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { qvtest::FreshFolders(); }

  void addTrimsTheEntry_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("added");
    QTest::newRow("plain") << "xyz" << "xyz";
    QTest::newRow("dots both ends") << ".co.za." << "co.za";
    QTest::newRow("the whole set") << " \t;:.\r\nio \r\n.;:\t" << "io";
    QTest::newRow("inner blank kept") << " a b " << "a b";
    QTest::newRow("nothing left") << " .;: " << "";
  }
  void addTrimsTheEntry() {
    QFETCH(QString, typed);
    QFETCH(QString, added);
    CTldListDialog dialog;
    const QStringList before = dialog.Entries();
    dialog.EntryBox()->setText(typed);
    qvtest::Click(&dialog, "add");
    if (added.isEmpty()) {
      QCOMPARE(dialog.Entries(), before);
    } else {
      QCOMPARE(dialog.Entries(), before + QStringList{added});
      QVERIFY(dialog.EntryBox()->text().isEmpty());
    }
    dialog.reject();  // the built-in list is stored only once changed
    QCOMPARE(HasDirectValue(kCompanyName, kWhoisProduct, kTldListSection, "Size"), !added.isEmpty());
  }

  // Enter in the box adds the entry once.
  void enterAddsOnce() {
    CTldListDialog dialog;
    dialog.show();
    const QStringList before = dialog.Entries();
    dialog.EntryBox()->setFocus();
    QTest::keyClicks(dialog.EntryBox(), "co.za");
    QTest::keyClick(dialog.EntryBox(), Qt::Key_Return);
    QCOMPARE(dialog.Entries(), before + QStringList{"co.za"});
    QVERIFY(dialog.isVisible());
    dialog.reject();
  }

  // Moves and deletes act on the selected entry; the list is stored when
  // the dialog closes, and read back in the same order.
  void editAndStore() {
    SaveTldList({"com", "net", "org"});
    {
      CTldListDialog dialog;
      QCOMPARE(dialog.Entries(), (QStringList{"com", "net", "org"}));
      dialog.List()->setCurrentRow(2);
      qvtest::Click(&dialog, "moveUp");
      qvtest::Click(&dialog, "moveUp");
      qvtest::Click(&dialog, "moveUp");  // already at the top: stays
      QCOMPARE(dialog.Entries(), (QStringList{"org", "com", "net"}));
      dialog.List()->setCurrentRow(1);
      qvtest::Click(&dialog, "moveDown");
      QCOMPARE(dialog.Entries(), (QStringList{"org", "net", "com"}));
      qvtest::Click(&dialog, "delete");  // "com", still selected
      dialog.EntryBox()->setText("co.uk");
      qvtest::Click(&dialog, "add");
      QCOMPARE(dialog.Entries(), (QStringList{"org", "net", "co.uk"}));
      QCOMPARE(LoadTldList(), (std::vector<std::string>{"com", "net", "org"}));  // not before closing
      dialog.reject();
    }
    QCOMPARE(LoadTldList(), (std::vector<std::string>{"org", "net", "co.uk"}));
  }

  void settingsOpensDomainSetup() {
    CTldListDialog dialog;
    QStringList told, opened;
    dialog.prompts = qvtest::TellRecorder(told);
    dialog.openDomainSetup = [&opened](const QString& name) { opened << name; };
    dialog.List()->clearSelection();
    dialog.List()->setCurrentRow(-1);
    qvtest::Click(&dialog, "settings");
    QCOMPARE(told, QStringList{"Please select a TLD from the list"});
    QVERIFY(opened.isEmpty());

    dialog.List()->setCurrentRow(int(dialog.Entries().size()) - 1);
    qvtest::Click(&dialog, "settings");
    QCOMPARE(opened, QStringList{"example." + dialog.Entries().last()});
    QCOMPARE(told.size(), 1);
  }

  // Confirming "Domain Setup" stores the key's server and the whole server
  // record, edited by hand from then on.
  void domainSetupStoresTheRecord() {
    CDomainSetupDialog dialog("example.co.uk");
    QCOMPARE(dialog.Key(), QStringLiteral("co.uk"));
    QVERIFY(!dialog.ServerBox()->text().isEmpty());  // the built-in .uk server
    dialog.ServerBox()->setText("  whois.test.example ");
    dialog.PrefixBox()->setText("-q ");
    dialog.PortBox()->setValue(4343);
    dialog.TokenBox()->setText("No such domain|Not registered");
    dialog.accept();

    QCOMPARE(TldRecord("co.uk").server, std::string("whois.test.example"));
    const WhoisServerRecord record("whois.test.example", true);
    QCOMPARE(record.manuallyEdited, 1);
    QCOMPARE(record.queryPrefix, std::string("-q "));  // the prefix is sent as typed
    QCOMPARE(record.port, 4343);
    QCOMPARE(record.tokenWhenFree, std::string("No such domain|Not registered"));
  }

  // The RDAP URL: the shipped one as a hint, the user's stored for the key
  // (and removed when emptied); an address that is no http(s) URL is refused.
  void domainSetupRdapUrl_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QString>("stored");
    QTest::newRow("override") << " https://rdap.test.example/domain/ " << true << "https://rdap.test.example/domain/";
    QTest::newRow("emptied") << "" << true << "";
    QTest::newRow("not a URL") << "rdap.test.example" << false << "https://old.example/";
  }
  void domainSetupRdapUrl() {
    QFETCH(QString, typed);
    QFETCH(bool, accepted);
    QFETCH(QString, stored);
    StoreRdapUrlOfSuffix("xyz", "https://old.example/");
    QStringList told;
    CDomainSetupDialog dialog("example.xyz");
    dialog.prompts = qvtest::TellRecorder(told);
    QCOMPARE(dialog.RdapBox()->text(), QStringLiteral("https://old.example/"));
    dialog.RdapBox()->setText(typed);
    dialog.accept();
    QCOMPARE(dialog.result() == QDialog::Accepted, accepted);
    QCOMPARE(told.size(), accepted ? 0 : 1);
    QCOMPARE(QString::fromStdString(StoredRdapUrlOfSuffix("xyz")), stored);
    if (stored.isEmpty()) {
      CDomainSetupDialog again("example.xyz");
      QCOMPARE(again.RdapBox()->placeholderText(), QStringLiteral("https://rdap.centralnic.com/xyz/domain/"));
    }
  }

  void cancelStoresNothingOfTheServer() {
    CDomainSetupDialog dialog("example.com");
    const std::string server = dialog.ServerBox()->text().toStdString();
    dialog.TokenBox()->setText("changed");
    dialog.reject();
    QCOMPARE(WhoisServerRecord(server, true).manuallyEdited, 0);
  }

  // "Whois Server Settings..." needs a server; it opens the server dialog
  // for the host in the box, and what that stores survives confirming
  // "Domain Setup" afterwards.
  void serverSettingsFromDomainSetup() {
    CDomainSetupDialog dialog("example.com");
    QStringList told;
    dialog.prompts = qvtest::TellRecorder(told);
    dialog.openServerSetup = [](const QString& host) {
      CWhoisServerSetupDialog server(host);
      server.MaxConnectionsBox()->setValue(3);
      server.RemoveRightOfBox()->setText(">>> Last update");
      server.accept();
    };
    dialog.ServerBox()->setText("   ");
    dialog.OnServerSettings();
    QCOMPARE(told, QStringList{"Please specify a whois server"});
    QVERIFY(!IsServerStored("whois.registry.test"));

    dialog.ServerBox()->setText("whois.registry.test");
    dialog.OnServerSettings();
    QCOMPARE(told.size(), 1);
    QVERIFY(IsServerStored("whois.registry.test"));
    dialog.TokenBox()->setText("No match");
    dialog.accept();
    const WhoisServerRecord record("whois.registry.test", true);
    QCOMPARE(record.manuallyEdited, 1);
    QCOMPARE(record.tokenWhenFree, std::string("No match"));
    QCOMPARE(record.maxConnections, 3);
    QCOMPARE(record.removeRightOf, std::string(">>> Last update"));
    QCOMPARE(TldRecord("com").server, std::string("whois.registry.test"));
  }

 private:
  static bool IsServerStored(const std::string& host) {
    return HasDirectValue(kCompanyName, kWhoisProduct, DirectorySection(host), "Manually Edited");
  }
};

QV_TEST(DirectoryDialogsTest)
#include "test_dialogs_directory.moc"
