#include <QFileSystemModel>
#include <QTest>
#include <QUrl>

#include "app/commands/file_commands.h"
#include "app/file_dialogs.h"
#include "app/main_frame.h"
#include "store/add_names.h"
#include "support/program_run.h"
#include "support/test_registry.h"
#include "test_main_frame_support.h"

using namespace qv;

// While the window has a document open, nothing else in the process may open
// the file: closing another descriptor of it drops SQLite's locks, and a
// second process that reads and closes the document then deletes the
// window's write-ahead log, losing every write made after.
class DocumentLocksTest : public qvtest::WindowTest {
  Q_OBJECT

 private slots:
  void init() { Fresh(); }

  void writesSurviveAnotherReader_data() {
    QTest::addColumn<QString>("path");
    QTest::newRow("open dialog") << "open";
    QTest::newRow("save dialog") << "save";
    QTest::newRow("folder dialog") << "folder";
    QTest::newRow("document dropped on the window") << "drop";
  }
  void writesSurviveAnotherReader() {
    QFETCH(QString, path);
    const QString doc = qvtest::MakeDocument("locked.qvl", {"first.com"});
    {
      CMainFrame frame(qvtest::TestOptions(log_, {doc}));
      QCOMPARE(InsertDomainRecord(frame.Document().Database(), "second.com"), InsertOutcome::Added);
      if (path == "drop") {
        QVERIFY(frame.OpenDroppedFiles({QUrl::fromLocalFile(doc)}));
      } else {
        const bool folder = path == "folder";
        auto dialog = MakeFileDialog(&frame, "t", QString::fromLatin1(kDocumentFilter),
                                     folder ? QFileDialog::Directory : QFileDialog::ExistingFile,
                                     path == "save" ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        dialog->setViewMode(QFileDialog::Detail);
        dialog->setDirectory(QFileInfo(doc).absolutePath());
        dialog->show();
        auto* model = dialog->findChild<QFileSystemModel*>();
        QVERIFY(model);
        // Wait until the dialog has looked at the entries of the folder.
        if (!folder) QTRY_VERIFY(!model->type(model->index(doc)).isEmpty());
        QTest::qWait(500);
      }
      const qvtest::ProgramOutcome reader = qvtest::RunProgram({"list", doc});
      QVERIFY2(reader.out == "first.com\nsecond.com\n", reader.err.constData());
      QCOMPARE(InsertDomainRecord(frame.Document().Database(), "third.com"), InsertOutcome::Added);
    }
    QCOMPARE(qvtest::RunProgram({"list", doc}).out, QByteArray("first.com\nsecond.com\nthird.com\n"));
  }
};

QV_TEST(DocumentLocksTest)
#include "test_document_locks.moc"
