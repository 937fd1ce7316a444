#include <QProcess>
#include <QTest>
#include <csignal>
#include <sqlite3.h>
#include <unistd.h>

#include "support/program_run.h"
#include "support/temp_folders.h"
#include "support/test_registry.h"
#include "test_command_support.h"
#include "test_file_support.h"
#include "test_main_frame_support.h"

namespace {

using Outcome = qvtest::ProgramOutcome;
using qvtest::UseTestFolders;
using qvtest::WorkPath;
using qvtest::WriteBytes;

Outcome RunQuorvel(const QStringList& args) { return qvtest::RunProgram(args); }

// A database of another program, with a table called "domains" of its own.
bool MakeForeignDatabase(const QString& path) {
  sqlite3* db = nullptr;
  const bool ok = sqlite3_open(path.toUtf8().constData(), &db) == SQLITE_OK &&
                  sqlite3_exec(db, "CREATE TABLE domains(name TEXT, price REAL);"
                               "INSERT INTO domains VALUES('mine.com', 10)", nullptr, nullptr, nullptr) == SQLITE_OK;
  sqlite3_close(db);
  return ok;
}

// A document whose middle table page is overwritten with noise.
bool MakeDamagedDocument(const QString& path) {
  const QString file = path + ".txt";
  if (!WriteBytes(file, qvtest::NumberedNames(3000))) return false;
  if (qvtest::RunProgram({"import", path, file}).exitCode != 0) return false;
  QByteArray bytes = qvtest::FileBytes(path);
  const int pageSize = (uchar(bytes[16]) << 8) | uchar(bytes[17]);
  for (int p = int(bytes.size() / pageSize) / 2; p < bytes.size() / pageSize; ++p) {
    if (bytes[qsizetype(p) * pageSize] != '\x0D') continue;
    for (int i = 8; i < pageSize; ++i) bytes[qsizetype(p) * pageSize + i] = char(0xA5 ^ i);
    return WriteBytes(path, bytes);
  }
  return false;
}

// The command run as the unprivileged user "nobody" when the test runs as
// root (for whom no file is read-only).
Outcome RunAsUser(const QStringList& args) {
  if (::geteuid() != 0) return RunQuorvel(args);
  return qvtest::RunProgram(QStringList{"-u", "nobody", "--", qvtest::ProgramPath()} + args, 120000, {},
                            QStringLiteral("/usr/sbin/runuser"));
}

}  // namespace

class ImportListCommandsTest : public QObject {
  Q_OBJECT
 private slots:
  void init() { qvtest::FreshFolders(); }

  void importThenListRoundTrips() {
    const QString doc = WorkPath("names.qvl");
    const QString file = qvtest::WorkFile(
        "names.txt", "\xEF\xBB\xBFzeta.io\r\nalpha.com;Beta.net\tgamma.org \n\nALPHA.com\nbad/name.com\n1st.de\n");
    Outcome o = RunQuorvel({"import", doc, file});
    QCOMPARE(o.exitCode, 0);
    QCOMPARE(o.out, QByteArray("5 names added\n1 names refused (not usable as domain names)\n"));

    o = RunQuorvel({"list", doc});
    QCOMPARE(o.exitCode, 0);
    QCOMPARE(o.out, QByteArray("zeta.io\nalpha.com\nBeta.net\ngamma.org\n1st.de\n"));
  }

  void listOptions_data() {
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("mode letter") << QStringList{"--mode", "B"} << QByteArray("b.net\nBa.org\n");
    QTest::newRow("sql") << QStringList{"--sql", "SELECT * FROM [Domains] WHERE [Domain] Like '*.net'"}
                         << QByteArray("b.net\n");
    QTest::newRow("sql with blanks as %20")
        << QStringList{"--sql", "SELECT%20*%20FROM%20[Domains]%20ORDER%20BY%20[Domain]%20DESC"}
        << QByteArray("Ba.org\nb.net\na.com\n7a.com\n");
  }
  void listOptions() {
    QFETCH(QStringList, options);
    QFETCH(QByteArray, expected);
    const QString doc = qvtest::MakeDocument("opts.qvl", {"b.net", "a.com", "7a.com", "Ba.org"});
    const Outcome o = RunQuorvel(QStringList{"list", doc} + options);
    QCOMPARE(o.exitCode, 0);
    QCOMPARE(o.out, expected);
  }

  void failures() {
    const QString doc = WorkPath("f.qvl");
    const QString file = qvtest::WorkFile("f.txt", "a.com\n");
    QCOMPARE(RunQuorvel({"import", doc, file}).exitCode, 0);

    Outcome o = RunQuorvel({"list", doc, "--sql", "SELECT * FROM [Domains] WHERE [Nothing] = 1"});
    QCOMPARE(o.exitCode, 1);
    QVERIFY(o.out.isEmpty());
    QVERIFY2(o.err.contains("Nothing"), o.err.constData());

    o = RunQuorvel({"list", WorkPath("missing.qvl")});
    QCOMPARE(o.exitCode, 1);
    QVERIFY(o.err.startsWith("Error: Opening Database."));

    QCOMPARE(RunQuorvel({"import", doc, WorkPath("no-such-file.txt")}).exitCode, 1);
    QCOMPARE(RunQuorvel({"import", doc}).exitCode, 2);
    QCOMPARE(RunQuorvel({"list", doc, "--mode"}).exitCode, 2);
    QCOMPARE(RunQuorvel({"list", doc, "--mode", "a", "--sql", "x"}).exitCode, 2);
  }

