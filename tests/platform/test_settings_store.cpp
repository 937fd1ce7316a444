#include <QSettings>
#include <QTest>

#include "platform/settings_store.h"
#include "support/temp_folders.h"
#include "support/test_registry.h"

using namespace qv;

class SettingsStoreTest : public QObject {
  Q_OBJECT
 private slots:
  void init() { qvtest::FreshFolders(); }

  // An int read of a text value gives the default; the profile and the
  // per-product store are apart; a DWORD keeps -1; a missing value gives
  // the default unchanged, even a long one; UTF-8 survives the profile.
  void valuesAndDefaults() {
    QVERIFY(!ReadWindowPlacement().has_value());
    QVERIFY(WriteProfileString("Lookup", "Last Name", "example.com"));
    QCOMPARE(GetProfileInt("Lookup", "Last Name", 9), 9);
    QVERIFY(WriteProfileInt(kSettingsSection, "Whois Timeout", 25));
    QCOMPARE(ReadDirectInt(kCompanyName, kWhoisProduct, kSettingsSection, "Whois Timeout", 18), 18);
    QVERIFY(WriteDirectInt(kCompanyName, kWhoisProduct, "x", "n", -1));
    QCOMPARE(ReadDirectInt(kCompanyName, kWhoisProduct, "x", "n", 0), -1);
    const std::string longDefault(400, 'd');
    QCOMPARE(ReadDirectString(kCompanyName, kWhoisProduct, "co.uk", "Nothing", longDefault), longDefault);
    const std::string utf8 = "Nenalezeno \xc5\xbe\xc3\xa1" "dn\xc3\xa9";
    QVERIFY(WriteProfileString(kSettingsSection, "Utf8", utf8));
    QCOMPARE(GetProfileString(kSettingsSection, "Utf8", ""), utf8);
  }

  // Quotes and separators survive; a text is cut to 254 bytes, and a
  // character the cut would split is left out whole.
  void directString_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("stored");
    const QByteArray x(252, 'x'), token("No match for \"x\"; a=b, c|d ~e");
    QTest::newRow("quotes and separators") << token << token;
    QTest::newRow("254") << x + "xx" << x + "xx";
    QTest::newRow("255") << x + "xxx" << x + "xx";
    QTest::newRow("2-byte letter across the cut") << x + "x\xc3\xa9" << x + "x";
    QTest::newRow("3-byte sign across the cut") << x + "\xe2\x82\xac!" << x;
    QTest::newRow("letter just inside") << x + "\xc3\xa9zz" << x + "\xc3\xa9";
  }
  void directString() {
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, stored);
    QVERIFY(WriteDirectString(kCompanyName, kWhoisProduct, "whois.nic.xn--p1ai", "Token When Free", text.toStdString()));
    QCOMPARE(QByteArray::fromStdString(ReadDirectString(kCompanyName, kWhoisProduct, "whois.nic.xn--p1ai",
                                                        "Token When Free", "")), stored);
  }

  // A batch changes nothing until it is committed; then the file holds all
  // of it, applied in the order given.
  void batchWritesTogether() {
    QVERIFY(WriteProfileString("History", "1", "old one"));
    QVERIFY(WriteProfileString("History", "2", "old two"));
    SettingsBatch batch = SettingsBatch::Profile();
    batch.RemoveSection("History").SetString("History", "1", "new").SetInt("History", "Count", 1);
    batch.SetInt(kSettingsSection, "Gone", 5).Remove(kSettingsSection, "Gone");
    QCOMPARE(GetProfileString("History", "2", ""), std::string("old two"));
    QVERIFY(batch.Commit());
    QSettings file(qvtest::TempRoot() + QStringLiteral("/config/Tembrix/Quorvel.ini"), QSettings::IniFormat);
    QCOMPARE(file.value("History/1").toString(), QStringLiteral("new"));
    QCOMPARE(file.value("History/Count").toInt(), 1);
    QVERIFY(!file.contains("History/2"));
    QVERIFY(!file.contains("Settings/Gone"));
  }

  void recentFilesKeepFourNewestFirst() {
    QVERIFY(RecentFiles().empty());
    for (int i = 1; i <= 6; ++i) AddRecentFile("/docs/d" + std::to_string(i) + ".qvl");
    const std::vector<std::string> expected{"/docs/d6.qvl", "/docs/d5.qvl", "/docs/d4.qvl", "/docs/d3.qvl"};
    QCOMPARE(RecentFiles(), expected);
    // Opening a listed file again moves it to the front without a duplicate.
    AddRecentFile("/docs/d4.qvl");
    const std::vector<std::string> moved{"/docs/d4.qvl", "/docs/d6.qvl", "/docs/d5.qvl", "/docs/d3.qvl"};
    QCOMPARE(RecentFiles(), moved);
    QCOMPARE(GetProfileString("Recent File List", "File1", ""), std::string("/docs/d4.qvl"));
    RemoveRecentFile("/docs/d6.qvl");
    QCOMPARE(RecentFiles().size(), std::size_t(3));
  }

  void windowPlacementParsing_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::newRow("ten numbers") << "0,1,-1,-1,-1,-1,10,20,1010,720" << true;
    QTest::newRow("blanks") << "0, 1, -1, -1, -1, -1, 10, 20, 1010, 720" << true;
    QTest::newRow("nine numbers") << "0,1,-1,-1,-1,-1,10,20,1010" << false;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("garbage") << "0,1,a,-1,-1,-1,10,20,1010,720" << false;
    QTest::newRow("trailing comma") << "0,1,-1,-1,-1,-1,10,20,1010," << false;
  }
  void windowPlacementParsing() {
    QFETCH(QString, text);
    QFETCH(bool, valid);
    const auto p = ParseWindowPlacement(text.toStdString());
    QCOMPARE(p.has_value(), valid);
    if (valid) {
      QCOMPARE(p->left, 10);
      QCOMPARE(p->bottom, 720);
      QCOMPARE(p->minX, -1);
      QCOMPARE(FormatWindowPlacement(*p), std::string("0,1,-1,-1,-1,-1,10,20,1010,720"));
    }
  }
};

QV_TEST(SettingsStoreTest)
#include "test_settings_store.moc"
