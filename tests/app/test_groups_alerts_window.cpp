// Groups, notes, registrar aliases and alert mail in the window.
#include <QAction>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTest>
#include <memory>

#include "app/command_ids.h"
#include "app/commands/group_commands.h"
#include "app/dialogs/alert_setup_dialog.h"
#include "app/dialogs/domain_group_dialog.h"
#include "app/dialogs/domain_notes_dialog.h"
#include "app/dialogs/group_editor_dialog.h"
#include "app/dialogs/registrar_alias_dialog.h"
#include "app/main_frame.h"
#include "app/view/corvane_view.h"
#include "app/view/view_settings.h"
#include "lookup/alert_mailer.h"
#include "lookup/alert_settings.h"
#include "lookup/lookup_engine.h"
#include "platform/settings_store.h"
#include "store/domain_groups.h"
#include "support/smtp_test_server.h"
#include "support/loopback_directory.h"
#include "support/test_registry.h"
#include "support/whois_test_server.h"
#include "test_main_frame_support.h"

using namespace qv;

class GroupsAlertsWindowTest : public qvtest::WindowTest {
  Q_OBJECT

  std::unique_ptr<CMainFrame> frame_;

  DomainDatabase& Db() { return frame_->Document().Database(); }

  // Runs a command whose dialog `act` fills in; `act` returns the result.
  void Run(int command, std::function<int(QDialog&)> act) {
    SetGroupDialogRunnerForTests(std::move(act));
    QAction* action = frame_->Action(command);
    QVERIFY(action && action->isEnabled());
    action->trigger();
    SetGroupDialogRunnerForTests({});
  }

  void GroupSelected(const QStringList& names, const QString& group, bool add) {
    frame_->View()->SelectNames(names);
    Run(add ? kCmdGroupSelected : kCmdUngroupSelected, [group](QDialog& d) {
      auto& dialog = static_cast<CDomainGroupDialog&>(d);
      for (QListWidgetItem* item : dialog.GroupList()->findItems(group, Qt::MatchExactly)) item->setSelected(true);
      dialog.accept();
      return int(QDialog::Accepted);
    });
  }

 private slots:
  void init() {
    Fresh();
    frame_ = qvtest::HiddenFrame(log_, "groups.qvl", {"alpha.qvtest", "beta.qvtest", "gamma.qvtest"});
    QVERIFY(frame_);
  }
  void cleanup() {
    LetGoOfList();
    frame_.reset();
  }

  void entryColours_data() {
    QTest::addColumn<bool>("builtIn");
    QTest::addColumn<int>("members");
    QTest::addColumn<int>("selected");
    QTest::addColumn<QColor>("colour");
    QTest::newRow("all members") << true << 3 << 3 << QColor(0, 128, 0);
    QTest::newRow("no member") << true << 0 << 3 << QColor(128, 128, 128);
    QTest::newRow("some members") << true << 1 << 3 << QColor();
    QTest::newRow("user group") << false << 3 << 3 << QColor(0, 128, 128);
    QTest::newRow("250 selected") << true << 250 << 250 << QColor();
    QTest::newRow("250 selected, user group") << false << 0 << 250 << QColor();
  }
  void entryColours() {
    QFETCH(bool, builtIn);
    QFETCH(int, members);
    QFETCH(int, selected);
    QFETCH(QColor, colour);
    QCOMPARE(GroupEntryColour(builtIn, members, selected), colour);
  }

  // Group, ungroup, the group editor and the bar's group entry agree.
  void groupCommands() {
    GroupSelected({"alpha.qvtest", "gamma.qvtest"}, "Most Important Domains", true);
    QVERIFY(IsGroupMember(Db(), "alpha.qvtest", kMostImportantGroupCode));
    GroupSelected({"gamma.qvtest"}, "Most Important Domains", false);
    QVERIFY(!IsGroupMember(Db(), "gamma.qvtest", kMostImportantGroupCode));
    ShowGroupList(*frame_, kMostImportantGroupCode);
    QCOMPARE(frame_->View()->AllShownNames(), QStringList({"alpha.qvtest"}));
    ShowGroupList(*frame_, kAllDomainsCode);
    QCOMPARE(frame_->View()->AllShownNames().size(), 3);
    WriteProfileString(kSettingsSection, "GroupEdit Name", "Most Important Domains");
    Run(kCmdEditDomainGroups, [](QDialog& d) {
      auto& dialog = static_cast<CGroupEditorDialog&>(d);
      if (dialog.InList()->count() != 1) return int(QDialog::Rejected);
      dialog.OutList()->selectAll();
      dialog.AddSelection();
      return dialog.InList()->count() == 3 ? int(QDialog::Accepted) : int(QDialog::Rejected);
    });
    QCOMPARE(GroupMembers(Db(), kMostImportantGroupCode).size(), std::size_t(3));
  }

