#include <QComboBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "app/dialogs/whois_tool_dialog.h"
#include "app/dialogs/whois_tool_history.h"
#include "platform/settings_store.h"
#include "support/temp_folders.h"
#include "support/test_registry.h"
#include "support/rdap_test_server.h"
#include "support/whois_test_server.h"

using namespace qv;

namespace {

QStringList Numbered(int from, int to) {
  QStringList list;
  for (int i = from; i <= to; ++i) list << QStringLiteral("e%1.com").arg(i);
  return list;
}

}  // namespace

class WhoisToolTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { qvtest::FreshFolders(); }

  void historyKeeping_data() {
    QTest::addColumn<QStringList>("history");
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("into empty") << QStringList{} << "a.com" << QStringList{"a.com"};
    QTest::newRow("newest first") << QStringList{"a.com", "b.com"} << "c.com" << QStringList{"c.com", "a.com", "b.com"};
    QTest::newRow("repeat moves up") << QStringList{"a.com", "b.com", "c.com"} << "c.com"
                                     << QStringList{"c.com", "a.com", "b.com"};
    QTest::newRow("repeat in other case, newest spelling")
        << QStringList{"a.com", "Whois.Test"} << "WHOIS.test" << QStringList{"WHOIS.test", "a.com"};
    QTest::newRow("trimmed") << QStringList{"a.com"} << "  a.com \r\n" << QStringList{"a.com"};
    QTest::newRow("empty ignored") << QStringList{"a.com"} << "   " << QStringList{"a.com"};
    QTest::newRow("full: oldest drops") << Numbered(1, 100) << "new.com" << (QStringList{"new.com"} + Numbered(1, 99));
    QTest::newRow("full: repeat keeps 100") << Numbered(1, 100) << "e100.com"
                                            << (QStringList{"e100.com"} + Numbered(1, 99));
  }
  void historyKeeping() {
    QFETCH(QStringList, history);
    QFETCH(QString, entry);
    QFETCH(QStringList, expected);
    QCOMPARE(AddToHistory(history, entry), expected);
  }

  // Stored as "Count" and "1".."Count"; a hand-edited section with gaps,
  // repeats and too many entries reads back by the same rules.
  void historyStore() {
    SaveHistory(kWhoisToolQueryListSection, {"a.com", "b.com"});
    QCOMPARE(GetProfileInt(kWhoisToolQueryListSection, "Count", 0), 2);
    QCOMPARE(GetProfileString(kWhoisToolQueryListSection, "1", ""), std::string("a.com"));

    SaveHistory(kWhoisToolQueryListSection, {"c.com"});  // a shorter list leaves no old entry
    QCOMPARE(GetProfileString(kWhoisToolQueryListSection, "2", "none"), std::string("none"));

    WriteProfileInt(kWhoisToolServerListSection, "Count", 150);
    for (int i = 1; i <= 150; ++i)
      WriteProfileString(kWhoisToolServerListSection, std::to_string(i), "s" + std::to_string(i % 120));
    WriteProfileString(kWhoisToolServerListSection, "3", "");
    QStringList loaded = LoadHistory(kWhoisToolServerListSection);
    QCOMPARE(loaded.size(), 100);
    QCOMPARE(loaded.first(), QStringLiteral("s1"));
    QVERIFY(!loaded.contains("s3"));
    QCOMPARE(loaded.removeDuplicates(), 0);
  }

  // The query runs on its own thread against a loopback server: "Go >>" is
  // disabled until the answer is shown, the line ends are CR LF, and both
  // boxes remember their text.
  void queryAgainstLoopbackServer() {
    qvtest::WhoisTestServer server(
        qvtest::WhoisTestServer::InPieces("Domain Name: EXAMPLE.COM\nRegistrar: Test\n", 8, 20));
    QVERIFY(server.listening());
    CWhoisToolDialog dialog(nullptr, server.port());
    QSignalSpy shown(&dialog, &CWhoisToolDialog::answerShown);
    dialog.QueryBox()->setEditText("example.com");
    dialog.ServerBox()->setEditText("127.0.0.1");
    dialog.GoButton()->click();
    QVERIFY(!dialog.GoButton()->isEnabled());
    QVERIFY(dialog.Running());
    dialog.GoButton()->click();  // a second press while running does nothing
    QVERIFY(shown.wait(20000));
    QCOMPARE(shown.count(), 1);
    QVERIFY(dialog.GoButton()->isEnabled());
    server.Finish();
    QCOMPARE(server.queries(), std::vector<std::string>{"example.com\r\n"});
    QCOMPARE(dialog.AnswerBox()->toPlainText(), QStringLiteral("Domain Name: EXAMPLE.COM\nRegistrar: Test\n"));
    QCOMPARE(LoadHistory(kWhoisToolQueryListSection), QStringList{"example.com"});
    QCOMPARE(LoadHistory(kWhoisToolServerListSection), QStringList{"127.0.0.1"});
    QCOMPARE(dialog.QueryBox()->count(), 1);
  }

  // A server that answers and then counts as failed (too short, "database
  // down") still has its answer shown.
  // The server box may name its port ("host:port"), as the command line does.
  void failedAnswerIsShown() {
    qvtest::WhoisTestServer server(qvtest::WhoisTestServer::Answer("Sorry, the Whois database is currently down."));
    CWhoisToolDialog dialog(nullptr, 43);
    QSignalSpy shown(&dialog, &CWhoisToolDialog::answerShown);
    dialog.QueryBox()->setEditText("example.com");
    dialog.ServerBox()->setEditText(QStringLiteral("127.0.0.1:%1").arg(server.port()));
    dialog.OnGo();
    QVERIFY(shown.wait(20000));
    QCOMPARE(dialog.AnswerBox()->toPlainText(), QStringLiteral("Sorry, the Whois database is currently down."));
  }

  // Go without a server, or with a port that is none, says why and asks nothing.
  void goExplainsWhatIsMissing_data() {
    QTest::addColumn<QString>("server");
    QTest::addColumn<QString>("told");
    QTest::newRow("no server") << "" << "Type the whois server to ask first";
    QTest::newRow("bad port") << "127.0.0.1:70000" << "is not a server";
  }
  void goExplainsWhatIsMissing() {
    QFETCH(QString, server);
    QFETCH(QString, told);
    CWhoisToolDialog dialog(nullptr, 43);
    dialog.QueryBox()->setEditText("example.com");
    dialog.ServerBox()->setEditText(server);
    dialog.OnGo();
    QVERIFY(!dialog.Running());
    QVERIFY2(dialog.AnswerBox()->toPlainText().contains(told), qPrintable(dialog.AnswerBox()->toPlainText()));
  }

  // The RDAP choice: the base URL in the server box, the answer indented or
  // the reason it failed.
  void rdapQuery_data() {
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("shown");
    QTest::newRow("answer") << 200 << "{\n    \"ldhName\": \"alpha.com\",\n    \"objectClassName\": \"domain\"\n}\n";
    QTest::newRow("busy") << 429 << "/domain/alpha.com\n\nThe RDAP service answered HTTP 429.";
  }
  void rdapQuery() {
    QFETCH(int, status);
    QFETCH(QString, shown);
    qvtest::RdapTestServer server(qvtest::RdapTestServer::Tls::Trusted, [status](const QByteArray&) {
      return qvtest::HttpReply{status, R"({"objectClassName":"domain","ldhName":"alpha.com"})", {}, true};
    });
    CWhoisToolDialog dialog;
    QSignalSpy answered(&dialog, &CWhoisToolDialog::answerShown);
    dialog.ProtocolBox()->setCurrentIndex(1);
    dialog.QueryBox()->setEditText("Alpha.com");
    dialog.ServerBox()->setEditText(server.url("/domain/"));
    dialog.OnGo();
    QVERIFY(answered.wait(20000));
    QVERIFY2(dialog.AnswerBox()->toPlainText().contains(shown), qPrintable(dialog.AnswerBox()->toPlainText()));
    QCOMPARE(server.paths(), QStringList{"/domain/alpha.com"});
  }

  // Closing the tool while its query runs: the answer arrives later and
  // finds no dialog; nothing breaks.
  void closedWhileRunning() {
    qvtest::WhoisTestServer server(qvtest::WhoisTestServer::InPieces(std::string(4000, 'x'), 500, 30));
    {
      CWhoisToolDialog dialog(nullptr, server.port());
      dialog.QueryBox()->setEditText("example.com");
      dialog.ServerBox()->setEditText("127.0.0.1");
      dialog.OnGo();
      QVERIFY(dialog.Running());
    }
    QTRY_COMPARE_WITH_TIMEOUT(CWhoisToolDialog::QueriesInFlight(), 0, 20000);
    server.Finish();
    QCOMPARE(server.connections(), 1);
    QCOMPARE(server.queries(), std::vector<std::string>{"example.com\r\n"});
  }

  void shownLineEnds_data() {
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("shown");
    QTest::newRow("LF") << "a\nb\n" << "a\r\nb\r\n";
    QTest::newRow("CR LF kept") << "a\r\nb" << "a\r\nb";
    QTest::newRow("lone CR") << "a\rb" << "a\r\nb";
    QTest::newRow("blank lines") << "a\n\n\nb" << "a\r\n\r\n\r\nb";
  }
  void shownLineEnds() {
    QFETCH(QString, answer);
    QFETCH(QString, shown);
    QCOMPARE(WhoisToolShownText(answer), shown);
  }
};

QV_TEST(WhoisToolTest)
#include "test_dialogs_whois_tool.moc"
