#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QTest>
#include <QUrl>
#include <memory>

#include "app/command_ids.h"
#include "app/commands/lookup_commands.h"
#include "app/dialogs/lookup_dialog.h"
#include "app/dialogs/lookup_settings_dialog.h"
#include "app/docks/quick_lookup_bar.h"
#include "app/main_frame.h"
#include "app/progress.h"
#include "app/view/corvane_view.h"
#include "lookup/change_log.h"
#include "lookup/lookup_engine.h"
#include "platform/settings_store.h"
#include "support/test_registry.h"
#include "support/waiting_web_checks.h"
#include "test_main_frame_support.h"

using namespace qv;
using qvtest::WaitingWebChecks;

namespace {

QStringList Entries(const LookupEngine& engine, QueueKind kind) {
  QStringList out;
  const LookupQueue& queue = engine.Queue(kind);
  for (std::size_t i = 0; i < queue.Size(); ++i) out << QString::fromStdString(queue.At(i));
  return out;
}

// The dialog's checks that options stand for, in the dialog's order.
QList<int> Checks(const LookupRunOptions& o) {
  const bool on[] = {o.dns, o.whois, o.ping, o.homePage, o.linkPopularity, o.trademark};
  QList<int> checks;
  for (int c = 0; c < CLookupDialog::kCheckCount; ++c)
    if (on[c]) checks << c;
  return checks;
}
QList<int> Checks(const LookupDialogValues& v) {
  return Checks(LookupRunOptions{v.whois, v.dns, v.ping, v.http, v.linkPop, v.usTm, 0});
}

}  // namespace

class LookupCommandsTest : public qvtest::WindowTest {
  Q_OBJECT

  std::unique_ptr<CMainFrame> frame_;
  std::unique_ptr<LookupEngine> engine_;
  QStringList progressTitles_;

  DomainDatabase& Db() { return frame_->Document().Database(); }

  void SetRecord(const std::string& name, int hoursSinceLookup, bool locked) {
    QVERIFY(qvtest::EditRecord(Db(), name, [=](DomainRecord& r) {
      r.SetDate(field::kLastCheckedAt, Date::FromDays(Date::Now().days() - hoursSinceLookup / 24.0));
      r.SetLocked(locked);
    }));
  }

  void Trigger(int command) {
    QAction* action = frame_->Action(command);
    QVERIFY(action && action->isEnabled());
    action->trigger();
  }

 private slots:
  void init() {
    Fresh();
    frame_ = qvtest::HiddenFrame(log_, "lookups.qvl", {"a.test", "b.test", "c.test", "d.test"});
    QVERIFY(frame_);
    engine_ = std::make_unique<LookupEngine>([f = frame_.get()] { return &f->Document().Database(); }, 600000);
    // The window's own engine updates the command states too.
    frame_->Engine().SetWebCheckHooks(WaitingWebChecks());
    engine_->SetWebCheckHooks(WaitingWebChecks());
    WireLookupCommands(*frame_, *engine_);
    // a: never looked up; b: an hour ago; c: locked; d: two days ago.
    SetRecord("b.test", 1, false);
    SetRecord("c.test", 1, true);
    SetRecord("d.test", 48, false);
    frame_->Document().RefreshList();
    progressTitles_.clear();
    SetProgressObserverForTests([this](ProgressWindow& w, long long, long long) {
      if (progressTitles_.isEmpty() || progressTitles_.last() != w.Title()) progressTitles_ << w.Title();
    });
    SetLookupDialogRunnerForTests({});
    SetFileOpenerForTests({});
  }
  void cleanup() {
    SetProgressObserverForTests({});
    SetLookupDialogRunnerForTests({});
    SetFileOpenerForTests({});
    engine_.reset();
    LetGoOfList();
    frame_.reset();
  }

