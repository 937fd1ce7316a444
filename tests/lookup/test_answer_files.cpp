#include <QTest>
#include <ctime>
#include <filesystem>

#include "engine_fixture.h"
#include "lookup/answer_error_index.h"
#include "lookup/answer_files.h"
#include "platform/settings_store.h"
#include "support/temp_folders.h"
#include "support/test_registry.h"

using namespace qv;
using enginetest::WriteFile;
namespace fs = std::filesystem;

class AnswerFilesTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { qvtest::FreshFolders(); }

  void fileNames_data() {
    QTest::addColumn<QString>("domain");
    QTest::addColumn<QString>("relative");  // empty: never a path
    QTest::newRow("plain") << "example.com" << "e/example.com.txt";
    QTest::newRow("letter x") << "xray.net" << "x/xray.net.txt";
    QTest::newRow("digit") << "4you.de" << "4/4you.de.txt";
    QTest::newRow("prn") << "prn.com" << "p/pr_n.com.txt";
    QTest::newRow("CON capitals") << "CON.org" << "C/CO_N.org.txt";
    QTest::newRow("com1") << "com1.net" << "c/com_1.net.txt";
    QTest::newRow("lpt9 two labels") << "lpt9.co.uk" << "l/lpt_9.co.uk.txt";
    QTest::newRow("device word later") << "nul.prn.com" << "n/nu_l.prn.com.txt";
    QTest::newRow("com10 is no device") << "com10.net" << "c/com10.net.txt";
    QTest::newRow("console is no device") << "console.com" << "c/console.com.txt";
    QTest::newRow("parent") << "../evil" << "";
    QTest::newRow("parent inside") << "x/../../escaped" << "";
    QTest::newRow("dots inside") << "a..b.com" << "";
    QTest::newRow("slash") << "a/b.com" << "";
    QTest::newRow("backslash") << "a\\b.com" << "";
    QTest::newRow("leading dot") << ".hidden" << "";
    QTest::newRow("tab") << "tab\tname.com" << "";
    QTest::newRow("line feed") << "line\nfeed.com" << "";
    QTest::newRow("empty") << "" << "";
  }
  void fileNames() {
    QFETCH(QString, domain);
    QFETCH(QString, relative);
    const fs::path folder = "/answers";
    const std::optional<fs::path> path = AnswerFilePath(folder, domain.toStdString());
    if (relative.isEmpty()) {
      QVERIFY(!path);
      QVERIFY(!SaveWhoisText(domain.toStdString(), "text"));
      const std::string leaf = fs::path(domain.toStdString()).filename().string() + ".txt";
      QVERIFY(!fs::exists(WhoisDataFolder().parent_path() / leaf) && !fs::exists(WhoisDataFolder() / leaf));
    } else {
      QVERIFY(path);
      QCOMPARE(QString::fromStdString(path->string()), "/answers/" + relative);
    }
  }

  void saveReplacesWholeFileAndLoadReadsIt() {
    QVERIFY(SaveWhoisText("xample.com", "a long first answer\n[Whois Source: a]"));
    QVERIFY(SaveWhoisText("xample.com", "short\n[Whois Source: b]"));
    const fs::path file = WhoisDataFolder() / "x" / "xample.com.txt";
    QCOMPARE(enginetest::FileText(file), std::string("short\n[Whois Source: b]"));
    QCOMPARE(LoadWhoisText("xample.com"), std::string("short\n[Whois Source: b]"));
    QCOMPARE(LoadWhoisText("missing.com"), std::string());
  }

  void olderFileWithoutExtensionIsMoved() {
    const fs::path older = WhoisDataFolder() / "o" / "old.com";
    WriteFile(older, "kept under the older name");
    QCOMPARE(LoadWhoisText("old.com"), std::string("kept under the older name"));
    QVERIFY(!fs::exists(older));
    QVERIFY(fs::exists(WhoisDataFolder() / "o" / "old.com.txt"));

    WriteFile(WhoisDataFolder() / "o" / "other.com", "older");
    QVERIFY(SaveWhoisText("other.com", "newer"));
    QVERIFY(!fs::exists(WhoisDataFolder() / "o" / "other.com"));
    QCOMPARE(LoadWhoisText("other.com"), std::string("newer"));
  }

  void savingOff() {
    SetSaveWhoisDataEnabled(false);
    QVERIFY(!SaveWhoisText("quiet.com", "answer"));
    QVERIFY(!fs::exists(WhoisDataFolder() / "q" / "quiet.com.txt"));
    QCOMPARE(LoadWhoisText("quiet.com"), std::string(kWhoisLoggingDisabledText));
    // A file kept before saving was turned off is still shown.
    WriteFile(WhoisDataFolder() / "k" / "kept.com.txt", "kept");
    QCOMPARE(LoadWhoisText("kept.com"), std::string("kept"));
  }

  void dataPathSetting() {
    const fs::path custom = qvtest::TempPath(QStringLiteral("custom answers"));
    SetWhoisDataFolder(custom);
    QVERIFY(SaveWhoisText("zed.org", "z"));
    QCOMPARE(enginetest::FileText(custom / "z" / "zed.org.txt"), std::string("z"));
    // A path stored with the backslash folder mark of older settings.
    WriteProfileString(kSettingsSection, kWhoisDataPathKey, custom.string() + "\\");
    QVERIFY(WhoisDataFolder() == custom);
    SetWhoisDataFolder({});
    QVERIFY(WhoisDataFolder() == DefaultWhoisDataFolder());
  }

  // Which answers a reading of the folder finds holding a lookup error. A
  // reading since a time after the files were written opens none of them:
  // what the reading before found stands while its file is there.
  void folderReading_data() {
    QTest::addColumn<int>("since");  // seconds from now; 0: a first, whole reading
    QTest::addColumn<QStringList>("previous");
    QTest::addColumn<QStringList>("errors");
    QTest::newRow("whole") << 0 << QStringList{"good.com"} << QStringList{"err.com", "pr_n.com"};
    QTest::newRow("changed since") << -60 << QStringList{"good.com"} << QStringList{"err.com", "pr_n.com"};
    QTest::newRow("nothing changed since")
        << 60 << QStringList{"good.com", "gone.com", "stray.com"} << QStringList{"good.com"};
  }
  void folderReading() {
    QFETCH(int, since);
    QFETCH(QStringList, previous);
    QFETCH(QStringList, errors);
    const fs::path folder = WhoisDataFolder();
    const std::string error = "Whois Lookup Error: Whois server refused connection.\n[Whois Source: a]";
    WriteFile(folder / "e" / "err.com.txt", "Domain Name: ERR.COM\n" + error);
    WriteFile(folder / "p" / "pr_n.com.txt", error);
    WriteFile(folder / "g" / "good.com.txt", "Domain Name: GOOD.COM\n[Whois Source: a]");
    // Not where any name's answer is kept.
    WriteFile(folder / "x" / "stray.com.txt", error);
    WriteFile(folder / "e" / "old.com", error);
    WriteFile(folder / "e" / "err2.com.txt.new", error);
    std::unordered_set<std::string> before;
    for (const QString& name : previous) before.insert(name.toStdString());
    const std::atomic<bool> stop{false};
    const std::optional<std::time_t> from =
        since ? std::optional<std::time_t>(std::time(nullptr) + since) : std::nullopt;
    const AnswerFolderReading reading = ReadAnswerFolder(folder, from, before, stop);
    QVERIFY(reading.complete);
    QStringList found;
    for (const std::string& name : reading.errors) found << QString::fromStdString(name);
    found.sort();
    QCOMPARE(found, errors);
  }
};

QV_TEST(AnswerFilesTest)
#include "test_answer_files.moc"
