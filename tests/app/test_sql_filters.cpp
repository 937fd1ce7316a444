// The SQL filters in the window: the setup and editor dialogs, the display
// query bar, the SQL Lookup command feeding the engine's run, the cancel
// window of a long list query, and the Help menu.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QToolButton>
#include <QTest>
#include <QTextBrowser>
#include <QTreeWidget>

#include "app/command_ids.h"
#include "app/commands/lookup_commands.h"
#include "app/commands/sql_filter_commands.h"
#include "app/dialogs/sql_lookup_dialog.h"
#include "app/dialogs/sql_query_editor_dialog.h"
#include "app/dialogs/sql_query_setup_dialog.h"
#include "app/docks/display_query_bar.h"
#include "app/help/help_window.h"
#include "app/list_query_progress.h"
#include "app/main_frame.h"
#include "app/progress.h"
#include "app/view/corvane_view.h"
#include "lookup/lookup_engine.h"
#include "platform/settings_store.h"
#include "store/domain_list.h"
#include "store/list_query.h"
#include "support/test_registry.h"
#include "test_main_frame_support.h"

using namespace qv;

namespace {

const std::vector<std::string> kNames = {"alpha.com", "beta-one.com", "gamma.net", "delta-two.org"};

// Answers the next dialogs in turn, then cancels; each answer may work the
// dialog first.
void AnswerDialogs(std::vector<SqlDialogRunner> steps) {
  SetSqlDialogRunnerForTests([steps = std::move(steps), next = std::size_t(0)](QDialog& dialog) mutable {
    return next < steps.size() ? steps[next++](dialog) : int(QDialog::Rejected);
  });
}

}  // namespace

class SqlFiltersTest : public qvtest::WindowTest {
  Q_OBJECT

  QString doc_;

 private slots:
  void init() {
    Fresh();
    doc_ = qvtest::MakeDocument(QStringLiteral("filters.qvl"), kNames);
    QVERIFY(!doc_.isEmpty());
  }
  void cleanup() {
    SetSqlDialogRunnerForTests({});
    SetProgressObserverForTests({});
  }

  // A query made with New... is stored, offered on the bar, and Go shows
  // just its names.
  void newQueryFiltersTheList() {
    CMainFrame frame(qvtest::TestOptions(log_, {doc_}));
    const auto newQuery = [](QDialog& d) {
      auto& setup = static_cast<CSqlQuerySetupDialog&>(d);
      setup.NewQuery();
      return setup.result();
    };
    const auto fillIn = [](QDialog& d) {
      auto& editor = static_cast<CSqlQueryEditorDialog&>(d);
      editor.NameEdit()->setText(QStringLiteral("Hyphen Only"));
      editor.SqlEdit()->setPlainText(QStringLiteral("SELECT * FROM [Domains]\nWHERE [Domain] Like '*-*'"));
      return int(QDialog::Accepted);
    };
    AnswerDialogs({newQuery, fillIn});
    frame.Action(kCmdSqlDisplayFilter)->trigger();

    auto* bar = frame.findChild<CDisplayQueryBar*>();
    QVERIFY(bar);
    const int index = bar->Selector()->findText(QStringLiteral("Hyphen Only"));
    QVERIFY(index >= 0);
    bar->Selector()->setCurrentIndex(index);
    bar->GoButton()->click();
    QCOMPARE(frame.View()->AllShownNames(), (QStringList{"beta-one.com", "delta-two.org"}));
    QVERIFY(log_->told.isEmpty());
  }

  void editorTestSaysWhatHappened_data() {
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("told");
    QTest::newRow("fine") << "SELECT * FROM [Domains] WHERE [Expiry Date] < #[TODAY+40]#" << kTestedOkText;
    QTest::newRow("writes") << "DELETE FROM [Domains]" << kStatementWritesText;
  }
  void editorTestSaysWhatHappened() {
    QFETCH(QString, sql);
    QFETCH(QString, told);
    CSqlQueryEditorDialog editor(QueryEntry{}, doc_.toStdString(), prompts_, {});
    QCOMPARE(editor.SqlEdit()->toPlainText(), QString::fromLatin1(kNewQueryText));
    editor.SqlEdit()->setPlainText(sql);
    editor.TestButton()->click();
    QCOMPARE(log_->told.size(), 1);
    QVERIFY2(log_->told.front().contains(told), qPrintable(log_->told.front()));
  }

