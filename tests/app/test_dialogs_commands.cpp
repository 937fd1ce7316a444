#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QTest>

#include "app/command_ids.h"
#include "app/commands/copy_commands.h"
#include "app/commands/dialog_commands.h"
#include "app/commands/export_commands.h"
#include "app/commands/import_commands.h"
#include "app/dialogs/whois_text_search_dialog.h"
#include "app/main_frame.h"
#include "app/view/corvane_view.h"
#include "app/view/display_modes.h"
#include "lookup/answer_files.h"
#include "store/domain_list.h"
#include "store/find_domain.h"
#include "support/test_registry.h"
#include "test_file_support.h"
#include "test_main_frame_support.h"
#include "whois/server_directory.h"

using namespace qv;
using qvtest::FileBytes;
using qvtest::WriteBytes;

namespace {

QString Clipboard() { return QGuiApplication::clipboard()->text(); }

}  // namespace

class DialogCommandsTest : public qvtest::WindowTest {
  Q_OBJECT

  std::unique_ptr<CMainFrame> FrameWith(const std::vector<std::string>& names) {
    return std::make_unique<CMainFrame>(qvtest::TestOptions(log_, {qvtest::MakeDocument("cmd.qvl", names)}));
  }

  static void SetField(CMainFrame& frame, const char* name, const char* field, const char* value) {
    QVERIFY(qvtest::EditRecord(frame.Document().Database(), name, [=](DomainRecord& r) { r.SetText(field, value); }));
  }

 private slots:
  void init() {
    LetGoOfList();  // the previous test's document died with its window
    FilterList().Clear();
    Fresh();
  }

  // Find selects what it finds in the shown list and keeps the text typed,
  // trimmed; a miss leaves the selection alone. Which row a text finds is
  // the store's table.
  void findDomain() {
    auto frame = FrameWith({"alpha.com", "beta.com", "alphabet.net"});
    CCorvaneView& view = *frame->View();
    view.SelectName("alpha.com");
    QVERIFY(FindDomainInView(view, " BETA.COM "));
    QCOMPARE(frame->SelectedNames(), QStringList{"beta.com"});
    QCOMPARE(QString::fromStdString(LastFindDomainText()), QStringLiteral("BETA.COM"));
    QVERIFY(!FindDomainInView(view, "zeta"));
    QCOMPARE(frame->SelectedNames(), QStringList{"beta.com"});
  }

  void copyCommands() {
    auto frame = FrameWith({"a.com", "b.com", "c.com"});
    SetField(*frame, "b.com", "Registrar", "Example, Inc.");
    SetField(*frame, "b.com", "Status", "free");
    frame->View()->SetDisplayMode(kModeDomainStatus);
    frame->View()->SelectName("b.com");

    RunCopySelectedNames(*frame);
    QCOMPARE(Clipboard(), QStringLiteral("b.com\r\n"));
    RunCopyAllNames(*frame);
    QCOMPARE(Clipboard(), QStringLiteral("a.com\r\nb.com\r\nc.com\r\n"));
    // Registrar, Status (marked "free", the mark removed), Lookedup, Auth Whois.
    RunCopySelectedRows(*frame);
    QCOMPARE(Clipboard(), QStringLiteral("b.com\tExample, Inc.\tfree\t\t\t\r\n"));

    frame->View()->SetDisplayMode(kModeDomainRecords);
    RunCopyFullTable(*frame);
    QCOMPARE(Clipboard(), QStringLiteral("a.com\t\r\nb.com\t\r\nc.com\t\r\n"));

    RunCopyAvailableNames(*frame);
    QCOMPARE(Clipboard(), QString());  // no record has been found free yet
    SetField(*frame, "c.com", "Availability", "FREE");
    RunCopyAvailableNames(*frame);
    QCOMPARE(Clipboard(), QStringLiteral("c.com\r\n"));
  }

