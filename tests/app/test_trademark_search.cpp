// The US trademark search: `quorvel lookup --tm` against a loopback site
// that plays the trademark search site (login hands out a state token,
// searches answer with the site's result marks), and the window's command
// that opens the public search page.
#include <QAction>
#include <QTest>
#include <memory>

#include "app/cli/terminal_output.h"
#include "app/command_ids.h"
#include "app/main_frame.h"
#include "app/open_url.h"
#include "app/view/corvane_view.h"
#include "lookup/lookup_engine.h"
#include "store/database_connection.h"
#include "store/domain_record.h"
#include "support/http_test_servers.h"
#include "support/program_run.h"
#include "support/test_registry.h"
#include "test_command_support.h"
#include "test_main_frame_support.h"
#include "webcheck/trademark_search.h"
#include "webcheck/trademark_settings.h"

using namespace qv;

namespace {

using qvtest::HttpPage;

enum LoginKind { kToken, kServerError, kNoStateMark };

std::string Between(const std::string& text, const std::string& from, char to) {
  const std::size_t at = text.find(from);
  if (at == std::string::npos) return {};
  const std::size_t start = at + from.size();
  return text.substr(start, text.find(to, start) - start);
}

// The site: each login hands out a new token, good for `searchesPerToken`
// searches (0: no end); the result page depends on the search term.
qvtest::HttpScriptServer::Router TessSite(LoginKind login, int searchesPerToken) {
  auto logins = std::make_shared<int>(0);
  auto used = std::make_shared<int>(0);
  return [=](const std::string& line) {
    if (line.find("f=login&p_lang=english&p_d=trmk") != std::string::npos) {
      if (login == kServerError) return HttpPage("", "500 Internal Server Error");
      if (login == kNoStateMark) return HttpPage("<HTML>Too many users, try later</HTML>");
      *used = 0;
      const std::string state = "4801:t" + std::to_string(++*logins) + ".1.1";
      return HttpPage("<A HREF=\"/bin/gate.exe?f=searchss&state=" + state + "\">New User</A>");
    }
    const std::string state = Between(line, "&state=", ' ');
    if (line.find("GET /bin/gate.exe?p_plural=yes&p_L=100&p_s_ALL=") != 0 ||
        state != "4801:t" + std::to_string(*logins) + ".1.1" || (searchesPerToken && *used >= searchesPerToken))
      return HttpPage("<HTML>This search session has expired. Please start a search session again.</HTML>");
    ++*used;
    const std::string term = Between(line, "p_s_ALL=", '&');
    if (term == "alpha") return HttpPage("<P>Sorry, No results were found for your query.</P>");
    if (term == "beta") return HttpPage("<B>Record 1 out of 1</B>");
    if (term == "gamma") return HttpPage("<TD><B>1,234 <B>Records(s) found</B><TR><TD>1</TD><TD>GAMMA</TD></TR>");
    return HttpPage("<HTML>Server busy</HTML>");
  };
}

// "count" or "-" when nothing was stored.
QString Stored(const QString& doc, const std::string& name) {
  DomainDatabase db;
  DomainRecord r;
  if (!cli::OpenDocumentOrReport(db, doc) || !db.ReadRecord(name, r)) return "?";
  if (!r.DateValue(field::kUsTmCheckedAt).IsValid()) return "-";
  return QString::number(r.Number(field::kUsTmRecords));
}

}  // namespace

class TrademarkSearchTest : public qvtest::WindowTest {
  Q_OBJECT

 private slots:
  void init() { Fresh(); }
  void cleanup() { LetGoOfList(); }