  // Each refusal leaves the document byte for byte as it was, with no
  // journal files beside it, and exits 1 with the reason.
  void refusedImports_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QByteArray>("reason");
    QTest::newRow("a file that is no database") << "text" << QByteArray("file is not a database");
    QTest::newRow("another program's database") << "foreign" << QByteArray("made by another program");
    QTest::newRow("damaged document") << "damaged" << QByteArray("Repair it first");
    QTest::newRow("read-only document") << "read-only" << QByteArray("is read-only");
    QTest::newRow("the document as its own name file") << "itself" << QByteArray("is the document itself");
  }
  void refusedImports() {
    QFETCH(QString, kind);
    QFETCH(QByteArray, reason);
    const QString doc = WorkPath("target.qvl");
    QString names = qvtest::WorkFile("names.txt", "new.com\n");
    if (kind == "text") QVERIFY(WriteBytes(doc, "my own notes, not a database\n"));
    if (kind == "foreign") QVERIFY(MakeForeignDatabase(doc));
    if (kind == "damaged") QVERIFY(MakeDamagedDocument(doc));
    if (kind == "itself") {
      QCOMPARE(RunQuorvel({"import", doc, names}).exitCode, 0);
      names = doc;
    }
    if (kind == "read-only") {
      QCOMPARE(RunQuorvel({"import", doc, names}).exitCode, 0);
      QVERIFY(QFile::setPermissions(doc, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
      QVERIFY(QFile::setPermissions(qvtest::TempRoot(), QFile::permissions(qvtest::TempRoot()) |
                                                           QFile::ExeOther | QFile::ReadOther));
      QVERIFY(QFile::setPermissions(names, QFile::permissions(names) | QFile::ReadOther));
    }
    const QByteArray before = qvtest::FileBytes(doc);
    const Outcome o = kind == "read-only" ? RunAsUser({"import", doc, names}) : RunQuorvel({"import", doc, names});
    QCOMPARE(o.exitCode, 1);
    QVERIFY2(o.err.contains(reason), o.err.constData());
    QCOMPARE(qvtest::FileBytes(doc), before);
    QVERIFY(!QFile::exists(doc + "-wal") && !QFile::exists(doc + "-shm"));
  }

  // A read that fails part way is an error, not "0 names added".
  void readErrorIsReported() {
    const Outcome o = RunQuorvel({"import", WorkPath("e.qvl"), "/proc/self/mem"});
    QCOMPARE(o.exitCode, 1);
    QVERIFY2(o.err.contains("Error: Reading File"), o.err.constData());
  }

  // A name file of any size is read in pieces: a run of 40 MB without a
  // separator is one refusal, and the names around it are added.
  void hugeRunIsOneRefusal() {
    const QString file = qvtest::WorkFile("run.txt", "before.com\n" + QByteArray(40 << 20, 'x') + "\nafter.com\n");
    const Outcome o = RunQuorvel({"import", WorkPath("r.qvl"), file});
    QCOMPARE(o.exitCode, 0);
    QVERIFY2(o.out.endsWith("2 names added\n1 names refused (not usable as domain names)\n"), o.out.constData());
  }

  // A user's query runs alone and only reads; the document is never changed.
  void userSqlIsOneReadingStatement_data() {
    QTest::addColumn<QString>("sql");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("vacuum into a file") << "VACUUM INTO '" + WorkPath("copy.qvl") + "'" << 1
                                        << QByteArray("only queries that read");
    QTest::newRow("trailing semicolon and comment") << "SELECT * FROM [Domains]; -- all" << 0 << QByteArray("a.com\n");
  }
  void userSqlIsOneReadingStatement() {
    QFETCH(QString, sql);
    QFETCH(int, exitCode);
    QFETCH(QByteArray, text);
    const QString doc = qvtest::MakeDocument("q.qvl", {"a.com"});
    const QByteArray before = qvtest::FileBytes(doc);
    const Outcome o = RunQuorvel({"list", doc, "--sql", sql});
    QCOMPARE(o.exitCode, exitCode);
    QVERIFY2((exitCode ? o.err : o.out).contains(text), o.err.constData());
    QCOMPARE(qvtest::FileBytes(doc), before);
    QVERIFY(!QFile::exists(WorkPath("copy.qvl")));
  }

  // An endless query streams its rows as they come, and Ctrl-C ends it.
  void endlessQueryStreamsAndStopsOnInterrupt() {
    const QString doc = qvtest::MakeDocument("e.qvl", {"a.com"});
    QProcess process;
    UseTestFolders(process);
    process.start(qvtest::ProgramPath(),
                  {"list", doc, "--sql",
                   "WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c) SELECT 'n' || x AS Domain FROM c"});
    QVERIFY(process.waitForStarted());
    QByteArray out;
    while (out.size() < (1 << 20) && process.state() == QProcess::Running && process.waitForReadyRead(10000))
      out += process.readAllStandardOutput();
    QVERIFY2(out.startsWith("n1\nn2\n"), out.left(40).constData());
    ::kill(pid_t(process.processId()), SIGINT);
    QVERIFY(process.waitForFinished(10000));
    QCOMPARE(process.exitCode(), 130);
    QVERIFY(process.readAllStandardError().contains("interrupted"));
  }
};

QV_TEST(ImportListCommandsTest)
#include "test_import_list_commands.moc"