  // Switching notes keeps what was typed in each.
  void notesKeepEveryEdit() {
    frame_->View()->SelectNames({"beta.qvtest"});
    Run(kCmdDomainNotes, [](QDialog& d) {
      auto& dialog = static_cast<CDomainNotesDialog&>(d);
      dialog.Selector()->setCurrentIndex(1);
      dialog.Editor()->setPlainText("second note");
      dialog.Selector()->setCurrentIndex(0);
      dialog.Editor()->setPlainText(QString(300, 'a'));
      dialog.accept();
      return int(QDialog::Accepted);
    });
    DomainRecord r;
    QVERIFY(Db().ReadRecord("beta.qvtest", r));
    QCOMPARE(r.Text(field::kNotes2), std::string("second note"));
    QCOMPARE(r.Text(field::kNotes), std::string(kNoteMaxLength, 'a'));
  }

  // An alias equal to the registrar in other capitals removes it; a
  // registrar name with "/" stays one key.
  void registrarAlias() {
    SetRegistrarAlias("Net/Names Ltd", "NN");
    QCOMPARE(GetRegistrarAlias("Net/Names Ltd"), std::string("NN"));
    QCOMPARE(GetRegistrarAlias("Net"), std::string("Net"));
    CRegistrarAliasDialog dialog("Net/Names Ltd");
    QCOMPARE(dialog.AliasEdit()->text(), QString("NN"));
    dialog.AliasEdit()->setText("net/names LTD");
    dialog.accept();
    QCOMPARE(GetRegistrarAlias("Net/Names Ltd"), std::string("Net/Names Ltd"));
  }

  // The test mail runs beside the window and reports back.
  void testMailReportsBack() {
    qvtest::ScriptedSmtpServer::Script script;
    script.replies["MAIL"] = "550 sender refused\r\n";
    qvtest::ScriptedSmtpServer server(script);
    CAlertSetupDialog dialog;
    QSignalSpy finished(&dialog, &CAlertSetupDialog::testMailFinished);
    QVERIFY(!dialog.SendTestMail());
    QCOMPARE(finished.takeFirst().at(1).toString(), QString(kFillRequiredFieldsText));
    AlertSettings a;
    a.fromEmail = "watcher@alpha.com";
    a.toEmail = "owner@beta.net";
    a.smtp = "127.0.0.1:" + std::to_string(server.port());
    dialog.SetValues(a);
    QVERIFY(dialog.SendTestMail());
    QVERIFY(dialog.TestMailRunning());
    QVERIFY(finished.wait(5000));
    QCOMPARE(finished.first().at(0).toBool(), false);
    QVERIFY(finished.first().at(1).toString().contains("550 sender refused"));
    // Closing the dialog while the server stalls does not wait for it.
    qvtest::ScriptedSmtpServer::Script stall;
    stall.stallAfterGreeting = true;
    qvtest::ScriptedSmtpServer stalled(stall);
    auto closing = std::make_unique<CAlertSetupDialog>();
    a.smtp = "127.0.0.1:" + std::to_string(stalled.port());
    closing->SetValues(a);
    QVERIFY(closing->SendTestMail());
    QElapsedTimer clock;
    clock.start();
    closing.reset();
    QVERIFY(clock.elapsed() < 1000);
  }

  // Names marked important, a lookup whose answers changed, and one mail
  // with the change-log lines at the loopback server.
  void changedLookupMailsTheOwner() {
    qvtest::WhoisTestServer whois(qvtest::WhoisTestServer::Answer(
        "Domain Name: X.QVTEST\r\nRegistrar: Loopback Registrar LLC\r\n"
        "Registry Expiry Date: 2031-04-05T00:00:00Z\r\n"));
    qvtest::PointSuffixAt("qvtest", "127.0.0.1", whois.port());
    qvtest::ScriptedSmtpServer smtp({});
    AlertSettings a;
    a.toEmail = "owner@beta.net";
    a.smtp = "127.0.0.1:" + std::to_string(smtp.port());
    QVERIFY(WriteAlertSettings(a));

    GroupSelected({"alpha.qvtest", "beta.qvtest"}, "Most Important Domains", true);
    for (const char* name : {"alpha.qvtest", "beta.qvtest"}) {
      QVERIFY(qvtest::EditRecord(Db(), name, qvtest::LookedUpYesterday));
      QVERIFY(frame_->Engine().AddToWhoisQueue(name));
    }
    LookupEngine& engine = frame_->Engine();
    QElapsedTimer clock;
    clock.start();
    do {
      engine.SchedulerTick();
      QTest::qWait(20);
    } while ((!engine.IsIdle() || engine.IsBusy() || frame_->Mailer().Mails().Sending() ||
              smtp.messages().empty()) && clock.elapsed() < 10000);
    smtp.Finish();
    QCOMPARE(smtp.messages().size(), std::size_t(1));
    const std::string mail = smtp.messages().front();
    QVERIFY(mail.find("Domain: alpha.qvtest, Lookup: ") != std::string::npos);
    QVERIFY(mail.find("Domain: beta.qvtest, Lookup: ") != std::string::npos);
    QVERIFY(frame_->StatusText(kPaneMessage).startsWith("Alert mail sent: 250"));
  }
};

QV_TEST(GroupsAlertsWindowTest)
#include "test_groups_alerts_window.moc"
