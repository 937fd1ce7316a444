#include <QAction>
#include <QComboBox>
#include <QDockWidget>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QSet>
#include <QTest>
#include <QUrl>
#include <filesystem>

#include "app/command_ids.h"
#include "app/docks/busy_indicator.h"
#include "app/docks/domain_names_bar.h"
#include "app/exit_marker.h"
#include "app/main_frame.h"
#include "app/menus.h"
#include "app/docks/lookup_list_bar.h"
#include "app/view/corvane_view.h"
#include "lookup/lookup_engine.h"
#include "platform/settings_store.h"
#include "store/name_pad.h"
#include "support/test_registry.h"
#include "test_main_frame_support.h"

using namespace qv;
namespace fs = std::filesystem;

namespace {

// The commands reachable from `menu` and its submenus.
void CollectIds(const QMenu* menu, QSet<int>& out) {
  for (QAction* action : menu->actions()) {
    if (action->menu()) CollectIds(action->menu(), out);
    else if (!action->isSeparator()) out.insert(action->data().toInt());
  }
}

}  // namespace

class MainFrameTest : public qvtest::WindowTest {
  Q_OBJECT

 private slots:
  void init() { Fresh(); }

  // --- Start-up and shut-down ---------------------------------------------

  // The last document is opened again after a normal end with auto load on
  // (normalExitRemovesMarkerAndNextStartReopens); otherwise, or when it is
  // gone, the start opens nothing and says nothing.
  void lastDocumentNotReopened_data() {
    QTest::addColumn<bool>("markerLeft");
    QTest::addColumn<int>("autoDocLoad");
    QTest::addColumn<bool>("gone");
    QTest::newRow("after a crash, auto load on") << true << 1 << false;
    QTest::newRow("normal end, auto load off") << false << 0 << false;
    QTest::newRow("normal end, document gone") << false << 1 << true;
  }
  void lastDocumentNotReopened() {
    QFETCH(bool, markerLeft);
    QFETCH(int, autoDocLoad);
    QFETCH(bool, gone);
    const QString doc = qvtest::MakeDocument("last.qvl", {"example.com"});
    AddRecentFile(doc.toStdString());
    if (gone) QVERIFY(QFile::remove(doc));
    WriteProfileInt(kSettingsSection, "Enable Auto DocLoad", autoDocLoad);
    if (markerLeft) TestAndSetExitMarker(ExitMarkerPath());

    qv::StartUpOptions options = qvtest::TestOptions(log_);
    QCOMPARE(options.previousRunEndedNormally, !markerLeft);
    CMainFrame frame(options);
    QVERIFY(frame.StartedUp());
    QVERIFY(!frame.Document().IsOpen());
    // The marker of this run is in place until it ends.
    QVERIFY(fs::exists(ExitMarkerPath()));
    QVERIFY(log_->told.isEmpty());
  }

  void normalExitRemovesMarkerAndNextStartReopens() {
    const QString doc = qvtest::MakeDocument("next.qvl", {"example.com"});
    {
      CMainFrame first(qvtest::TestOptions(log_, {doc}));
      QCOMPARE(first.Document().Path(), doc);
      QVERIFY(fs::exists(ExitMarkerPath()));
      QVERIFY(first.close());
      QVERIFY(!fs::exists(ExitMarkerPath()));
    }
    {
      // A run that ends without closing its window leaves the marker behind.
      CMainFrame second(qvtest::TestOptions(log_));
      QCOMPARE(second.Document().Path(), doc);
    }
    QVERIFY(fs::exists(ExitMarkerPath()));
  }

  void commandLineDocumentWinsOverRecentList() {
    const QString recent = qvtest::MakeDocument("recent.qvl", {"recent.com"});
    const QString named = qvtest::MakeDocument("named.qvl", {"named.com"});
    AddRecentFile(recent.toStdString());
    // Named without its extension, as a user types it.
    CMainFrame frame(qvtest::TestOptions(log_, {QStringLiteral("--ignored"), named.chopped(4)}));
    QCOMPARE(frame.Document().Path(), named);
    QCOMPARE(frame.View()->AllShownNames(), QStringList{QStringLiteral("named.com")});
    // Opening put it first in the recent-file list.
    QCOMPARE(QString::fromStdString(RecentFiles().front()), named);
  }

