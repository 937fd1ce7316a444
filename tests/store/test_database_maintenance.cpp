#include <QFile>
#include <QTest>

#include "platform/settings_store.h"
#include "store/database_connection.h"
#include "store/database_maintenance.h"
#include "support/temp_folders.h"
#include "support/string_lists.h"
#include "support/test_registry.h"
#include "support/whole_files.h"

using namespace qv;

namespace {

std::string Temp(const char* name) { return qvtest::TempPath(name).string(); }

std::string MakeDocument(const char* name, int rows) {
  const std::string path = Temp(name);
  DatabaseConnection c;
  std::string error;
  if (!CreateNewDatabase(c, path, error)) qFatal("%s", error.c_str());
  c.OpenDatabase(path, false);
  c.Begin();
  for (int i = 0; i < rows; ++i) {
    DomainRecord r("name" + std::to_string(i) + ".com");
    r.SetText(field::kNotes, std::string(200, char('a' + i % 26)));
    if (c.AddDomainRecord(r) != kDbOk) qFatal("%s", c.GetLastError().c_str());
  }
  c.Commit();
  return path;
}

long long RowCount(const std::string& path) {
  DatabaseConnection c;
  if (c.OpenDatabase(path, true) != kDbOk) return -1;
  Statement st = c.Prepare("SELECT Count(*) FROM [Domains]");
  return st.Next() == Statement::Step::Row ? st.ColumnInt(0) : -1;
}

QStringList FieldNames(const std::string& path) {
  DatabaseConnection c;
  c.OpenDatabase(path, true);
  QStringList names;
  for (const FieldInfo& f : c.TableFields(kDomainsTable)) names << QString::fromStdString(f.name);
  return names;
}

}  // namespace

class DatabaseMaintenanceTest : public QObject {
  Q_OBJECT
 private slots:
  void init() { qvtest::FreshFolders(); }

  void normalizeAddsOnlyMissingFields() {
    // An older document: some fields of the schema are missing.
    const std::string path = Temp("old.qvl");
    const auto schema = DomainSchema();
    std::vector<FieldInfo> fields;
    QStringList missing;
    for (std::size_t i = 0; i < schema.size(); ++i) {
      const bool skip = i == 6 || i == 30 || i == 45 || i >= 58;  // Registrar, US Tm Records, Ping Time, groups
      if (skip)
        missing << QString("Success [Created Field:%1]\r\n").arg(schema[i].name);
      else
        fields.push_back(SchemaFieldInfo(schema[i]));
    }
    fields.push_back(FieldInfo{"Extra", FieldType::Memo, 0});
    {
      DatabaseConnection c;
      QCOMPARE(c.CreateDatabase(path), kDbOk);
      QCOMPARE(c.CreateTable(kDomainsTable, fields), kDbOk);
      DomainRecord r("keep.com");
      r.SetText(field::kOwner, "Owner kept");
      r.SetText("Extra", "extra kept");
      QCOMPARE(c.AddDomainRecord(r), kDbOk);
    }
    DomainDatabase db;
    db.SetPath(path);
    const MaintenanceResult first = NormalizeDatabase(db);
    QVERIFY(first.ok);
    QCOMPARE(QString::fromStdString(first.message), missing.join(QString()));
    QVERIFY(!db.update().IsOpen());

    QStringList expected;
    for (const FieldInfo& f : fields) expected << QString::fromStdString(f.name);
    for (QString line : missing) expected << line.mid(23).chopped(3);
    QCOMPARE(FieldNames(path), expected);  // added at the end, existing ones untouched

    DomainRecord back;
    QVERIFY(db.ReadRecord("KEEP.com", back));
    QCOMPARE(back.Text(field::kOwner), std::string("Owner kept"));
    QCOMPARE(back.Text("Extra"), std::string("extra kept"));
    db.CloseAll();

    // The index now exists; a second run finds nothing to do.
    DatabaseConnection c;
    QCOMPARE(c.OpenDatabase(path, false), kDbOk);
    QVERIFY(c.AddDomainRecord(DomainRecord("Keep.COM")) != kDbOk);
    c.Close();
    const MaintenanceResult second = NormalizeDatabase(db);
    QVERIFY(second.ok);
    QCOMPARE(QString::fromStdString(second.message), QString());
  }

