#include <QProcess>
#include <QTest>

#include "store/database_connection.h"
#include "store/database_maintenance.h"
#include "support/program_run.h"
#include "support/temp_folders.h"
#include "support/test_registry.h"
#include "test_file_support.h"

namespace {

using Outcome = qvtest::ProgramOutcome;
using qvtest::UseTestFolders;
using qvtest::WorkPath;
using qvtest::WriteBytes;

Outcome RunQuorvel(const QStringList& args) { return qvtest::RunProgram(args); }

// Every name stored in a document, in the order added.
QList<QByteArray> StoredNames(const QString& doc, bool& opened) {
  QList<QByteArray> names;
  qv::DatabaseConnection c;
  opened = c.OpenDatabase(doc.toStdString(), true) == qv::kDbOk;
  if (!opened) return names;
  qv::Statement st = c.PrepareNative("SELECT [Domain] FROM [Domains] ORDER BY rowid");
  while (st.Next() == qv::Statement::Step::Row) names << QByteArray::fromStdString(st.ColumnText(0));
  return names;
}

}  // namespace

class ImportListCommandsTest : public QObject {
  Q_OBJECT
 private slots:
  void init() { qvtest::FreshFolders(); }

  void importThenListRoundTrips() {
    const QString doc = WorkPath("names.qvl");
    const QString file = WorkPath("names.txt");
    QVERIFY(WriteBytes(file, "\xEF\xBB\xBFzeta.io\r\nalpha.com;Beta.net\tgamma.org \n\nALPHA.com\n"
                            "bad/name.com\n1st.de\n"));
    Outcome o = RunQuorvel({"import", doc, file});
    QCOMPARE(o.exitCode, 0);
    QCOMPARE(o.out, QByteArray("5 names added\n1 names refused (control characters, \"/\" or \"\\\" in the name)\n"));

    o = RunQuorvel({"list", doc});
    QCOMPARE(o.exitCode, 0);
    QCOMPARE(o.out, QByteArray("zeta.io\nalpha.com\nBeta.net\ngamma.org\n1st.de\n"));

    // A second import adds only what is new.
    QVERIFY(WriteBytes(file, "GAMMA.ORG new.com\n"));
    o = RunQuorvel({"import", doc, file});
    QCOMPARE(o.out, QByteArray("1 names added\n"));
  }

  void listOptions_data() {
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("mode letter") << QStringList{"--mode", "B"} << QByteArray("b.net\nBa.org\n");
    QTest::newRow("mode digits") << QStringList{"--mode", "0-9"} << QByteArray("7a.com\n");
    QTest::newRow("mode all") << QStringList{"--mode", "*"} << QByteArray("7a.com\na.com\nb.net\nBa.org\n");
    QTest::newRow("sql") << QStringList{"--sql", "SELECT * FROM [Domains] WHERE [Domain] Like '*.net'"}
                         << QByteArray("b.net\n");
    QTest::newRow("sql with blanks as %20")
        << QStringList{"--sql", "SELECT%20*%20FROM%20[Domains]%20ORDER%20BY%20[Domain]%20DESC"}
        << QByteArray("Ba.org\nb.net\na.com\n7a.com\n");
  }
  void listOptions() {
    QFETCH(QStringList, options);
    QFETCH(QByteArray, expected);
    const QString doc = WorkPath("opts.qvl");
    const QString file = WorkPath("opts.txt");
    QVERIFY(WriteBytes(file, "b.net a.com 7a.com Ba.org"));
    QCOMPARE(RunQuorvel({"import", doc, file}).exitCode, 0);
    const Outcome o = RunQuorvel(QStringList{"list", doc} + options);
    QCOMPARE(o.exitCode, 0);
    QCOMPARE(o.out, expected);
  }

  void failures() {
    const QString doc = WorkPath("f.qvl");
    const QString file = WorkPath("f.txt");
    QVERIFY(WriteBytes(file, "a.com\n"));
    QCOMPARE(RunQuorvel({"import", doc, file}).exitCode, 0);

    Outcome o = RunQuorvel({"list", doc, "--sql", "SELECT * FROM [Domains] WHERE [Nothing] = 1"});
    QCOMPARE(o.exitCode, 1);
    QVERIFY(o.out.isEmpty());
    QVERIFY2(o.err.contains("Nothing"), o.err.constData());

    o = RunQuorvel({"list", WorkPath("missing.qvl")});
    QCOMPARE(o.exitCode, 1);
    QVERIFY(o.err.startsWith("Error: Opening Database."));

    // A file that is not a document is neither imported into nor changed.
    const QString notes = WorkPath("notes.txt");
    QVERIFY(WriteBytes(notes, "my own notes, not a database\n"));
    o = RunQuorvel({"import", notes, file});
    QCOMPARE(o.exitCode, 1);
    QVERIFY(!o.err.isEmpty());
    QCOMPARE(qvtest::FileBytes(notes), QByteArray("my own notes, not a database\n"));

    o = RunQuorvel({"import", doc, WorkPath("no-such-file.txt")});
    QCOMPARE(o.exitCode, 1);
    QCOMPARE(RunQuorvel({"import", doc}).exitCode, 2);
    QCOMPARE(RunQuorvel({"list", doc, "--mode"}).exitCode, 2);
    QCOMPARE(RunQuorvel({"list", doc, "--mode", "a", "--sql", "x"}).exitCode, 2);
  }

  // Killed in the middle of a long import, the document still opens and
  // holds every name that had been reported as added.
  void killedImportKeepsReportedNames() {
    const QString doc = WorkPath("big.qvl");
    const QString file = WorkPath("big.txt");
    QByteArray text;
    const int total = 600000;
    text.reserve(total * 20);
    for (int i = 0; i < total; ++i) text += "name" + QByteArray::number(i) + ".example\n";
    QVERIFY(WriteBytes(file, text));

    QProcess process;
    UseTestFolders(process);
    process.start(qvtest::ProgramPath(), {"import", doc, file});
    QVERIFY(process.waitForStarted());
    QByteArray line;
    while (!line.endsWith('\n') && process.state() == QProcess::Running) {
      process.waitForReadyRead(200);
      line += process.readLine();
    }
    process.kill();
    process.waitForFinished();
    line += process.readAllStandardOutput();
    const qsizetype end = line.indexOf(' ');
    QVERIFY2(end > 0, line.constData());
    bool isNumber = false;
    const int reported = line.left(end).toInt(&isNumber);
    QVERIFY(isNumber);
    if (!line.contains("so far")) QSKIP("the import finished before it could be stopped");
    QVERIFY(reported > 0);

    bool opened = false;
    const QList<QByteArray> stored = StoredNames(doc, opened);
    QVERIFY(opened);
    QVERIFY(stored.size() >= reported);
    for (int i = 0; i < reported; ++i)
      QCOMPARE(stored[i], "name" + QByteArray::number(i) + ".example");
  }
};

QV_TEST(ImportListCommandsTest)
#include "test_import_list_commands.moc"