  void exportCommands() {
    auto frame = FrameWith({"a.com", "b.com"});
    SetField(*frame, "a.com", "Registrar", "Example, Inc.");
    frame->View()->SetDisplayMode(kModeDomainStatus);
    log_->savePaths << qvtest::WorkPath("table.csv") << qvtest::WorkPath("raw.txt");
    RunExportFullTable(*frame);
    QCOMPARE(FileBytes(qvtest::WorkPath("table.csv")), QByteArray("a.com,\"Example, Inc.\",,,,\r\nb.com,,,,,\r\n"));
    QVERIFY(SaveWhoisText("b.com", "Registrar: Example\n"));
    RunExportRawWhois(*frame);
    QCOMPARE(FileBytes(qvtest::WorkPath("raw.txt")),
             QByteArray("\r\n<record>\r\nDomain: a.com\r\n\r\n\r\n</record>\r\n\r\n"
                        "\r\n<record>\r\nDomain: b.com\r\n\r\nRegistrar: Example\r\n\r\n</record>\r\n\r\n"));
    QCOMPARE(log_->saveTitles, (QStringList{"Export to Comma Separated Text File",
                                            "Export the Entire Raw Whois Data"}));
    QVERIFY(log_->told.isEmpty());
  }

  // The whois text search selects the names whose kept answer holds a text.
  void whoisTextSearchSelectsMatches() {
    auto frame = FrameWith({"a.com", "b.com", "c.com"});
    QVERIFY(SaveWhoisText("a.com", "Registrar: Example Registrar\n"));
    QVERIFY(SaveWhoisText("c.com", "Status: pendingDelete\n"));
    const QStringList matches = SelectWhoisTextMatches(*frame, {"PENDINGDELETE", "example registrar"});
    QCOMPARE(matches, (QStringList{"a.com", "c.com"}));
    QCOMPARE(frame->View()->SelectedNames(), matches);
  }

  void importNeedsADocument() {
    CMainFrame frame(qvtest::TestOptions(log_));
    RunImportFromLargeTextFile(frame);
    RunCreateSimpleDomainNames(frame);
    QCOMPARE(log_->noDatabaseCount, 2);
    QVERIFY(log_->openTitles.isEmpty());
  }

  // The imported names show in the list at once, and the user is told
  // what was added.
  void importFromTheMenu() {
    auto frame = FrameWith({"old.com"});
    const QString path = qvtest::WorkPath("in.txt");
    QVERIFY(WriteBytes(path, "new1.com\r\nOLD.COM\r\nnew2.com"));
    log_->openPaths << path;
    frame->Action(kCmdImportLargeTextFile)->trigger();
    QCOMPARE(log_->openTitles, QStringList{"Import Domain Names From"});
    QCOMPARE(frame->View()->AllShownNames(), (QStringList{"old.com", "new1.com", "new2.com"}));
    QCOMPARE(log_->told, QStringList{"Domain names added: 2\r\nAlready in the list: 1"});
  }

  // The reset asks first, naming the server; only Yes resets. A referral
  // server named by the last answer is the one reset.
  void resetWhoisServer_data() {
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("referral");
    QTest::newRow("yes") << int(QMessageBox::Yes) << "";
    QTest::newRow("no") << int(QMessageBox::No) << "";
    QTest::newRow("yes, referral") << int(QMessageBox::Yes) << "whois.registrar.test";
  }
  void resetWhoisServer() {
    QFETCH(int, answer);
    QFETCH(QString, referral);
    auto frame = FrameWith({"example.com"});
    const std::string server = referral.isEmpty() ? WhoisServerFor("example.com") : referral.toStdString();
    QVERIFY(!server.empty());
    {
      WhoisServerRecord record(server, false);
      record.tokenWhenFree = "custom token";
      record.manuallyEdited = 1;
    }
    if (!referral.isEmpty()) SetField(*frame, "example.com", "Whois Server", server.c_str());

    RunResetWhoisServer(*frame);  // nothing selected: nothing asked
    QVERIFY(log_->asked.isEmpty());
    frame->View()->SelectName("example.com");
    log_->answer = QMessageBox::StandardButton(answer);
    RunResetWhoisServer(*frame);
    QCOMPARE(log_->asked, QStringList{QStringLiteral("This will clear any customized settings you might\n"
                                                     "have created for the whois server (%1)\n\n"
                                                     "Are you sure?")
                                          .arg(QString::fromStdString(server))});
    const WhoisServerRecord after(server, true);
    QCOMPARE(after.manuallyEdited, answer == QMessageBox::Yes ? 0 : 1);
    QCOMPARE(after.tokenWhenFree == "custom token", answer != QMessageBox::Yes);
  }
};

QV_TEST(DialogCommandsTest)
#include "test_dialogs_commands.moc"