  // A single-kind command fills its kind's one queue through its filter:
  // one row for each kind (which names a kind takes is the engine's table).
  void singleKindCommands_data() {
    QTest::addColumn<int>("command");
    QTest::addColumn<int>("queue");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QStringList>("queued");
    const int whois = int(QueueKind::Whois);
    // Selected: a, b and the locked c.
    QTest::newRow("whois selected: every unlocked name")
        << int(kCmdWhoisSelected) << whois << kWhoisQueueTitle << QStringList{"a.test", "b.test"};
    QTest::newRow("whois all: only names not checked for a day")
        << int(kCmdWhoisAll) << whois << kWhoisQueueTitle << QStringList{"a.test", "d.test"};
    QTest::newRow("dns all") << int(kCmdDnsAll) << int(QueueKind::Dns) << kDnsQueueTitle
                             << QStringList{"a.test", "b.test", "d.test"};
    QTest::newRow("ping all") << int(kCmdPingAll) << int(QueueKind::Ping) << kPingQueueTitle
                              << QStringList{"a.test", "b.test", "d.test"};
    QTest::newRow("http selected") << int(kCmdHttpSelected) << int(QueueKind::HomePage)
                                   << kHomePageQueueTitle << QStringList{"a.test", "b.test"};
    QTest::newRow("site pop all") << int(kCmdSitePopAll) << int(QueueKind::LinkPopularity)
                                  << kLinkPopQueueTitle << QStringList{"a.test", "b.test", "d.test"};
    QTest::newRow("us tm selected") << int(kCmdTmSelected) << int(QueueKind::Trademark)
                                    << kTrademarkQueueTitle << QStringList{"a.test", "b.test"};
  }
  void singleKindCommands() {
    QFETCH(int, command);
    QFETCH(int, queue);
    QFETCH(QString, title);
    QFETCH(QStringList, queued);
    frame_->View()->SelectNames({"a.test", "b.test", "c.test"});
    QCOMPARE(frame_->SelectedNames().size(), 3);
    Trigger(command);
    QCOMPARE(Entries(*engine_, QueueKind(queue)), queued);
    QCOMPARE(progressTitles_, QStringList{title});
    QCOMPARE(int(engine_->QueuedTotal()), queued.size());  // nothing else was queued
  }

  void lookupAllWhileBusy() {
    LookupRunOptions options;
    options.dns = true;
    engine_->StartListRun(options, {"a.test", "b.test"});
    QVERIFY(engine_->RunBusy());
    int dialogs = 0;
    SetLookupDialogRunnerForTests([&dialogs](QDialog&) {
      ++dialogs;
      return int(QDialog::Accepted);
    });
    Trigger(kCmdLookupAll);
    QCOMPARE(dialogs, 0);
    QCOMPARE(log_->told, QStringList{kLookupsBusyText});
    QCOMPARE(int(engine_->Run().pending.size()), 2);
  }

  // The dialog's choices start a run over the chosen names and are kept.
  void lookupAll_data() {
    QTest::addColumn<QList<int>>("checks");  // CLookupDialog::Check values to tick
    QTest::addColumn<bool>("allDomains");
    QTest::addColumn<QStringList>("selection");
    QTest::addColumn<QStringList>("pending");
    QTest::addColumn<QString>("told");
    using D = CLookupDialog;
    QTest::newRow("all domains, whois and ping") << QList<int>{D::kWhois, D::kPing} << true << QStringList{}
                                                 << QStringList{"a.test", "b.test", "c.test", "d.test"} << "";
    QTest::newRow("selected domains") << QList<int>{D::kDns} << false << QStringList{"b.test", "d.test"}
                                      << QStringList{"b.test", "d.test"} << "";
    QTest::newRow("selected, none selected")
        << QList<int>{D::kDns} << false << QStringList{} << QStringList{} << kNoEntriesSelectedText;
    QTest::newRow("no check: no run") << QList<int>{} << true << QStringList{} << QStringList{} << "";
  }
  void lookupAll() {
    QFETCH(QList<int>, checks);
    QFETCH(bool, allDomains);
    QFETCH(QStringList, selection);
    QFETCH(QStringList, pending);
    QFETCH(QString, told);
    frame_->View()->SelectNames(selection);
    // Switches left on by an earlier run are cleared by OK, even with no box ticked.
    engine_->StartQueryRun(LookupRunOptions{true, true, false, false, false, false, 0}, 0);
    SetLookupDialogRunnerForTests([&](QDialog& dialog) {
      auto& d = static_cast<CLookupDialog&>(dialog);
      // Defaults: DNS and whois, all domains, a day.
      if (!d.CheckBox(CLookupDialog::kDns)->isChecked() || !d.AllRadio()->isChecked() || d.GapBox()->value() != 1440)
        return int(QDialog::Rejected);
      d.SelectAllBox()->setChecked(true);
      d.SelectAllBox()->setChecked(false);  // unticks all six
      for (int c : checks) d.CheckBox(CLookupDialog::Check(c))->setChecked(true);
      (allDomains ? d.AllRadio() : d.SelectedRadio())->setChecked(true);
      d.GapBox()->setValue(90);
      return int(QDialog::Accepted);
    });
    Trigger(kCmdLookupAll);
    QCOMPARE(log_->told, told.isEmpty() ? QStringList{} : QStringList{told});
    QStringList runNames;
    for (const std::string& n : engine_->Run().pending) runNames << QString::fromStdString(n);
    QCOMPARE(runNames, pending);
    const LookupRunOptions& o = engine_->Run().options;
    if (checks.isEmpty() || !pending.isEmpty()) QCOMPARE(Checks(o), checks);
    if (!pending.isEmpty()) {
      QCOMPARE(o.gapMinutes, 90);
      QCOMPARE(engine_->Run().total, pending.size());
    }
    // OK kept every choice.
    const LookupDialogValues kept = LookupDialogValues::Load();
    QCOMPARE(Checks(kept), checks);
    QCOMPARE(kept.gapMinutes, 90);
    QCOMPARE(kept.mode, allDomains ? LookupMode::AllDomains : LookupMode::SelectedDomains);
  }