  void commandLineDocumentThatFailsEndsStartUp() {
    const QString missing = qvtest::TempRoot() + QStringLiteral("/work/missing.qvl");
    CMainFrame frame(qvtest::TestOptions(log_, {missing}));
    QVERIFY(!frame.StartedUp());
    QCOMPARE(log_->told.size(), 1);
    QVERIFY(log_->told.front().startsWith(QStringLiteral("Error: Opening Database.")));
  }

  void windowPlacement_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QRect>("expected");
    QTest::newRow("ten numbers") << "0,1,-1,-1,-1,-1,100,120,740,600" << QRect(100, 120, 640, 480);
    QTest::newRow("no area") << "0,1,-1,-1,-1,-1,100,120,100,600" << QRect();
  }
  void windowPlacement() {
    QFETCH(QString, stored);
    QFETCH(QRect, expected);
    WriteProfileString(kSettingsSection, "WindowPosition", stored.toStdString());
    CMainFrame frame(qvtest::TestOptions(log_));
    if (expected.isValid())
      QCOMPARE(frame.geometry(), expected);
    else
      QCOMPARE(frame.size(), QSize(1000, 700));  // the default placement
  }

  void shutDownWritesBarViewModeAndPlacement() {
    {
      CMainFrame frame(qvtest::TestOptions(log_));
      QVERIFY(frame.DomainNamesDock()->isVisible());
      frame.Action(kCmdViewDomainNamesBar)->trigger();
      frame.Action(kCmdViewRawWhois)->trigger();
      frame.setGeometry(50, 60, 700, 500);
      QVERIFY(frame.close());
    }
    CMainFrame again(qvtest::TestOptions(log_));
    QVERIFY(again.DomainNamesDock()->isHidden());
    QVERIFY(!again.Action(kCmdViewDomainNamesBar)->isChecked());
    QVERIFY(!again.Action(kCmdViewRawWhois)->isChecked());
    QCOMPARE(again.geometry(), QRect(50, 60, 700, 500));
    QVERIFY(again.close());
    QCOMPARE(GetProfileInt(kSettingsSection, "Dialog Bar Visible", -1), 0);
  }

  void scratchListKeptBetweenRuns() {
    NamePad before;
    before.lists[1].entries = {"kept.org"};
    before.lists[2] = {{"x.net", "y.net"}, 1};
    QVERIFY(SaveNamePad(before));
    {
      CMainFrame frame(qvtest::TestOptions(log_));
      frame.DomainNamesBar()->AddNames({"one.com", "Two.net", "ONE.com"});
      QCOMPARE(frame.DomainNamesBar()->Names(), QStringList({"one.com", "Two.net"}));
      QVERIFY(frame.close());
    }
    const NamePad after = LoadNamePad();
    QCOMPARE(after.lists[0].entries, (std::vector<std::string>{"one.com", "Two.net"}));
    QVERIFY(after.lists[1] == before.lists[1]);
    QVERIFY(after.lists[2] == before.lists[2]);
    CMainFrame again(qvtest::TestOptions(log_));
    QCOMPARE(again.DomainNamesBar()->Names(), QStringList({"one.com", "Two.net"}));
  }

  void droppedFileOpensAsDocument() {
    const QString doc = qvtest::MakeDocument("dropped.qvl", {"dropped.com"});
    CMainFrame frame(qvtest::TestOptions(log_));
    QVERIFY(frame.acceptDrops());
    QVERIFY(!frame.OpenDroppedFiles({QUrl(QStringLiteral("https://example.com/x.qvl"))}));
    QVERIFY(!frame.Document().IsOpen());
    QVERIFY(frame.OpenDroppedFiles({QUrl(QStringLiteral("https://example.com/x.qvl")), QUrl::fromLocalFile(doc)}));
    QCOMPARE(log_->told, QStringList());
    QCOMPARE(frame.Document().Path(), doc);
    QCOMPARE(frame.View()->AllShownNames(), QStringList{QStringLiteral("dropped.com")});
  }

  void minimizeAtStartup() {
    WriteProfileInt(kSettingsSection, "Minimize At Startup", 1);
    CMainFrame frame(qvtest::TestOptions(log_));
    QVERIFY(frame.Action(kCmdOpenInTrayAtStartup)->isChecked());
    // The command is posted, so it runs once events are handled.
    QTRY_VERIFY(frame.isMinimized() || frame.InTray());
    frame.RestoreFromTray();
    QVERIFY(!frame.isMinimized() && frame.isVisible());
    frame.Action(kCmdOpenInTrayAtStartup)->trigger();
    QCOMPARE(GetProfileInt(kSettingsSection, "Minimize At Startup", -1), 0);
  }

  // --- Furniture ------------------------------------------------------------

  void capsLockIndicatorFollowsTyping() {
    CMainFrame frame(qvtest::TestOptions(log_));
    QTest::sendKeyEvent(QTest::Press, &frame, Qt::Key_A, QStringLiteral("A"), Qt::NoModifier);
    QCOMPARE(frame.StatusText(kPaneCapsLock), QStringLiteral("CAP"));
    QTest::sendKeyEvent(QTest::Press, &frame, Qt::Key_A, QStringLiteral("a"), Qt::ShiftModifier);
    QCOMPARE(frame.StatusText(kPaneCapsLock), QStringLiteral("CAP"));
    QTest::sendKeyEvent(QTest::Press, &frame, Qt::Key_B, QStringLiteral("b"), Qt::NoModifier);
    QCOMPARE(frame.StatusText(kPaneCapsLock), QString());
  }

  // The busy animation at the toolbar's end follows the engine.
  void busyIndicatorFollowsTheEngine() {
    CMainFrame frame(qvtest::TestOptions(log_));
    emit frame.Engine().busyChanged(true);
    QVERIFY(frame.BusyIndicator()->IsBusy());
    QTRY_VERIFY(frame.BusyIndicator()->Frame() > 0);
    emit frame.Engine().busyChanged(false);
    QVERIFY(!frame.BusyIndicator()->IsBusy());
    QCOMPARE(frame.BusyIndicator()->Frame(), 0);
  }

  void tickShowsTheEngineInPanesAndQueueBar() {
    const QString doc = qvtest::MakeDocument("tick.qvl", {"a.com", "b.com", "c.com"});
    CMainFrame frame(qvtest::TestOptions(log_, {doc}));
    QCOMPARE(frame.LookupQueueBar()->model()->rowCount(), 0);
    // The counts follow the list before any tick.
    QCOMPARE(frame.StatusText(kPaneDisplay), QStringLiteral("Display: 3"));
    frame.Action(kCmdListLetterA + 1)->trigger();  // names starting with b
    QCOMPARE(frame.StatusText(kPaneDisplay), QStringLiteral("Display: 1"));
    frame.Action(kCmdListAll)->trigger();
    // A ping that cannot start waits in its queue, so nothing runs.
    WebCheckHooks hooks;
    hooks.startPing = [](const std::string&) { return false; };
    frame.Engine().SetWebCheckHooks(hooks);
    QVERIFY(frame.Engine().QueuePing("b.com"));
    frame.OnTimerTick();
    QCOMPARE(frame.StatusText(kPaneTotal), QStringLiteral("Total: NA"));
    QCOMPARE(frame.StatusText(kPaneDisplay), QStringLiteral("Display: 3"));
    QCOMPARE(frame.StatusText(kPaneQueue), QStringLiteral("Queue: 1"));
    QCOMPARE(frame.StatusText(kPaneActivity), QStringLiteral("W:0 D:0 H:0 P:0"));
    QCOMPARE(frame.LookupQueueBar()->model()->rowCount(), 1);
    QCOMPARE(frame.LookupQueueBar()->model()->index(0, 0).data().toString(), QStringLiteral("b.com: Ping"));
    frame.Action(kCmdStopLookups)->trigger();
    frame.OnTimerTick();
    QCOMPARE(frame.StatusText(kPaneQueue), QStringLiteral("Queue: 0"));
    QCOMPARE(frame.LookupQueueBar()->model()->rowCount(), 0);
  }

  // Every command is reachable from the menu bar or the list's context
  // menu, but those of the Domain Names bar, the tray icon and the quick
  // lookup box, which have their own places.
  void menusHoldEveryCommand() {
    CMainFrame frame(qvtest::TestOptions(log_));
    QSet<int> shown;
    for (QAction* action : frame.menuBar()->actions())
      if (action->menu()) CollectIds(action->menu(), shown);
    CollectIds(frame.ListContextMenu(), shown);
    const QSet<int> elsewhere = {kCmdLookupDomain, kCmdPadDeleteSelected, kCmdPadDeleteAll,
                                 kCmdPadCopySelected, kCmdPadCopyAll, kCmdPadRefresh, kCmdTrayRestore,
                                 kCmdTrayExit};
    QStringList missing;
    for (const CommandEntry& entry : CommandEntries())
      if (!shown.contains(entry.id) && !elsewhere.contains(entry.id)) missing << entry.text;
    QVERIFY2(missing.isEmpty(), qPrintable(missing.join(QLatin1String(" | "))));
  }

  // Every command of the menus either runs something or belongs to a
  // feature still to come; none is left enabled-looking but dead, or
  // disabled by oversight.
  void everyOtherCommandIsWired() {
    CMainFrame frame(qvtest::TestOptions(log_));
    const std::vector<int>& later = LaterCommands();
    // Enabled only when there is something to act on, or when the engine
    // offers the check.
    const std::vector<int> byState = {kCmdRecentFile1, kCmdRecentFile1 + 1, kCmdRecentFile1 + 2, kCmdRecentFile1 + 3,
                                      kCmdViewDomainDataLog, kCmdStopLookups, kCmdPingSelected, kCmdPingAll,
                                      kCmdTmSelected, kCmdTmAll, kCmdHttpSelected, kCmdHttpAll, kCmdSitePopSelected,
                                      kCmdSitePopAll};
    QStringList unwired;
    for (const CommandEntry& entry : CommandEntries()) {
      if (std::find(byState.begin(), byState.end(), entry.id) != byState.end()) continue;
      const bool isLater = std::find(later.begin(), later.end(), entry.id) != later.end();
      QAction* action = frame.Action(entry.id);
      if (action && action->isEnabled() == isLater) unwired << QString::fromUtf8(entry.text);
    }
    QVERIFY2(unwired.isEmpty(), qPrintable(unwired.join(QLatin1String(" | "))));
  }

  void displayModeFromMenuAndSelector() {
    CMainFrame frame(qvtest::TestOptions(log_));
    frame.Action(kCmdModeNetwork)->trigger();
    QCOMPARE(frame.View()->DisplayMode(), int(kCmdModeNetwork));
    QCOMPARE(frame.DomainNamesBar()->ModeSelector()->currentText(), QStringLiteral("Network Related"));
    QVERIFY(frame.Action(kCmdModeNetwork)->isChecked());
    emit frame.DomainNamesBar()->modeChosen(kCmdModeEmails);
    QVERIFY(frame.Action(kCmdModeEmails)->isChecked());
    QVERIFY(!frame.Action(kCmdModeNetwork)->isChecked());
    QCOMPARE(frame.View()->DisplayMode(), int(kCmdModeEmails));
  }
};

QV_TEST(MainFrameTest)
#include "test_main_frame.moc"
