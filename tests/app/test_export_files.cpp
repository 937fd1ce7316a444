#include <QTest>

#include "app/commands/export_commands.h"
#include "app/commands/list_rows.h"
#include "app/progress.h"
#include "lookup/answer_files.h"
#include "store/database_connection.h"
#include "store/database_maintenance.h"
#include "support/temp_folders.h"
#include "support/test_registry.h"
#include "test_file_support.h"

using namespace qv;
using qvtest::FileBytes;

namespace {

void CancelProgressWindows() {
  SetProgressObserverForTests([](ProgressWindow& window, long long, long long) { window.Cancel(); });
}

}  // namespace

class ExportFilesTest : public QObject {
  Q_OBJECT

  DomainDatabase db_;

  void AddRecord(const std::string& name, const std::string& registrar, const std::string& availability) {
    DomainRecord record(name);
    QCOMPARE(db_.update().AddDomainRecord(record), kDbOk);
    record.SetText("Registrar", registrar);
    record.SetText("Availability", availability);
    QVERIFY(db_.WriteRecord(record));
  }

 private slots:
  void init() {
    qvtest::FreshFolders();
    SetProgressObserverForTests({});
    const MaintenanceResult made = NewDocument(db_, qvtest::TempPath("export.qvl").string());
    QVERIFY2(made.ok, made.message.c_str());
    QVERIFY(db_.OpenDomainsTable());
  }
  void cleanup() {
    SetProgressObserverForTests({});
    db_.SetPath({});
  }

  // Answers are read from the files the lookup writes; their line ends become
  // CR LF; a name without a kept answer gets an empty block.
  void rawWhoisExport() {
    QVERIFY(SaveWhoisText("alpha.com", "Domain Name: ALPHA.COM\nRegistrar: Example, Inc.\n"));
    QVERIFY(SaveWhoisText("beta.org", "first\r\nsecond\rthird"));
    const QString path = qvtest::WorkPath("raw.txt");
    QString error;
    QVERIFY2(WriteRawWhoisExport({"alpha.com", "beta.org", "gamma.net"}, path, nullptr, error), qPrintable(error));
    QCOMPARE(FileBytes(path),
             QByteArray("\r\n<record>\r\nDomain: alpha.com\r\n\r\n"
                        "Domain Name: ALPHA.COM\r\nRegistrar: Example, Inc.\r\n"
                        "\r\n</record>\r\n\r\n"
                        "\r\n<record>\r\nDomain: beta.org\r\n\r\n"
                        "first\r\nsecond\r\nthird"
                        "\r\n</record>\r\n\r\n"
                        "\r\n<record>\r\nDomain: gamma.net\r\n\r\n"
                        "\r\n</record>\r\n\r\n"));

    // With logging off, a name without a file still exports an empty answer,
    // not the "logging is not enabled" notice.
    SetSaveWhoisDataEnabled(false);
    QVERIFY(WriteRawWhoisExport({"gamma.net"}, path, nullptr, error));
    QCOMPARE(FileBytes(path), QByteArray("\r\n<record>\r\nDomain: gamma.net\r\n\r\n\r\n</record>\r\n\r\n"));
  }

  void cancelledExportKeepsTheOldFile() {
    const QString path = qvtest::WorkPath("kept.txt");
    QVERIFY(qvtest::WriteBytes(path, "old content"));
    CancelProgressWindows();
    QString error;
    QVERIFY(!WriteRawWhoisExport({"alpha.com"}, path, nullptr, error));
    QVERIFY(!error.isEmpty());
    QCOMPARE(FileBytes(path), QByteArray("old content"));

    AddRecord("alpha.com", "R", "");
    QVERIFY(!WriteCsvExport(db_, {"alpha.com"}, {"#", "Domain"}, path, nullptr, error));
    QCOMPARE(FileBytes(path), QByteArray("old content"));
  }

  void unwritableTarget() {
    QString error;
    const QString path = qvtest::WorkPath("no-such-folder/out.csv");
    QVERIFY(!WriteRawWhoisExport({"a.com"}, path, nullptr, error));
    QVERIFY(error.contains(path));
    QVERIFY(!WriteNamesFile({"a.com"}, path, error));
  }

  // The rows of a real document, read by name; a name that is no longer
  // stored is left out.
  void csvFromDocument() {
    AddRecord("alpha.com", "Example, Inc.", "FREE");
    AddRecord("beta.com", "Plain Registrar", "TAKEN");
    const QString path = qvtest::WorkPath("rows.csv");
    QString error;
    QVERIFY2(WriteCsvExport(db_, {"beta.com", "gone.com", "alpha.com"}, {"#", "Domain", "Registrar"},
                            path, nullptr, error),
             qPrintable(error));
    QCOMPARE(FileBytes(path), QByteArray("beta.com,Plain Registrar,\r\nalpha.com,\"Example, Inc.\",\r\n"));
  }

  void availableNames() {
    AddRecord("alpha.com", "", "FREE");
    AddRecord("beta.com", "", "TAKEN");
    AddRecord("gamma.com", "", "free");
    AddRecord("delta.com", "", "");
    bool cancelled = true;
    const QStringList names =
        AvailableNames(db_, {"alpha.com", "beta.com", "gamma.com", "delta.com"}, nullptr, cancelled);
    QVERIFY(!cancelled);
    QCOMPARE(names, (QStringList{"alpha.com", "gamma.com"}));

    const QString path = qvtest::WorkPath("free.txt");
    QString error;
    QVERIFY(WriteNamesFile({"alpha.com", "odd,name\tx"}, path, error));
    QCOMPARE(FileBytes(path), QByteArray("alpha.com\r\nodd name,x\r\n"));

    CancelProgressWindows();
    AvailableNames(db_, {"alpha.com"}, nullptr, cancelled);
    QVERIFY(cancelled);
  }
};

QV_TEST(ExportFilesTest)
#include "test_export_files.moc"