  void commandLine_data() {
    QTest::addColumn<int>("login");
    QTest::addColumn<int>("searchesPerToken");
    QTest::addColumn<bool>("hostSet");
    QTest::addColumn<QStringList>("stored");  // of alpha.com, beta.com, gamma.com, delta.com
    QTest::addColumn<int>("logins");
    QTest::addColumn<QByteArray>("out");
    QTest::addColumn<QByteArray>("err");
    QTest::newRow("counts") << int(kToken) << 0 << true << QStringList{"0", "1", "1234", "-"} << 1
                            << QByteArray("4 names looked up, 3 answered, 1 failed\n") << QByteArray();
    QTest::newRow("expired session") << int(kToken) << 2 << true << QStringList{"0", "1", "1234", "-"} << 2
                                     << QByteArray("4 names looked up, 3 answered, 1 failed\n") << QByteArray();
    QTest::newRow("login error") << int(kServerError) << 0 << true << QStringList{"-", "-", "-", "-"} << 3
                                 << QByteArray("4 names looked up, 0 answered, 4 failed\n")
                                 << QByteArray("failed 3 times (Error: 500)\n");
    QTest::newRow("login without state") << int(kNoStateMark) << 0 << true << QStringList{"-", "-", "-", "-"} << 3
                                         << QByteArray("4 names looked up, 0 answered, 4 failed\n")
                                         << QByteArray(kTessNoStateText) + ")\n";
    QTest::newRow("no host") << int(kToken) << 0 << false << QStringList{"-", "-", "-", "-"} << 0
                             << QByteArray("0 names looked up, 0 answered, 0 failed\n")
                             << QByteArray("quorvel lookup: ") + kTessNoHostText + "\n";
  }
  // Every request waits for the one before and the gap after it; the login
  // is made once per token and at most three times in a row.
  void commandLine() {
    QFETCH(int, login);
    QFETCH(int, searchesPerToken);
    QFETCH(bool, hostSet);
    QFETCH(QStringList, stored);
    QFETCH(int, logins);
    QFETCH(QByteArray, out);
    QFETCH(QByteArray, err);
    qvtest::HttpScriptServer site(TessSite(LoginKind(login), searchesPerToken));
    if (hostSet) SetTessHostSetting("127.0.0.1:" + std::to_string(site.Port()));
    SetTessConnectionGapSetting(1);
    const std::vector<std::string> names = {"alpha.com", "beta.com", "gamma.com", "delta.com"};
    const QString doc = qvtest::MakeDocument("tm.qvl", names);
    const qvtest::ProgramOutcome o = qvtest::RunProgram({"lookup", doc, "--tm", "--tick", "20"}, 60000);
    QVERIFY2(o.exitCode == 0, o.err.constData());
    QCOMPARE(o.out, out);
    // Said once, if at all (Qt may add warnings of its own).
    QCOMPARE(o.err.count("quorvel lookup: "), err.isEmpty() ? 0 : 1);
    QVERIFY2(o.err.contains(err), o.err.constData());
    for (std::size_t i = 0; i < names.size(); ++i) QCOMPARE(Stored(doc, names[i]), stored[int(i)]);
    const std::vector<qvtest::HttpScriptServer::Exchange> ex = site.Exchanges();
    int made = 0;
    for (const auto& e : ex) made += e.requestLine.find("f=login") != std::string::npos ? 1 : 0;
    QCOMPARE(made, logins);
    for (std::size_t i = 1; i < ex.size(); ++i) {
      const auto gap = std::chrono::duration_cast<std::chrono::milliseconds>(ex[i].came - ex[i - 1].answered).count();
      QVERIFY2(gap >= 900 && gap <= 1100, qPrintable(QStringLiteral("request %1 came %2 ms after the one before").arg(i).arg(gap)));
    }
  }

  // The checks are offered, and the selected name's search opens in the
  // browser. Without a host the queued names are let go in one tick, with
  // one status line.
  void windowCommands() {
    QList<QUrl> opened;
    SetUrlOpenerForTests([&opened](const QUrl& url) {
      opened << url;
      return true;
    });
    auto frame = qvtest::HiddenFrame(log_, "window.qvl", {"alpha.com", "beta.net"});
    QVERIFY(frame && frame->Engine().Offers(QueueKind::Trademark));
    frame->View()->SelectName("beta.net");
    frame->Action(kCmdOpenTmSite)->trigger();
    SetUrlOpenerForTests({});
    QCOMPARE(opened, QList<QUrl>{QUrl("https://tmsearch.uspto.gov/search/search-results?query=beta")});
    for (const char* name : {"alpha.com", "beta.net"}) QVERIFY(frame->Engine().QueueTrademark(name));
    frame->OnTimerTick();
    QCOMPARE(frame->Engine().Queue(QueueKind::Trademark).Size(), std::size_t(0));
    QCOMPARE(frame->StatusText(kPaneMessage), QString(kTessNoHostText));
  }
};

QV_TEST(TrademarkSearchTest)
#include "test_trademark_search.moc"