  // Names that would break the group's field name, or make one group twice,
  // are refused before anything is stored.
  void userGroupNamesChecked_data() {
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QString>("problem");
    QTest::newRow("fine") << QStringList{"My Group", "top-names_2", "Caf\u00e9"} << "";
    QTest::newRow("bracket") << QStringList{"a]b"} << "holds \"]\"";
    QTest::newRow("quote") << QStringList{"it's"} << "holds \"'\"";
    QTest::newRow("same but capitals") << QStringList{"Top", "TOP"} << "is there twice";
    QTest::newRow("same but blanks") << QStringList{"my group", "mygroup"} << "is there twice";
    QTest::newRow("blanks only") << QStringList{"  "} << "needs a letter or digit";
  }
  void userGroupNamesChecked() {
    QFETCH(QStringList, names);
    QFETCH(QString, problem);
    const QString got = QString::fromStdString(UserGroupNamesProblem(qvtest::StdList(names)));
    QVERIFY2(problem.isEmpty() ? got.isEmpty() : got.contains(problem), qPrintable(got));
  }

  void userGroupsGetTheirFields() {
    WriteProfileInt(kSettingsSection, "User Groups", 3);
    WriteProfileString(kSettingsSection, "User Group - 1", "my group");
    WriteProfileString(kSettingsSection, "User Group - 2", "  ");
    WriteProfileString(kSettingsSection, "User Group - 3", "Top Names");
    QCOMPARE(UserGroupCodesFromSettings(), (std::vector<std::string>{"*MYGROUP", "*TOPNAMES"}));

    DomainDatabase db;
    const std::string path = Temp("groups.qvl");
    const MaintenanceResult made = NewDocument(db, path);
    QVERIFY2(made.ok, made.message.c_str());
    QCOMPARE(db.Path(), path);
    QCOMPARE(QString::fromStdString(made.details),
             QString("Success [Created Field:GRP_MYGROUP]\r\nSuccess [Created Field:GRP_TOPNAMES]\r\n"));
    const QStringList names = FieldNames(path);
    QCOMPARE(names.size(), 64);
    QCOMPARE(names.mid(62), (QStringList{"GRP_MYGROUP", "GRP_TOPNAMES"}));

    // groupsOnly adds only the group fields.
    std::string log;
    QVERIFY(EnsureStructure(db, log, true, {"*MYGROUP", "*NEWONE"}));
    QCOMPARE(QString::fromStdString(log), QString("Success [Created Field:GRP_NEWONE]\r\n"));
  }

  void repairAndBackupRefuseTheOpenFile() {
    const std::string open = MakeDocument("open.qvl", 3);
    const std::string other = MakeDocument("other.qvl", 2);
    DomainDatabase db;
    QVERIFY(OpenDocument(db, open).ok);
    const QByteArray before = qvtest::ReadFileBytes(open);

    MaintenanceResult r = RepairDatabase(db.Path(), open, Temp("t.qvl"));
    QVERIFY(!r.ok);
    QCOMPARE(QString::fromStdString(r.message), QString::fromStdString(open + " is currently open.\r\n"));
    r = RepairDatabase(db.Path(), other, open);
    QCOMPARE(QString::fromStdString(r.message), QString::fromStdString(open + " is currently open.\r\n"));
    // The same file by another spelling of its path.
    const std::string spelled = qvtest::TempRoot().toStdString() + "/work/./open.qvl";
    r = BackupAndCompact(db, spelled);
    QVERIFY(!r.ok);
    QCOMPARE(QString::fromStdString(r.message),
             QString::fromStdString(spelled + " is currently open.\r\nPlease specify a different backup file name."));
    QCOMPARE(qvtest::ReadFileBytes(open), before);
    QVERIFY(!QFile::exists(QString::fromStdString(Temp("t.qvl"))));
  }

