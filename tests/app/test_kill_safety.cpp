// Crash safety of the write paths: the real processes are killed with
// SIGKILL at random moments, and what they leave behind must be whole. The
// delays come from a seed printed at the start, so a failure can be rerun.
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSettings>
#include <QTest>
#include <fstream>

#include "kill_contents.h"
#include "lookup/answer_files.h"
#include "lookup/change_log.h"
#include "store/database_maintenance.h"
#include "store/domain_fields.h"
#include "store/domain_record.h"
#include "support/program_run.h"
#include "support/temp_folders.h"
#include "support/test_registry.h"
#include "support/whois_test_server.h"
#include "test_main_frame_support.h"
#include "whois/server_directory.h"

namespace {

constexpr int kTrials = 20;

struct Trial {
  bool killed = false;  // false: the process ended by itself first
  QByteArray out;
};

// Runs the program, waits for `readyLine` on its output when given, and
// kills it after `delayMs` unless it has ended by then.
Trial RunAndKill(const QString& program, const QStringList& args, int delayMs,
                 const QByteArray& readyLine = {}) {
  QProcess process;
  qvtest::UseTestFolders(process);
  process.start(program, args);
  Trial t;
  if (!process.waitForStarted(30000)) return t;
  if (!readyLine.isEmpty()) {
    while (!t.out.contains(readyLine) && process.waitForReadyRead(30000))
      t.out += process.readAllStandardOutput();
  }
  if (!process.waitForFinished(delayMs)) {
    process.kill();  // SIGKILL
    process.waitForFinished(30000);
    t.killed = true;
  }
  t.out += process.readAllStandardOutput();
  return t;
}

// "ok" or the engine's findings, from the full check.
QString IntegrityOf(qv::DomainDatabase& db) {
  if (!db.OpenDomainsTable()) return QString::fromStdString(db.update().GetLastError());
  qv::Statement check = db.update().PrepareNative("PRAGMA integrity_check");
  QStringList lines;
  while (check.Next() == qv::Statement::Step::Row)
    lines << QString::fromStdString(check.ColumnText(0));
  return lines.join(QLatin1Char('\n'));
}

std::vector<std::string> StoredNames(qv::DomainDatabase& db) {
  std::vector<std::string> names;
  qv::Statement rows = db.update().PrepareNative("SELECT Domain FROM Domains ORDER BY rowid");
  while (rows.Next() == qv::Statement::Step::Row) names.push_back(rows.ColumnText(0));
  return names;
}

// A new document with the names. With `lookedUp`, every name was looked up
// before and had another expiry date, so a lookup logs a change for it.
std::string NewDocument(const QString& name, const std::vector<std::string>& names = {}, bool lookedUp = false) {
  const std::string path = qvtest::MakeDocument(name, names).toStdString();
  qv::DomainDatabase db;
  db.SetPath(path);
  const auto lookedUpIn2020 = [](qv::DomainRecord& r) {
    r.SetDate(qv::field::kLastCheckedAt, qv::Date::FromYmd(2020, 1, 2));
    r.SetDate(qv::field::kExpiryDate, qv::Date::FromYmd(2030, 1, 2));
  };
  for (const std::string& domain : names)
    if (lookedUp && !qvtest::EditRecord(db, domain, lookedUpIn2020)) return {};
  return path;
}

std::string NumberedName(int i, const char* suffix) {
  return "name" + std::to_string(1000000 + i) + suffix;
}

// The most names a run of `quorvel import` said it had added.
long long ReportedAdded(const QByteArray& out) {
  static const QRegularExpression line(QStringLiteral("^(\\d+) names added"),
                                       QRegularExpression::MultilineOption);
  long long most = 0;
  for (const auto& m : line.globalMatch(QString::fromUtf8(out))) most = std::max(most, m.captured(1).toLongLong());
  return most;
}

QByteArray ReadAll(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

class KillSafetyTest : public QObject {
  Q_OBJECT
 private slots:
  void initTestCase() {
    const quint32 seed = QRandomGenerator::global()->generate();
    qInfo("kill delays from seed %u", seed);
    random_.seed(seed);
  }

  // Every name the import reported before the kill is in the document, in
  // the file's order, and the document passes the engine's full check.
  void importKeepsReportedNames() {
    constexpr int kNames = 1000000;
    const std::string file = qvtest::TempPath(QStringLiteral("million.txt")).string();
    {
      std::ofstream out(file, std::ios::binary);
      for (int i = 0; i < kNames; ++i) out << NumberedName(i, ".com") << "\r\n";
    }
    int killed = 0;
    long long mostReported = 0;
    for (int trial = 0; trial < kTrials; ++trial) {
      const std::string doc = NewDocument(QStringLiteral("import%1.qvl").arg(trial));
      QVERIFY(!doc.empty());
      const Trial t = RunAndKill(qvtest::ProgramPath(),
                                 {"import", QString::fromStdString(doc), QString::fromStdString(file)},
                                 int(random_.bounded(100, 4000)));
      killed += t.killed;
      qv::DomainDatabase db;
      const qv::MaintenanceResult opened = qv::OpenDocument(db, doc);
      QVERIFY2(opened.ok, opened.message.c_str());
      QCOMPARE(IntegrityOf(db), QStringLiteral("ok"));
      const std::vector<std::string> names = StoredNames(db);
      QVERIFY2(ReportedAdded(t.out) <= static_cast<long long>(names.size()),
               qPrintable(QStringLiteral("trial %1: %2 reported, %3 stored")
                              .arg(trial).arg(ReportedAdded(t.out)).arg(names.size())));
      for (std::size_t i = 0; i < names.size(); ++i)
        QCOMPARE(names[i], NumberedName(int(i), ".com"));
      mostReported = std::max(mostReported, ReportedAdded(t.out));
      db.CloseAll();
      std::filesystem::remove(doc);
    }
    // The trials only prove something when most of them were cut short
    // after names had been reported.
    qInfo("import: %d of %d runs killed; up to %lld names reported", killed, kTrials, mostReported);
    QVERIFY(killed >= kTrials / 2);
    QVERIFY(mostReported > 0);
  }

  // A lookup killed at any moment leaves a document that passes the check,
  // no record marked as being looked up, a change log of whole entries and
  // answer files that are whole answers.
  void lookupLeavesWholeFiles() {
    const std::string answer =
        "Domain Name: A.QVTEST\r\nRegistrar: Loopback Registrar LLC\r\n"
        "Creation Date: 2001-02-03T00:00:00Z\r\nRegistry Expiry Date: 2031-04-05T00:00:00Z\r\n"
        "Name Server: NS1.LOOP.TEST\r\n";
    qvtest::WhoisTestServer server(qvtest::WhoisTestServer::Answer(answer));
    {
      qv::TldRecord tld("qvtest");
      tld.server = "127.0.0.1";
    }
    {
      qv::WhoisServerRecord record("127.0.0.1", false);
      record.port = server.port();
      record.maxConnections = 4;
      record.connectionInterval = -1;
      record.manuallyEdited = 1;
    }
    std::vector<std::string> names;
    for (int i = 0; i < 300; ++i) names.push_back(NumberedName(i, ".qvtest"));
    int killed = 0;
    for (int trial = 0; trial < kTrials; ++trial) {
      const std::string doc = NewDocument(QStringLiteral("lookup%1.qvl").arg(trial), names, true);
      QVERIFY(!doc.empty());
      const Trial t = RunAndKill(qvtest::ProgramPath(),
                                 {"lookup", QString::fromStdString(doc), "--whois", "--tick", "20"},
                                 int(random_.bounded(100, 3000)));
      killed += t.killed;
      qv::DomainDatabase db;
      const qv::MaintenanceResult opened = qv::OpenDocument(db, doc);
      QVERIFY2(opened.ok, opened.message.c_str());
      QCOMPARE(IntegrityOf(db), QStringLiteral("ok"));
      for (const std::string& name : names) {
        qv::DomainRecord record;
        QVERIFY(db.ReadRecord(name, record));
        QVERIFY(!record.lookupInProgress);
      }
      db.CloseAll();
      CheckChangeLog();
      CheckAnswerFiles(answer);
    }
    qInfo("lookup: %d of %d runs killed; %d answer files checked, change log of %lld bytes", killed, kTrials,
          answerFiles_, static_cast<long long>(ReadAll(QString::fromStdString(qv::ChangeLogPath().string())).size()));
    QVERIFY(killed >= kTrials / 2);
    QVERIFY(answerFiles_ > 0);
    QVERIFY(QFile::exists(QString::fromStdString(qv::ChangeLogPath().string())));
  }

  // A settings file being rewritten when the process dies is the file
  // before or the file after the write, never a broken one.
  void settingsFileIsBeforeOrAfter_data() {
    QTest::addColumn<bool>("namePad");
    QTest::newRow("scratch list") << true;
    QTest::newRow("whois server setup") << false;
  }
  void settingsFileIsBeforeOrAfter() {
    QFETCH(bool, namePad);
    const QString program = QStringLiteral(QV_BINARY_DIR "/qv_settings_writer");
    const std::string padFile = qvtest::TempPath(QStringLiteral("NamePad.Txt")).string();
    const std::string first = qv::EncodeNamePad(qvkill::Pad(true));
    const std::string second = qv::EncodeNamePad(qvkill::Pad(false));
    const QString serverFile = qvtest::TempRoot() + QStringLiteral("/config/Tembrix/Whois Setup.ini");
    const QString section = QString::fromLatin1(qvkill::kServer) + QLatin1Char('/');
    for (int trial = 0; trial < kTrials; ++trial) {
      const QStringList args = namePad ? QStringList{"namepad", QString::fromStdString(padFile)}
                                       : QStringList{"server"};
      const Trial t = RunAndKill(program, args, int(random_.bounded(1, 400)), "writing");
      QVERIFY(t.killed);
      if (namePad) {
        const QByteArray bytes = ReadAll(QString::fromStdString(padFile));
        QVERIFY2(bytes == QByteArray::fromStdString(first) || bytes == QByteArray::fromStdString(second),
                 qPrintable(QStringLiteral("trial %1: %2 bytes").arg(trial).arg(bytes.size())));
        continue;
      }
      // The record is whole: every value from the same save.
      QSettings ini(serverFile, QSettings::IniFormat);
      QCOMPARE(ini.status(), QSettings::NoError);
      const int port = ini.value(section + QStringLiteral("Whois Port")).toInt();
      const bool firstSave = port == 4343;
      const QString text = QString::number(port) + "|" +
                           ini.value(section + QStringLiteral("Token When Free")).toString() + "|" +
                           ini.value(section + QStringLiteral("Remove Left Of")).toString() + "|" +
                           ini.value(section + QStringLiteral("Remove Right Of")).toString();
      const std::string expected = std::string(firstSave ? "4343|" : "4344|") +
                                   qvkill::ServerText(firstSave, "token") + "|" +
                                   qvkill::ServerText(firstSave, "left") + "|" + qvkill::ServerText(firstSave, "right");
      QVERIFY2(text.toStdString() == expected, qPrintable(QStringLiteral("trial %1: %2").arg(trial).arg(text)));
    }
  }

 private:
  // Every entry of the change log is whole: it starts with "Domain: " and
  // ends with its blank line.
  void CheckChangeLog() {
    const QByteArray log = ReadAll(QString::fromStdString(qv::ChangeLogPath().string()));
    if (log.isEmpty()) return;
    QVERIFY2(log.endsWith("\r\n\r\n"), log.right(200).constData());
    int starts = 0;
    for (const QByteArray& line : log.split('\n'))
      if (line.startsWith("Domain: ")) ++starts;
    QCOMPARE(starts, int(log.count("\r\n\r\n")));
  }

  // Every answer file holds the whole answer, with the source footer.
  void CheckAnswerFiles(const std::string& answer) {
    QDirIterator it(QString::fromStdString(qv::WhoisDataFolder().string()), {QStringLiteral("*.txt")},
                    QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
      const QByteArray text = ReadAll(it.next());
      ++answerFiles_;
      QVERIFY2(text.startsWith(QByteArray::fromStdString(answer)) && text.endsWith("[Whois Source: 127.0.0.1]"),
               qPrintable(it.filePath()));
    }
  }

  QRandomGenerator random_;
  int answerFiles_ = 0;
};

QV_TEST(KillSafetyTest)
#include "test_kill_safety.moc"