  void deleteAsksAndOnlyYesDeletes_data() {
    QTest::addColumn<int>("answer");
    QTest::addColumn<int>("left");
    QTest::newRow("yes") << int(QMessageBox::Yes) << 17;
    QTest::newRow("no") << int(QMessageBox::No) << 18;
    QTest::newRow("cancel") << int(QMessageBox::Cancel) << 18;
  }
  void deleteAsksAndOnlyYesDeletes() {
    QFETCH(int, answer);
    QFETCH(int, left);
    log_->answer = QMessageBox::StandardButton(answer);
    CSqlQuerySetupDialog setup(QueryKind::Display, doc_.toStdString(), prompts_);
    setup.List()->setCurrentItem(setup.List()->topLevelItem(1));
    setup.DeleteQuery();
    QCOMPARE(log_->asked,
             QStringList{QStringLiteral("About to delete 'About To Expire [Registry]'.\r\n\r\nAre you sure?")});
    QCOMPARE(int(setup.Entries().size()), left);
    QCOMPARE(setup.List()->topLevelItemCount(), left);
  }

  // OK without a query keeps the dialog open; with one, the run takes the
  // query's names and the choices are kept.
  void sqlLookupStartsTheQueryRun() {
    CMainFrame frame(qvtest::TestOptions(log_, {doc_}));
    int firstResult = -1;
    AnswerDialogs({[&firstResult](QDialog& d) {
      auto& dialog = static_cast<CSqlLookupDialog&>(d);
      dialog.List()->clearSelection();
      dialog.List()->setCurrentItem(nullptr);
      dialog.accept();
      firstResult = dialog.result();
      dialog.List()->setCurrentItem(dialog.List()->findItems("Unknown Domains", Qt::MatchExactly).front());
      dialog.CheckBox(CLookupDialog::kDns)->setChecked(false);
      dialog.CheckBox(CLookupDialog::kWhois)->setChecked(true);
      dialog.accept();
      return dialog.result();
    }});
    frame.Action(kCmdSqlLookupFilter)->trigger();
    QCOMPARE(firstResult, int(QDialog::Rejected));
    QCOMPARE(log_->told, QStringList{QString::fromLatin1(kSelectSqlQueryText)});
    QCOMPARE(GetProfileString(kSettingsSection, kSqlLookupQueryKey, ""), std::string("Unknown Domains"));
    const LookupRun& run = frame.Engine().Run();
    QCOMPARE(run.source, RunSource::Query);
    QCOMPARE(run.total, int(kNames.size()));
    QVERIFY(run.options.whois && !run.options.dns);
    QCOMPARE(GetDomainAt(0), kNames[0]);
  }

  void sqlLookupWaitsForARunningRun() {
    CMainFrame frame(qvtest::TestOptions(log_, {doc_}));
    frame.Engine().StartListRun(LookupRunOptions{.whois = true}, {"alpha.com"});
    bool dialogShown = false;
    AnswerDialogs({[&dialogShown](QDialog&) { dialogShown = true; return int(QDialog::Rejected); }});
    frame.Action(kCmdSqlLookupFilter)->trigger();
    QVERIFY(!dialogShown);
    QCOMPARE(log_->told, QStringList{QString::fromLatin1(kLookupsBusyText)});
  }

  // A runaway query brings up the cancel window; Cancel stops it within a
  // tenth of a second and the list is left empty with the engine's word.
  void longQueryCanBeCancelled() {
    CMainFrame frame(qvtest::TestOptions(log_, {doc_}));
    QElapsedTimer sinceCancel;
    QString title;
    SetProgressObserverForTests([&](ProgressWindow& window, long long, long long) {
      // The user can only click Cancel once the window shows.
      if (sinceCancel.isValid() || !window.Dialog()->isVisible()) return;
      title = window.Title();
      window.Cancel();
      sinceCancel.start();
    });
    const bool ok = RunListQuery(frame.Document().Database(),
                                 "WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c) "
                                 "SELECT count(*) AS [Domain] FROM c");
    const qint64 latency = sinceCancel.elapsed();
    SetCurrentListQuery("");
    QVERIFY(!ok);
    QCOMPARE(title, QString::fromLatin1(kRunningQueryTitle));
    QVERIFY2(latency < 100, QByteArray::number(latency).constData());
    QVERIFY2(QString::fromStdString(ListErrorText()).contains("interrupt"), ListErrorText().c_str());
    QCOMPARE(frame.View()->AllShownNames(), QStringList{});
  }

  void helpMenu() {
    CMainFrame frame(qvtest::TestOptions(log_));
    frame.Action(kCmdHelpContents)->trigger();
    auto* help = frame.findChild<CHelpWindow*>();
    QVERIFY(help && help->isVisible());
    QVERIFY(help->Browser()->toPlainText().contains("SQL display and lookup filters"));
    frame.Action(kCmdAbout)->trigger();
    QCOMPARE(log_->told.size(), 1);
    QVERIFY(log_->told.front().contains("GPL-3.0-or-later"));
    QVERIFY(log_->told.front().contains("Public Suffix List"));
  }
};

QV_TEST(SqlFiltersTest)
#include "test_sql_filters.moc"