  void backupCompactsIntoTheTarget() {
    const std::string path = MakeDocument("live.qvl", 400);
    DomainDatabase db;
    QVERIFY(OpenDocument(db, path).ok);
    std::vector<std::string> names;
    for (int i = 0; i < 400; i += 2) names.push_back("NAME" + std::to_string(i) + ".COM");
    QCOMPARE(DeleteDomains(db, names, {}).deleted, 200);
    QVERIFY(db.list().OpenDatabase(db.Path(), true) == kDbOk);

    // An old backup with a stale log beside it is replaced whole.
    const std::string target = Temp("backup.qvl");
    QVERIFY(qvtest::WriteFileBytes(target, "old backup"));
    QVERIFY(qvtest::WriteFileBytes(target + "-wal", QByteArray(5000, '\x55')));
    const MaintenanceResult r = BackupAndCompact(db, target);
    QVERIFY2(r.ok, r.message.c_str());
    QVERIFY(!db.list().IsOpen());
    QCOMPARE(db.Path(), path);
    QCOMPARE(RowCount(target), 200LL);
    QVERIFY(QFileInfo(QString::fromStdString(target)).size() < QFileInfo(QString::fromStdString(path)).size());
    QVERIFY(!QFile::exists(QString::fromStdString(target + ".building")));
    DomainDatabase copy;
    QVERIFY(OpenDocument(copy, target).ok);
    QVERIFY(copy.OpenDomainsTable());
    Statement mode = copy.update().PrepareNative("PRAGMA journal_mode");
    QCOMPARE(mode.Next(), Statement::Step::Row);
    QCOMPARE(QString::fromStdString(mode.ColumnText(0)), QString("wal"));
  }

  void repairOfASoundFile() {
    const std::string source = MakeDocument("sound.qvl", 50);
    const std::string target = Temp("repaired.qvl");
    const MaintenanceResult r = RepairDatabase("", source, target);
    QVERIFY2(r.ok, r.message.c_str());
    QCOMPARE(QString::fromStdString(r.message), QString("Done!"));
    QCOMPARE(QString::fromStdString(r.details), QString());
    QCOMPARE(RowCount(target), 50LL);
    // Repairing a file onto itself replaces it with the compacted copy.
    QVERIFY(RepairDatabase("", source, source).ok);
    QCOMPARE(RowCount(source), 50LL);
  }

  void repairOfADamagedFile() {
    const std::string source = MakeDocument("damaged.qvl", 3000);
    QByteArray bytes = qvtest::ReadFileBytes(source);
    const int pageSize = (uchar(bytes[16]) << 8) | uchar(bytes[17]);
    const int pages = int(bytes.size() / pageSize);
    // Spoil the contents of a leaf page of the table in the middle of the file.
    int spoiled = -1;
    for (int p = pages / 2; p < pages && spoiled < 0; ++p)
      if (bytes[qsizetype(p) * pageSize] == '\x0D') spoiled = p;
    QVERIFY(spoiled > 0);
    for (int i = 8; i < pageSize; ++i) bytes[qsizetype(spoiled) * pageSize + i] = char(0xA5 ^ i);
    QVERIFY(qvtest::WriteFileBytes(source, bytes));

    const std::string target = Temp("saved.qvl");
    const MaintenanceResult r = RepairDatabase("", source, target);
    QVERIFY2(r.ok, r.message.c_str());
    QCOMPARE(QString::fromStdString(r.message), QString("Done!"));
    QVERIFY(!r.details.empty());
    const long long rows = RowCount(target);
    QVERIFY2(rows > 2900 && rows < 3000, qPrintable(QString::number(rows)));
    DomainDatabase db;
    QVERIFY(OpenDocument(db, target).ok);
    DomainRecord last;
    QVERIFY(db.ReadRecord("name2999.com", last));  // rows after the damage are kept
    QCOMPARE(last.Text(field::kNotes), std::string(200, char('a' + 2999 % 26)));
  }

