#include <QFile>
#include <QTest>
#include <sqlite3.h>

#include "store/database_connection.h"
#include "store/database_maintenance.h"
#include "support/temp_folders.h"
#include "support/test_registry.h"
#include "support/whole_files.h"

using namespace qv;

class DatabaseConnectionTest : public QObject {
  Q_OBJECT

  // A new document, open for writing.
  DatabaseConnection c_;
  std::string path_;

 private slots:
  void init() {
    qvtest::FreshFolders();
    path_ = qvtest::TempPath("doc.qvl").string();
    std::string error;
    QVERIFY2(CreateNewDatabase(c_, path_, error), error.c_str());
    QCOMPARE(c_.OpenDatabase(path_, false), kDbOk);
  }
  void cleanup() { c_.Close(); }

  void newDocumentHasTheSchema() {
    DatabaseConnection c;
    QCOMPARE(c.OpenDatabase(path_, true), kDbOk);
    QVERIFY(c.TableExists("_Connections"));
    const std::vector<FieldInfo>& fields = c.TableFields(kDomainsTable);
    const auto schema = DomainSchema();
    QCOMPARE(fields.size(), std::size_t(62));
    for (std::size_t i = 0; i < schema.size(); ++i) {
      const FieldInfo expected = SchemaFieldInfo(schema[i]);
      QCOMPARE(QString::fromStdString(fields[i].name), QString(schema[i].name));
      QCOMPARE(int(fields[i].type), int(expected.type));
      QCOMPARE(fields[i].size, expected.size);
    }
    // A few rows checked against the table as written, not against the code.
    QCOMPARE(fields[0].size, 68);
    QCOMPARE(int(fields[24].type), int(FieldType::Byte));     // Lock
    QCOMPARE(int(fields[36].type), int(FieldType::Long));     // Home Page Bytes
    QCOMPARE(fields[36].size, 4);                             // listed 8, stored as a Long
    QCOMPARE(int(fields[45].type), int(FieldType::Double));   // Ping Time
    QCOMPARE(fields[38].size, 180);                           // Home Page Title
    QCOMPARE(c.TableFields("_Connections").size(), std::size_t(1));
    QCOMPARE(c.TableFields("_Connections")[0].size, 255);
  }

  void namesDifferingInCaseAreOneName() {
    QCOMPARE(c_.AddDomainRecord(DomainRecord("Example.com")), kDbOk);
    QVERIFY(c_.AddDomainRecord(DomainRecord("EXAMPLE.COM")) != kDbOk);
    QVERIFY(QString::fromStdString(c_.GetLastError()).startsWith("Error: Adding Record\r\n"));
    QVERIFY(c_.HasDomain("example.COM"));
    DomainRecord r;
    QVERIFY(c_.ReadDomainRecord("eXample.com", r));
    QCOMPARE(QString::fromStdString(r.Domain()), QString("Example.com"));
    QCOMPARE(c_.DeleteDomainRecord("EXAMPLE.com"), kDbOk);
    QVERIFY(!c_.HasDomain("Example.com"));
    QVERIFY(!c_.ReadDomainRecord("Example.com", r));
    QCOMPARE(c_.GetLastErrorCode(), kDbOk);
  }