  void lookupAllCancelled() {
    SetLookupDialogRunnerForTests([](QDialog&) { return int(QDialog::Rejected); });
    Trigger(kCmdLookupAll);
    QVERIFY(!engine_->RunBusy());
    QCOMPARE(GetProfileInt(kSettingsSection, "Lookup Gap", -1), -1);
  }

  // Lookup Domain adds a new name and queues it everywhere; a stored name is
  // selected in the list and looked up again.
  void lookupDomain_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("added");
    QTest::addColumn<QString>("stored");
    QTest::newRow("new name") << "  new.test " << true << "new.test";
    QTest::newRow("stored name") << "a.test" << false << "a.test";
    QTest::newRow("stored name in capitals") << "B.TEST" << false << "b.test";
  }
  void lookupDomain() {
    QFETCH(QString, typed);
    QFETCH(bool, added);
    QFETCH(QString, stored);
    QComboBox* box = frame_->QuickLookupBar()->DomainBox();
    box->setEditText(typed);
    Trigger(kCmdLookupDomain);
    QCOMPARE(frame_->View()->AllShownNames().size(), added ? 5 : 4);
    QVERIFY(frame_->View()->AllShownNames().contains(stored));
    QCOMPARE(Entries(*engine_, QueueKind::Whois), QStringList{stored});
    for (QueueKind kind : {QueueKind::Dns, QueueKind::Ping, QueueKind::HomePage, QueueKind::LinkPopularity})
      QCOMPARE(Entries(*engine_, kind), added ? QStringList{stored} : QStringList{});
    QVERIFY(Entries(*engine_, QueueKind::Trademark).isEmpty());
    if (!added) QCOMPARE(frame_->View()->SelectedNames(), QStringList{stored});
    QCOMPARE(box->count(), 1);
    QCOMPARE(box->itemText(0), typed.trimmed());
  }

  // Checks that nothing can run yet are not offered: their commands are
  // disabled and the dialog leaves them out. (The queue refuses them too:
  // lookup.LookupEngineTest::kindWithoutStartIsNotOffered.)
  void checksWithoutStartFunctionNotOffered() {
    frame_->Engine().SetWebCheckHooks({});
    engine_->SetWebCheckHooks({});
    UpdateLookupCommandStates(*frame_, *engine_);
    for (int id : {kCmdPingSelected, kCmdPingAll, kCmdHttpSelected, kCmdHttpAll, kCmdSitePopSelected,
                   kCmdSitePopAll, kCmdTmSelected, kCmdTmAll})
      QVERIFY(!frame_->Action(id)->isEnabled());
    QVERIFY(frame_->Action(kCmdDnsAll)->isEnabled());
    SetLookupDialogRunnerForTests([](QDialog& dialog) {
      auto& d = static_cast<CLookupDialog&>(dialog);
      d.SelectAllBox()->setChecked(true);
      return int(d.CheckBox(CLookupDialog::kPing)->isEnabled() ? QDialog::Rejected : QDialog::Accepted);
    });
    Trigger(kCmdLookupAll);
    QCOMPARE(Checks(engine_->Run().options), (QList<int>{CLookupDialog::kDns, CLookupDialog::kWhois}));
  }

  void quickLookupHistory() {
    QComboBox box;
    box.setEditable(true);
    for (int i = 0; i < 105; ++i) RememberQuickLookup(box, QStringLiteral("n%1.test").arg(i));
    QCOMPARE(box.count(), kQuickLookupHistoryMax);
    QCOMPARE(box.itemText(0), QString("n104.test"));
    QCOMPARE(box.itemText(99), QString("n5.test"));
    RememberQuickLookup(box, "N50.TEST");
    QCOMPARE(box.count(), kQuickLookupHistoryMax);
    QCOMPARE(box.itemText(0), QString("N50.TEST"));
    QCOMPARE(box.findText("n50.test", Qt::MatchFixedString), 0);  // the only one left
    QCOMPARE(box.currentIndex(), 0);
  }

  void lockAndUnlock() {
    frame_->View()->SelectNames({"a.test", "d.test"});
    Trigger(kCmdLockSelected);
    QCOMPARE(progressTitles_, QStringList{kLockingTitle});
    QCOMPARE(log_->told, QStringList{kLockedDomainsText});
    DomainRecord r;
    for (const char* name : {"a.test", "d.test"}) QVERIFY(Db().ReadRecord(name, r) && r.Locked());
    QVERIFY(Db().ReadRecord("b.test", r) && !r.Locked());

    frame_->View()->SelectNames({"a.test", "c.test"});
    Trigger(kCmdUnlockSelected);
    QCOMPARE(progressTitles_.last(), QString(kUnlockingTitle));
    QCOMPARE(log_->told.size(), 1);  // no message after unlocking
    for (const char* name : {"a.test", "c.test"}) QVERIFY(Db().ReadRecord(name, r) && !r.Locked());
    QVERIFY(Db().ReadRecord("d.test", r) && r.Locked());
  }

  void lookupSettings_data() {
    QTest::addColumn<bool>("accept");
    QTest::newRow("OK") << true;
    QTest::newRow("Cancel") << false;
  }
  void lookupSettings() {
    QFETCH(bool, accept);
    QString shownCount;
    SetLookupDialogRunnerForTests([&](QDialog& dialog) {
      auto& d = static_cast<CLookupSettingsDialog&>(dialog);
      if (d.CountSlider()->value() != 15 || d.TimeoutBox()->value() != 18) return int(QDialog::Rejected);
      d.CountSlider()->setValue(37);
      shownCount = d.CountLabel()->text();
      d.TimeoutBox()->setValue(25);
      return int(accept ? QDialog::Accepted : QDialog::Rejected);
    });
    Trigger(kCmdLookupSettings);
    QCOMPARE(shownCount, QString("37"));
    QCOMPARE(GetProfileInt(kSettingsSection, "DNS Lookup Count", 15), accept ? 37 : 15);
    QCOMPARE(GetProfileInt(kSettingsSection, "Whois Timeout", 18), accept ? 25 : 18);
    QCOMPARE(engine_->LookupCount(), accept ? 37 : 15);
  }

  void whoisSwitches() {
    QAction* minimum = frame_->Action(kCmdMinimumWhois);
    QAction* authoritative = frame_->Action(kCmdAuthoritativeWhois);
    QVERIFY(!minimum->isChecked());
    QVERIFY(authoritative->isChecked());
    Trigger(kCmdMinimumWhois);
    QVERIFY(minimum->isChecked());
    QVERIFY(!authoritative->isChecked());  // off in memory while minimum lookups are on
    QCOMPARE(GetProfileInt(kSettingsSection, "Quick Whois Lookup", 0), 1);
    // Lookup Domain now asks the whois queue for the minimum lookup.
    frame_->QuickLookupBar()->DomainBox()->setEditText("quick.test");
    Trigger(kCmdLookupDomain);
    QCOMPARE(Entries(*engine_, QueueKind::Whois), QStringList{"quick.test:DNS"});
    Trigger(kCmdMinimumWhois);
    QVERIFY(!minimum->isChecked());
    QVERIFY(authoritative->isChecked());
    Trigger(kCmdAuthoritativeWhois);
    QVERIFY(!authoritative->isChecked());
    QCOMPARE(GetProfileInt(kSettingsSection, "Get Full Whois Data", 1), 0);
  }

  void domainDataLog() {
    QList<QUrl> opened;
    SetFileOpenerForTests([&opened](const QUrl& url) {
      opened << url;
      return true;
    });
    QAction* action = frame_->Action(kCmdViewDomainDataLog);
    UpdateLookupCommandStates(*frame_, *engine_);
    QVERIFY(!action->isEnabled());
    RunDomainDataLog(*frame_);
    QVERIFY(opened.isEmpty());

    QVERIFY(AppendToChangeLog(ChangeLogPath(), "Domain: a.test, Lookup: now\r\n\r\n"));
    UpdateLookupCommandStates(*frame_, *engine_);
    QVERIFY(action->isEnabled());
    action->trigger();
    QCOMPARE(opened.size(), 1);
    QCOMPARE(opened[0].toLocalFile(), QString::fromStdString(ChangeLogPath().string()));
  }

  void stopEnabledWhileQueued() {
    UpdateLookupCommandStates(*frame_, *engine_);
    QVERIFY(!frame_->Action(kCmdStopLookups)->isEnabled());
    frame_->View()->SelectNames({"a.test"});
    Trigger(kCmdPingSelected);
    UpdateLookupCommandStates(*frame_, *engine_);
    Trigger(kCmdStopLookups);
    QCOMPARE(engine_->QueuedTotal(), std::size_t(0));
    QVERIFY(!frame_->Action(kCmdStopLookups)->isEnabled());
  }
};

QV_TEST(LookupCommandsTest)
#include "test_lookup_commands.moc"