  void repairOfANonDatabase() {
    const std::string source = Temp("notes.txt");
    QVERIFY(qvtest::WriteFileBytes(source, QByteArray("hello\n").repeated(1000)));
    const std::string target = Temp("out.qvl");
    QVERIFY(qvtest::WriteFileBytes(target, "keep me"));
    const MaintenanceResult r = RepairDatabase("", source, target);
    QVERIFY(!r.ok);
    QCOMPARE(QString::fromStdString(r.message), QString("Error: Opening Database.\r\nfile is not a database"));
    QCOMPARE(qvtest::ReadFileBytes(target), QByteArray("keep me"));
  }

  void deleteDomainsWithCancel() {
    DomainDatabase db;
    QVERIFY(OpenDocument(db, MakeDocument("delete.qvl", 10)).ok);
    const std::vector<std::string> names = {"name0.com", "NAME1.com", "missing.com", "name3.com",
                                            "name4.com", "name5.com"};
    std::vector<std::pair<int, int>> calls;
    DeleteResult r = DeleteDomains(db, names, [&](int done, int total) {
      calls.emplace_back(done, total);
      return done < 4;
    });
    QVERIFY(r.cancelled);
    QVERIFY(r.error.empty());
    QCOMPARE(r.deleted, 3);  // four names handled, one of them not stored
    QCOMPARE(calls.size(), std::size_t(5));
    QCOMPARE(calls.back(), std::make_pair(4, 6));
    QVERIFY(!db.update().HasDomain("name1.com"));
    QVERIFY(db.update().HasDomain("name4.com"));
    QCOMPARE(RowCount(db.Path()), 7LL);

    calls.clear();
    r = DeleteDomains(db, {"name4.com", "name5.com"}, [&](int done, int total) {
      calls.emplace_back(done, total);
      return true;
    });
    QVERIFY(!r.cancelled);
    QCOMPARE(r.deleted, 2);
    QCOMPARE(calls.back(), std::make_pair(2, 2));
  }

  void newDatabaseReplacesAFileAndItsStaleLog() {
    // A write-ahead log left over from another document, lying beside the
    // file to be replaced, must not be played into the new document.
    const std::string other = MakeDocument("other.qvl", 0);
    DatabaseConnection writer;
    QCOMPARE(writer.OpenDatabase(other, false), kDbOk);
    for (int i = 0; i < 30; ++i) QCOMPARE(writer.AddDomainRecord(DomainRecord("w" + std::to_string(i))), kDbOk);
    const std::string path = MakeDocument("replace.qvl", 20);
    QVERIFY(QFile::copy(QString::fromStdString(other + "-wal"), QString::fromStdString(path + "-wal")));

    std::string error;
    DomainDatabase db;
    QVERIFY(CreateNewDatabase(db, path, error));
    QCOMPARE(RowCount(path), 0LL);
    QCOMPARE(FieldNames(path).size(), 62);
    QVERIFY(OpenDocument(db, path).ok);
    QVERIFY(CreateNewDatabase(db, path, error));  // the open document itself
    QCOMPARE(RowCount(path), 0LL);

    QVERIFY(!CreateNewDatabase(db, "", error));
    QVERIFY(!error.empty());
    QVERIFY(!CreateNewDatabase(db, Temp("no-such-folder/x.qvl"), error));
    QVERIFY(QString::fromStdString(error).startsWith("Error: Creating Database\r\n"));
  }
};

QV_TEST(DatabaseMaintenanceTest)
#include "test_database_maintenance.moc"