  void recordRoundTrip() {
    QCOMPARE(c_.AddDomainRecord(DomainRecord("round.com")), kDbOk);

    DomainRecord r;
    QVERIFY(c_.ReadDomainRecord("round.com", r));
    const Date expiry = Date::FromParts({2027, 1, 4, 13, 14, 15});
    r.SetDate(field::kExpiryDate, expiry);
    r.SetText(field::kRegistrar, std::string(100, 'r'));          // Text 64
    r.SetText("Owner Name", "Ann");                               // alias of Owner
    std::string accented;
    for (int i = 0; i < 6; ++i) accented += "\xC3\xA9t\xC3\xA9";  // 18 characters, 30 bytes
    r.SetText(field::kEdited, accented);                          // Text 16
    r.SetText(field::kHighlighted, std::string(20, 'h'));         // Text 16
    r.SetLong(field::kGoogleLinks, -42);
    r.SetDouble(field::kPingTime, 12.5);
    r.SetLocked(true);
    QVERIFY(r.SetGroupMember("*BIZDOMAINS", true));
    QVERIFY(!r.SetGroupMember("*bizdomains", true));
    r.whoisText = "not stored";
    QCOMPARE(c_.WriteDomainRecord(r), kDbOk);

    DomainRecord back;
    QVERIFY(c_.ReadDomainRecord("ROUND.COM", back));
    QVERIFY(back.DateValue(field::kExpiryDate) == expiry);
    QVERIFY(back.DateValue(field::kCreatedOn).IsNull());
    QCOMPARE(back.Text(field::kRegistrar), std::string(64, 'r'));
    QCOMPARE(back.Text(field::kHighlighted), std::string(16, 'h'));
    // Text 16 keeps whole characters; a byte field reads as a number; the
    // field text is found by a field's alias in any capitals, and is empty
    // for a field never written, a field not there and a name not stored.
    const auto text = [this](const char* name, const char* field) {
      return QString::fromStdString(c_.GetFieldText(name, field));
    };
    const QStringList got = {QString::fromStdString(back.Text(field::kOwner)),
                             QString::number(QString::fromStdString(back.Text(field::kEdited)).size()),
                             QString::number(back.Number(field::kGoogleLinks)),
                             QString::number(back.Real(field::kPingTime)),
                             QString::number(back.Locked()),
                             QString::number(back.IsGroupMember("*BIZDOMAINS")),
                             QString::number(back.IsGroupMember("*PERSONALDOMAINS")),
                             QString::number(back.whoisText.size()),
                             text("round.com", "GRP_BIZDOMAINS"),
                             text("round.com", "Lock"),
                             text("ROUND.com", "OWNER NAME"),
                             text("round.com", "Ping Time"),
                             text("round.com", "Created On"),
                             text("round.com", "No Such Field"),
                             text("other.com", "Owner")};
    QCOMPARE(got.join('|'), QString("Ann|16|-42|12.5|1|1|0|0|1|1|Ann|12.500000|||"));

    // Leaving a group writes its field back to 0; a field the record does not
    // hold is left as stored.
    DomainRecord partial("round.com");
    partial.SetText(field::kNotes, "note");
    QCOMPARE(c_.WriteDomainRecord(partial), kDbOk);
    QVERIFY(c_.ReadDomainRecord("round.com", back));
    QCOMPARE(back.Text(field::kNotes), std::string("note"));
    QCOMPARE(back.Text(field::kOwner), std::string("Ann"));
    QVERIFY(!back.IsGroupMember("*BIZDOMAINS"));

    DomainRecord missing("nowhere.com");
    QVERIFY(c_.WriteDomainRecord(missing) != kDbOk);
  }

  // A huge double is written out in full (only its length is exact).
  void valueToText() { QCOMPARE(FieldValueToText(1e300).size(), std::size_t(1 + 300 + 7)); }

