#include <QFile>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTest>

#include "app/commands/import_commands.h"
#include "app/dialogs/create_domain_names_dialog.h"
#include "app/progress.h"
#include "store/database_connection.h"
#include "store/database_maintenance.h"
#include "support/temp_folders.h"
#include "support/test_registry.h"
#include "test_command_support.h"
#include "test_main_frame_support.h"
#include "whois/server_directory.h"

using namespace qv;
using namespace std::chrono_literals;

namespace {

int StoredCount(DomainDatabase& db) {
  if (!db.OpenDomainsTable()) return -1;
  Statement st = db.update().PrepareNative("SELECT COUNT(*) FROM [Domains]");
  return st.Next() == Statement::Step::Row ? int(st.ColumnInt(0)) : -1;
}

}  // namespace

class ImportTest : public QObject {
  Q_OBJECT

  DomainDatabase db_;

 private slots:
  void init() {
    qvtest::FreshFolders();
    SetProgressObserverForTests({});
    const MaintenanceResult made = NewDocument(db_, qvtest::TempPath("import.qvl").string());
    QVERIFY2(made.ok, made.message.c_str());
  }
  void cleanup() {
    SetProgressObserverForTests({});
    db_.SetPath({});
  }

  // A file read whole: new names added, known ones counted, unusable ones
  // refused, all in one report; the progress window saw the work.
  void importFile() {
    QVERIFY(AddNamesWithProgress(db_, {"known.com"}, nullptr).added == 1);
    const QString path = qvtest::WorkFile("names.txt", "alpha.com beta.com;KNOWN.com\r\n\tbad/name.com\ngamma.org");
    QStringList titles;
    long long lastDone = -1;
    SetProgressObserverForTests([&](ProgressWindow& window, long long done, long long) {
      titles << window.Title();
      lastDone = done;
    });
    AddNamesReport report;
    QString error;
    QVERIFY(ImportNamesFromFile(db_, path, nullptr, report, error));
    QCOMPARE(StoredCount(db_), 4);
    QVERIFY(!titles.isEmpty());
    QCOMPARE(titles.first(), QStringLiteral("Adding Domain Names"));
    QCOMPARE(lastDone, QFile(path).size());
    QCOMPARE(AddNamesReportText(report), QStringLiteral("Domain names added: 3\r\nAlready in the list: 1\r\n"
                                                        "Refused (not usable as domain names): 1"));
  }

  void unreadableFile() {
    AddNamesReport report;
    QString error;
    const QString path = qvtest::WorkPath("missing.txt");
    QVERIFY(!ImportNamesFromFile(db_, path, nullptr, report, error));
    QVERIFY(error.contains(path));
    QCOMPARE(StoredCount(db_), 0);
  }

  // Cancel stops after the batch in hand; every name counted as added is
  // stored and nothing more.
  void cancelKeepsWhatWasAdded() {
    const QString path = qvtest::WorkFile("many.txt", qvtest::NumberedNames(3000));
    int reports = 0;
    SetProgressObserverForTests([&reports](ProgressWindow& window, long long, long long) {
      if (++reports == 2) window.Cancel();
    });
    AddNamesReport report;
    QString error;
    QVERIFY(ImportNamesFromFile(db_, path, nullptr, report, error, 0ms));
    QVERIFY(report.cancelled);
    QVERIFY(report.added > 0 && report.added < 3000);
    QCOMPARE(StoredCount(db_), int(report.added));
    QVERIFY(AddNamesReportText(report).contains("Cancelled"));
  }

  // The "Create Domain Names" dialog: bare words joined to the ticked
  // domains, full names as they are; the ticks are kept for the next time.
  void createNamesDialog() {
    SaveTldList({"com", "net", "co.uk"});
    {
      CCreateDomainNamesDialog dialog;
      QCOMPARE(dialog.TickedTlds(), QStringList{"com"});  // the first time
      dialog.TldList()->item(0)->setCheckState(Qt::Unchecked);
      dialog.TldList()->item(1)->setCheckState(Qt::Checked);
      dialog.TldList()->item(2)->setCheckState(Qt::Checked);
      dialog.TextBox()->setPlainText(".shop., full.example.org\nword2");
      const std::vector<std::string> expected = {"shop.net", "shop.co.uk", "full.example.org",
                                                 "word2.net", "word2.co.uk"};
      QCOMPARE(dialog.Names(), expected);
      dialog.accept();
    }
    {
      CCreateDomainNamesDialog dialog;
      QCOMPARE(dialog.TickedTlds(), (QStringList{"net", "co.uk"}));
      dialog.OnSelectAll();
      QCOMPARE(dialog.TickedTlds(), (QStringList{"com", "net", "co.uk"}));
      dialog.OnUnselectAll();
      QVERIFY(dialog.TickedTlds().isEmpty());
      dialog.reject();  // Cancel keeps the old ticks
    }
    CCreateDomainNamesDialog dialog;
    QCOMPARE(dialog.TickedTlds(), (QStringList{"net", "co.uk"}));
  }

  void insertFromTextFile() {
    CCreateDomainNamesDialog dialog;
    dialog.TextBox()->setPlainText("typed");
    const QString path = qvtest::WorkFile("small.txt", "one.com\ntwo");
    QStringList told;
    dialog.prompts = qvtest::TellRecorder(told);
    dialog.prompts.openFile = [&path](QWidget*, const QString&, const QString&) { return path; };
    dialog.OnInsertFromFile();
    QCOMPARE(dialog.TextBox()->toPlainText(), QStringLiteral("typed\none.com\ntwo"));
    QVERIFY(told.isEmpty());
    QVERIFY(!dialog.InsertFile(path + ".missing"));
  }
};

QV_TEST(ImportTest)
#include "test_dialogs_import.moc"
