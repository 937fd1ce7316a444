#include <QAction>
#include <QFileInfo>
#include <QListWidget>
#include <QTest>

#include "app/command_ids.h"
#include "app/commands/file_commands.h"
#include "app/docks/domain_names_bar.h"
#include "app/main_frame.h"
#include "app/view/big_list_view.h"
#include "app/view/corvane_view.h"
#include "platform/settings_store.h"
#include "support/test_registry.h"
#include "test_file_support.h"
#include "test_main_frame_support.h"

using namespace qv;

namespace {

QStringList Shown(CMainFrame& frame) { return frame.View()->AllShownNames(); }

}  // namespace

class MainFrameCommandsTest : public qvtest::WindowTest {
  Q_OBJECT

 private slots:
  void init() { Fresh(); }

  // Delete asks first, naming the count, and only Yes deletes; the Delete
  // key deletes from the list that has the focus.
  void deleteAsksFirst() {
    const QString doc = qvtest::MakeDocument("sel.qvl", {"a.com", "b.com", "c.com"});
    CMainFrame frame(qvtest::TestOptions(log_, {doc}));
    frame.Action(kCmdDeleteSelected)->trigger();  // nothing selected: nothing asked
    QVERIFY(log_->asked.isEmpty());
    frame.View()->SelectNames({"a.com", "c.com"});
    for (const auto answer : {QMessageBox::No, QMessageBox::Yes}) {
      log_->answer = answer;
      frame.Action(kCmdDeleteSelected)->trigger();
      QCOMPARE(log_->asked.back(), QStringLiteral("Are you sure?\n\nAbout to delete records of 2 domains."));
      QCOMPARE(Shown(frame), answer == QMessageBox::Yes ? QStringList({"b.com"}) : QStringList({"a.com", "b.com", "c.com"}));
    }
    QVERIFY(log_->told.isEmpty());

    frame.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&frame));
    frame.DomainNamesBar()->AddNames({QStringLiteral("pad.com"), QStringLiteral("keep.com")});
    frame.DomainNamesBar()->NameList()->setFocus();
    frame.DomainNamesBar()->NameList()->setCurrentRow(0);
    QTest::keyClick(frame.DomainNamesBar()->NameList(), Qt::Key_Delete);
    QCOMPARE(frame.DomainNamesBar()->Names(), QStringList{QStringLiteral("keep.com")});
    QCOMPARE(log_->asked.size(), 2);
    frame.View()->SelectName(QStringLiteral("b.com"));
    frame.View()->ListView()->setFocus();
    QTest::keyClick(frame.View()->ListView(), Qt::Key_Delete);
    QCOMPARE(log_->asked.size(), 3);
    QCOMPARE(Shown(frame), QStringList{});
  }

  void newDocument() {
    CMainFrame frame(qvtest::TestOptions(log_));
    log_->savePaths << qvtest::WorkPath(QStringLiteral("fresh"));
    frame.Action(kCmdFileNew)->trigger();
    const QString path = qvtest::WorkPath(QStringLiteral("fresh.qvl"));
    QCOMPARE(log_->saveTitles, QStringList{QStringLiteral("Database File Name")});
    QVERIFY(QFileInfo::exists(path));
    QCOMPARE(frame.Document().Path(), path);
    QCOMPARE(frame.Document().Title(), QStringLiteral("fresh.qvl"));
    QVERIFY(frame.windowTitle().startsWith(QStringLiteral("fresh.qvl")));
    QCOMPARE(QString::fromStdString(RecentFiles().front()), path);
    QVERIFY(Shown(frame).isEmpty());
    QVERIFY(log_->told.isEmpty());
  }

  void openRefusesAFileThatIsNoDatabase() {
    const QString doc = qvtest::MakeDocument("good.qvl", {"good.com"});
    const QString text = qvtest::WorkPath(QStringLiteral("notes.txt"));
    QVERIFY(qvtest::WriteBytes(text, "just some words\n"));
    CMainFrame frame(qvtest::TestOptions(log_, {doc}));
    log_->openPaths << text;
    frame.Action(kCmdFileOpen)->trigger();
    QCOMPARE(log_->told.size(), 1);
    QVERIFY(log_->told.front().startsWith(QStringLiteral("Error: Opening Database.")));
    QCOMPARE(frame.Document().Path(), doc);
    QCOMPARE(Shown(frame), QStringList{QStringLiteral("good.com")});
  }

  void noDatabaseDialog_data() {
    QTest::addColumn<int>("choice");
    QTest::addColumn<bool>("opened");
    QTest::newRow("cancel") << int(NoDatabaseChoice::Cancel) << false;
    QTest::newRow("create") << int(NoDatabaseChoice::CreateNew) << true;
    QTest::newRow("open") << int(NoDatabaseChoice::OpenExisting) << true;
  }
  void noDatabaseDialog() {
    QFETCH(int, choice);
    QFETCH(bool, opened);
    const QString existing = qvtest::MakeDocument("existing.qvl", {"there.com"});
    CMainFrame frame(qvtest::TestOptions(log_));
    log_->noDatabaseChoice = NoDatabaseChoice(choice);
    log_->savePaths << qvtest::WorkPath(QStringLiteral("created.qvl"));
    log_->openPaths << existing;
    frame.Action(kCmdNormalizeDatabase)->trigger();
    QCOMPARE(log_->noDatabaseCount, 1);
    QCOMPARE(frame.Document().IsOpen(), opened);
    // Once a document is there the command goes on and shows its log.
    QCOMPARE(log_->textTitles.size(), opened ? 1 : 0);
    if (opened) QCOMPARE(log_->texts.front(), QString());
  }

  void normalizeAddsMissingFieldsAndShowsTheLog() {
    const QString doc = qvtest::MakeDocument("norm.qvl", {"n.com"});
    {
      DatabaseConnection c;
      QCOMPARE(c.OpenDatabase(doc.toStdString(), false), kDbOk);
      QCOMPARE(c.OpenTable("Domains"), kDbOk);
      QCOMPARE(c.DeleteField("Notes-D"), kDbOk);
    }
    CMainFrame frame(qvtest::TestOptions(log_, {doc}));
    frame.Action(kCmdNormalizeDatabase)->trigger();
    QCOMPARE(log_->noDatabaseCount, 0);
    QCOMPARE(log_->texts, QStringList{QStringLiteral("Success [Created Field:Notes-D]\r\n")});
    QCOMPARE(Shown(frame), QStringList{QStringLiteral("n.com")});
  }

  void backupAndCompact() {
    const QString doc = qvtest::MakeDocument("live.qvl", {"x.com", "y.com"});
    CMainFrame frame(qvtest::TestOptions(log_, {doc}));
    log_->savePaths << doc;
    frame.Action(kCmdBackupCompact)->trigger();
    QCOMPARE(log_->told, QStringList{doc + " is currently open.\r\nPlease specify a different backup file name."});
    const QString backup = qvtest::WorkPath(QStringLiteral("backup.qvl"));
    log_->savePaths << backup;
    frame.Action(kCmdBackupCompact)->trigger();
    QCOMPARE(log_->saveTitles.back(), QStringLiteral("Save the backup file to"));
    QCOMPARE(log_->told.back(), "The backup was saved to " + backup + ".");
    QVERIFY(QFileInfo::exists(backup));
    // The list reads the open document again after the copy.
    QCOMPARE(Shown(frame), QStringList({"x.com", "y.com"}));
  }

  // A name typed without an extension gets one; when that names an existing
  // file, the user is asked about that file, and No leaves it alone.
  void typedNameGetsItsExtensionAndTheQuestion_data() {
    QTest::addColumn<int>("command");
    QTest::addColumn<QString>("extension");
    QTest::newRow("new") << int(kCmdFileNew) << ".qvl";
    QTest::newRow("backup") << int(kCmdBackupCompact) << ".qvl";
    QTest::newRow("repair") << int(kCmdRepairDatabase) << ".qvl";
    QTest::newRow("csv export") << int(kCmdExportFullTable) << ".csv";
  }
  void typedNameGetsItsExtensionAndTheQuestion() {
    QFETCH(int, command);
    QFETCH(QString, extension);
    const QString doc = qvtest::MakeDocument("live.qvl", {"x.com"});
    const QString other = qvtest::MakeDocument("other.qvl", {"p.com"});
    CMainFrame frame(qvtest::TestOptions(log_, {doc}));
    const QString kept = qvtest::WorkPath(QStringLiteral("mine") + extension);
    QVERIFY(qvtest::WriteBytes(kept, "keep me"));
    for (const QMessageBox::StandardButton answer : {QMessageBox::No, QMessageBox::Yes}) {
      log_->answer = answer;
      log_->openPaths = QStringList{other};
      log_->savePaths = QStringList{qvtest::WorkPath(QStringLiteral("mine"))};
      frame.Action(command)->trigger();
      QCOMPARE(log_->asked.back(), kept + QStringLiteral(" already exists.\r\nDo you want to replace it?"));
      QCOMPARE(qvtest::FileBytes(kept) == "keep me", answer == QMessageBox::No);
    }
    QVERIFY(!QFileInfo::exists(qvtest::WorkPath(QStringLiteral("mine"))));
  }

  // A document this user cannot write says so in the title, and a command
  // that would change it is refused with one message before it starts.
  void readOnlyDocumentRefusesWrites() {
    const QString doc = qvtest::MakeDocument("ro.qvl", {"x.com"});
    CMainFrame frame(qvtest::TestOptions(log_, {doc}));
    frame.Document().Database().SetPath(doc.toStdString(), true);
    QCOMPARE(frame.Document().Title(), QStringLiteral("ro.qvl (read only)"));
    for (int command : {kCmdDeleteSelected, kCmdImportLargeTextFile, kCmdLookupAll, kCmdNormalizeDatabase})
      frame.Action(command)->trigger();
    QCOMPARE(log_->told, QStringList(4, QString::fromLatin1(kReadOnlyDocumentText)));
    QVERIFY(log_->openTitles.isEmpty());
    DomainRecord record;
    QVERIFY(frame.Document().Database().ReadRecord("x.com", record));
    QVERIFY(!frame.Document().Database().WriteRecord(record));
    QCOMPARE(frame.Document().Database().update().GetLastError(), std::string(kReadOnlyDocumentText));
  }

  void repairRefusesTheOpenFile() {
    const QString doc = qvtest::MakeDocument("open.qvl", {"o.com"});
    const QString other = qvtest::MakeDocument("other.qvl", {"p.com"});
    CMainFrame frame(qvtest::TestOptions(log_, {doc}));
    log_->openPaths << doc;
    frame.Action(kCmdRepairDatabase)->trigger();
    QCOMPARE(log_->openTitles, QStringList{QStringLiteral("Database File to be repaired")});
    QCOMPARE(log_->told, QStringList{doc + QStringLiteral(" is currently open.\r\nClose it first (File, Close).")});
    QVERIFY(log_->saveTitles.isEmpty());

    const QString repaired = qvtest::WorkPath(QStringLiteral("repaired.qvl"));
    log_->openPaths << other;
    log_->savePaths << repaired;
    frame.Action(kCmdRepairDatabase)->trigger();
    QCOMPARE(log_->saveTitles, QStringList{QStringLiteral("Save the repaired file to")});
    QCOMPARE(log_->told.back(), QStringLiteral("Done!"));
    QVERIFY(QFileInfo::exists(repaired));
    QCOMPARE(frame.Document().Path(), doc);
  }

  void letterListsAndSorting() {
    const QString doc = qvtest::MakeDocument("letters.qvl", {"beta.com", "alpha.com", "9lives.com", "apple.net"});
    CMainFrame frame(qvtest::TestOptions(log_, {doc}));
    frame.Action(kCmdListLetterA)->trigger();
    QCOMPARE(Shown(frame), QStringList({"alpha.com", "apple.net"}));
    frame.Action(kCmdListDigits)->trigger();
    QCOMPARE(Shown(frame), QStringList{QStringLiteral("9lives.com")});
    // With the order unlocked every new list flips the direction.
    frame.Action(kCmdLockSortingOrder)->trigger();
    QCOMPARE(GetProfileInt(kSettingsSection, "Lock Sorting Order", -1), 0);
    frame.Action(kCmdListAll)->trigger();
    QCOMPARE(Shown(frame), QStringList({"beta.com", "apple.net", "alpha.com", "9lives.com"}));
    frame.Action(kCmdSortNameWise)->trigger();
    QCOMPARE(Shown(frame), QStringList({"9lives.com", "alpha.com", "apple.net", "beta.com"}));
  }

  // A second click on the sorted header turns the order round (unless
  // "Always Sort in Ascending Order" is on); the sort is kept for the next
  // start; a sort that fails says why.
  void headerSortingIsKept() {
    const QString doc = qvtest::MakeDocument("sorted.qvl", {"beta.com", "alpha.com", "gamma.com"});
    {
      CMainFrame frame(qvtest::TestOptions(log_, {doc}));
      QVERIFY(!frame.Action(kCmdAlwaysSortAscending)->isChecked());
      QVERIFY(frame.View()->SortByColumn(1));
      QCOMPARE(Shown(frame), QStringList({"alpha.com", "beta.com", "gamma.com"}));
      frame.Action(kCmdAlwaysSortAscending)->trigger();
      QVERIFY(frame.View()->SortByColumn(1));
      QVERIFY(frame.View()->SortByColumn(1));
      QCOMPARE(Shown(frame), QStringList({"alpha.com", "beta.com", "gamma.com"}));
      frame.Action(kCmdAlwaysSortAscending)->trigger();
      QVERIFY(frame.View()->SortByColumn(1));
      QVERIFY(!frame.View()->SortByField(QStringLiteral("No Such Field"), true));
      QCOMPARE(log_->told.size(), 1);
      QVERIFY(log_->told[0].contains(QStringLiteral("No Such Field")));
    }
    CMainFrame again(qvtest::TestOptions(log_, {doc}));
    QCOMPARE(Shown(again), QStringList({"gamma.com", "beta.com", "alpha.com"}));
  }

  void namesGoToTheScratchList() {
    const QString doc = qvtest::MakeDocument("pad.qvl", {"a.com", "b.com"});
    CMainFrame frame(qvtest::TestOptions(log_, {doc}));
    frame.Action(kCmdSendAllToNamePad)->trigger();
    frame.View()->SelectName(QStringLiteral("b.com"));
    frame.Action(kCmdSendSelectedToNamePad)->trigger();
    QCOMPARE(frame.DomainNamesBar()->Names(), QStringList({"a.com", "b.com"}));
    frame.Action(kCmdPadDeleteAll)->trigger();
    QVERIFY(frame.DomainNamesBar()->Names().isEmpty());
  }
};

QV_TEST(MainFrameCommandsTest)
#include "test_main_frame_commands.moc"