  void badFilesAreRefusedUntouched_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("message");
    QTest::newRow("empty file") << QByteArray()
                                << "Error: Opening Database.\r\nIs DAO installed?\r\n(or the database file is probably empty)";
    QTest::newRow("text file") << QByteArray("example.com\nexample.net\n").repeated(100)
                               << "Error: Opening Database.\r\nfile is not a database";
    QTest::newRow("short file") << QByteArray("SQLite") << "Error: Opening Database.\r\nfile is not a database";
  }
  void badFilesAreRefusedUntouched() {
    QFETCH(QByteArray, content);
    QFETCH(QString, message);
    const std::string path = qvtest::TempPath("bad.qvl").string();
    QVERIFY(qvtest::WriteFileBytes(path, content));
    DatabaseConnection c;
    QCOMPARE(c.OpenDatabase(path, false), kDbOpenFailed);
    QCOMPARE(QString::fromStdString(c.GetLastError()), message);
    QVERIFY(!c.IsOpen());

    DomainDatabase db;
    db.SetPath(path_);
    const MaintenanceResult r = OpenDocument(db, path);
    QVERIFY(!r.ok);
    QCOMPARE(QString::fromStdString(r.message), message);
    QCOMPARE(db.Path(), path_);  // the open document stays
    std::string log;
    DomainDatabase bad;
    bad.SetPath(path);
    QVERIFY(!EnsureStructure(bad, log, false, {}));
    QVERIFY(!bad.WriteRecord(DomainRecord("x.com")));
    bad.CloseAll();
    QCOMPARE(qvtest::ReadFileBytes(path), content);
    QVERIFY(!QFile::exists(QString::fromStdString(path + "-wal")));
  }

  void documentWithoutDomains() {
    // Another program's database: opens, but is not a document and is not changed.
    const std::string path = qvtest::TempPath("other.db").string();
    sqlite3* raw = nullptr;
    QCOMPARE(sqlite3_open(path.c_str(), &raw), SQLITE_OK);
    QCOMPARE(sqlite3_exec(raw, "CREATE TABLE t(a); INSERT INTO t VALUES (1);", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(raw);
    const QByteArray before = qvtest::ReadFileBytes(path);

    DomainDatabase db;
    const MaintenanceResult r = OpenDocument(db, path);
    QVERIFY(!r.ok);
    QCOMPARE(QString::fromStdString(r.message), QString("Error: Opening Table\r\nno such table: Domains"));
    QVERIFY(!db.HasPath());
    db.SetPath(path);
    std::string log;
    QVERIFY(!EnsureStructure(db, log, false, {"*MINE"}));
    QCOMPARE(QString::fromStdString(log), QString("Error: Opening Table\r\nno such table: Domains\r\n"));
    DomainRecord record;
    QVERIFY(!db.ReadRecord("a.com", record));
    QCOMPARE(db.GetFieldText("a.com", "Domain"), std::string());
    db.CloseAll();
    QCOMPARE(qvtest::ReadFileBytes(path), before);
  }

  void errorTexts() {
    QCOMPARE(c_.OpenTable("Domains"), kDbOk);
    QCOMPARE(c_.CreateField("owner", FieldType::Text, 10), kDbEngineError);
    QCOMPARE(QString::fromStdString(c_.GetLastError()), QString("Field 'owner' already exists."));
    QCOMPARE(c_.CreateTable("domains", {FieldInfo{"x", FieldType::Text, 5}}), kDbEngineError);
    QCOMPARE(QString::fromStdString(c_.GetLastError()), QString("Table 'domains' already exists."));
    QCOMPARE(c_.CreateQuery("Expiring", "SELECT * FROM [Domains] WHERE [Expiry Date] < #1/1/2030#"), kDbOk);
    QCOMPARE(c_.CreateQuery("expiring", "SELECT 1"), kDbEngineError);
    QCOMPARE(QString::fromStdString(c_.GetLastError()), QString("Query 'expiring' already exists."));
    QCOMPARE(c_.OpenTable("Nothing"), kDbEngineError);
    QCOMPARE(QString::fromStdString(c_.GetLastError()), QString("Error: Opening Table\r\nno such table: Nothing"));
    QCOMPARE(c_.CreateQuery("", "SELECT [No Field] FROM [Domains]"), kDbOk);
    QCOMPARE(c_.OpenRecordset(), kDbEngineError);
    QCOMPARE(QString::fromStdString(c_.GetLastError()),
             QString("Error: Creating Recordset\r\nno such column: No Field"));
    QCOMPARE(c_.Execute("DELETE FROM [Nowhere]", "Deleting Records"), kDbEngineError);
    QCOMPARE(QString::fromStdString(c_.GetLastError()), QString("Error: Deleting Records\r\nno such table: Nowhere"));
    QCOMPARE(c_.OpenDatabase(qvtest::TempPath("none.qvl").string(), true), kDbOpenFailed);
    QVERIFY(QString::fromStdString(c_.GetLastError()).startsWith("Error: Opening Database.\r\n"));
  }

  void fieldsAddedAndDeleted() {
    QCOMPARE(c_.OpenTable("Domains"), kDbOk);
    QCOMPARE(c_.AddDomainRecord(DomainRecord("f.com")), kDbOk);
    QCOMPARE(c_.CreateField("Price", FieldType::Currency, 0), kDbOk);
    QCOMPARE(c_.CreateField("Memo Field", FieldType::Memo, 0), kDbOk);
    QVERIFY(c_.FieldExists("price"));
    DomainRecord r;
    QVERIFY(c_.ReadDomainRecord("f.com", r));
    r.SetText("Memo Field", std::string(5000, 'm'));  // unlimited
    r.SetText("Price", "12.25");                       // text typed into a number field
    QCOMPARE(c_.WriteDomainRecord(r), kDbOk);
    QVERIFY(c_.ReadDomainRecord("f.com", r));
    QCOMPARE(r.Text("Memo Field").size(), std::size_t(5000));
    QCOMPARE(r.Real("Price"), 12.25);
    QCOMPARE(c_.DeleteField("Price"), kDbOk);
    QVERIFY(!c_.FieldExists("Price"));
    QVERIFY(c_.ReadDomainRecord("f.com", r));
    QVERIFY(!r.Has("Price"));
    // Another field in its place: a write after the change goes to the
    // table as it now is.
    QCOMPARE(c_.CreateField("Cost", FieldType::Long, 0), kDbOk);
    QVERIFY(c_.ReadDomainRecord("f.com", r));
    r.SetLong("Cost", 42);
    QCOMPARE(c_.WriteDomainRecord(r), kDbOk);
    QVERIFY(c_.ReadDomainRecord("f.com", r));
    QCOMPARE(r.Number("Cost"), 42LL);
    QCOMPARE(r.Text("Memo Field").size(), std::size_t(5000));
  }

  void transactionsAndStatements() {
    Statement insert = c_.Prepare("INSERT INTO [Domains] ([Domain]) VALUES (?1)");
    QVERIFY(insert);
    const auto insertHundred = [&insert] {
      for (int i = 0; i < 100; ++i) {
        insert.Reset();
        insert.BindText(1, "n" + std::to_string(i) + ".com");
        QCOMPARE(insert.Next(), Statement::Step::Done);
      }
    };
    QCOMPARE(c_.Begin(), kDbOk);
    QVERIFY(c_.InTransaction());
    insertHundred();
    QCOMPARE(c_.Rollback(), kDbOk);
    Statement count = c_.Prepare("SELECT Count(*) FROM [Domains]");
    QCOMPARE(count.Next(), Statement::Step::Row);
    QCOMPARE(count.ColumnInt(0), 0LL);

    // A read-only connection sees what the writer committed, and cannot write.
    QCOMPARE(c_.Begin(), kDbOk);
    insertHundred();
    QCOMPARE(c_.Commit(), kDbOk);
    DatabaseConnection reader;
    QCOMPARE(reader.OpenDatabase(path_, true), kDbOk);
    QCOMPARE(reader.CreateQuery("", "SELECT [Domain] FROM [Domains] WHERE [Domain] Like 'n9*' ORDER BY [Domain]"), kDbOk);
    QCOMPARE(reader.OpenRecordset(), kDbOk);
    QStringList names;
    while (reader.Recordset().Next() == Statement::Step::Row)
      names << QString::fromStdString(reader.Recordset().ColumnText(0));
    QCOMPARE(names.join(' '), QString("n9.com n90.com n91.com n92.com n93.com n94.com n95.com n96.com n97.com "
                                      "n98.com n99.com"));
    QVERIFY(reader.AddDomainRecord(DomainRecord("x.com")) != kDbOk);
    QVERIFY(QString::fromStdString(reader.GetLastError()).contains("readonly"));
  }
};

QV_TEST(DatabaseConnectionTest)
#include "test_database_connection.moc"
