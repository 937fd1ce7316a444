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
#include "test_file_support.h"
#include "whois/server_directory.h"

using namespace qv;
using namespace std::chrono_literals;

namespace {

int StoredCount(DomainDatabase& db) {
  if (!db.OpenDomainsTable()) return -1;
  Statement st = db.update().PrepareNative("SELECT COUNT(*) FROM [Domains]");
  return st.Next() == Statement::Step::Row ? int(st.ColumnInt(0)) : -1;
}

QString WriteTemp(const char* name, const QByteArray& bytes) {
  const QString path = qvtest::WorkPath(name);
  return qvtest::WriteBytes(path, bytes) ? path : QString();
}

QByteArray ManyNames(int count) {
  QByteArray text;
  for (int i = 0; i < count; ++i) text += "name" + QByteArray::number(i) + ".com\r\n";
  return text;
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
    const QString path = WriteTemp("names.txt", "alpha.com beta.com;KNOWN.com\r\n\tbad/name.com\ngamma.org");
    QVERIFY(!path.isEmpty());
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
    QCOMPARE(AddNamesReportText(report),
             QStringLiteral("Domain names added: 3\r\nAlready in the list: 1\r\n"
                            "Refused (not usable as domain names): 1"));
  }

  void unreadableFile() {
    AddNamesReport report;
    QString error;
    const QString path = QString::fromStdString(qvtest::TempPath("missing.txt").string());
    QVERIFY(!ImportNamesFromFile(db_, path, nullptr, report, error));
    QVERIFY(error.contains(path));
    QCOMPARE(StoredCount(db_), 0);
  }

  // Cancel stops after the batch in hand; every name counted as added is
  // stored and nothing more.
  void cancelKeepsWhatWasAdded() {
    const QString path = WriteTemp("many.txt", ManyNames(3000));
    int reports = 0;
    SetProgressObserverForTests([&reports](ProgressWindow& window, long long, long long) {
      if (++reports == 2) window.Cancel();
    });
    AddNamesReport report;
    QString error;
    QVERIFY(ImportNamesFromFile(db_, path, nullptr, report, error, 0ms));
    QVERIFY(report.cancelled);
    QVERIFY(report.added > 0);
    QVERIFY(report.added < 3000);
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
    const QString path = WriteTemp("small.txt", "one.com\ntwo");
    Prompts prompts;
    prompts.openFile = [&path](QWidget*, const QString&, const QString&) { return path; };
    QStringList told;
    prompts.tell = [&told](QWidget*, const QString& text) { told << text; };
    dialog.prompts = prompts;
    dialog.OnInsertFromFile();
    QCOMPARE(dialog.TextBox()->toPlainText(), QStringLiteral("typed\none.com\ntwo"));
    QVERIFY(told.isEmpty());
    QVERIFY(!dialog.InsertFile(path + ".missing"));
  }
};

QV_TEST(ImportTest)
#include "test_dialogs_import.moc"
