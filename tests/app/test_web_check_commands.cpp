// The home page and ping checks from the window and the command line, with
// nginx on loopback standing in as the web and as the proxy that reaches it.
#include <QAction>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QSpinBox>
#include <QRadioButton>
#include <QTest>
#include <memory>

#include "app/command_ids.h"
#include "app/commands/lookup_commands.h"
#include "app/dialogs/auto_scan_settings_dialog.h"
#include "app/dialogs/lookup_dialog.h"
#include "app/cli/terminal_output.h"
#include "app/main_frame.h"
#include "app/view/cell_text.h"
#include "lookup/lookup_engine.h"
#include "store/database_connection.h"
#include "store/domain_record.h"
#include "support/http_test_servers.h"
#include "support/program_run.h"
#include "support/test_registry.h"
#include "test_main_frame_support.h"
#include "webcheck/fetch_job_list.h"
#include "webcheck/web_checks.h"

using namespace qv;

namespace {

// What the list shows of a name's web-check columns.
QStringList Shown(DomainDatabase& db, const std::string& name) {
  DomainRecord r;
  if (!db.ReadRecord(name, r)) return {};
  QStringList out;
  for (const char* column : {"Home Page Status", "Home Page Size", "Ping Time"})
    out << QString::fromStdString(WebCheckText(r, column));
  return out;
}

}  // namespace

class WebCheckCommandsTest : public qvtest::WindowTest {
  Q_OBJECT

  std::unique_ptr<qvtest::NginxServer> nginx_;

 private slots:
  void initTestCase() {
    nginx_ = std::make_unique<qvtest::NginxServer>();
    if (!nginx_->Running()) QSKIP(qPrintable(nginx_->Problem()));
  }
  void cleanupTestCase() { nginx_.reset(); }
  void init() { Fresh(); }
  void cleanup() { LetGoOfList(); }

  // `quorvel lookup DOC --http --ping` fills the fields the window shows.
  void commandLineLookup() {
    const QString path = qvtest::MakeDocument("web.qvl", {"alpha.com", "beta.org"});
    QVERIFY(!path.isEmpty());
    QProcessEnvironment proxy;
    proxy.insert("http_proxy", QString::fromStdString(nginx_->Url("")));
    const qvtest::ProgramOutcome o =
        qvtest::RunProgram({"lookup", path, "--http", "--ping", "--tick", "50"}, 60000, proxy);
    QCOMPARE(o.exitCode, 0);
    QVERIFY2(o.out.contains("2 names looked up"), o.out.constData());
    DomainDatabase db;
    QVERIFY(cli::OpenDocumentOrReport(db, path));
    const bool noPing = o.err.contains("Ping is not available on this system (");
    for (const std::string name : {"alpha.com", "beta.org"}) {
      const QStringList shown = Shown(db, name);
      QCOMPARE(shown.value(0), QStringLiteral("HTTP/1.1 200 OK"));
      QVERIFY2(shown.value(1).endsWith(" bytes") && !shown.value(1).endsWith("bytes bytes"), qPrintable(shown.value(1)));
      QCOMPARE(db.GetFieldText(name, field::kHomePageTitle), std::string(qvtest::NginxServer::kIndexTitle));
      DomainRecord r;
      QVERIFY(db.ReadRecord(name, r));
      QCOMPARE(r.DateValue(field::kPingCheckedAt).IsValid(), !noPing);
      if (!noPing) QCOMPARE(r.Number(field::kPingCheckCount), 3LL);
    }
  }

  // A redirect loop ends promptly with its own message.
  void commandLineFetchOfALoop() {
    QElapsedTimer timer;
    timer.start();
    const qvtest::ProgramOutcome o = qvtest::RunProgram({"fetch", QString::fromStdString(nginx_->Url("/redirect-loop"))}, 30000);
    QCOMPARE(o.exitCode, 1);
    QVERIFY2(o.out.contains("Error: Too many redirects"), o.out.constData());
    QVERIFY(timer.elapsed() < 10000);
  }

  // OK with a whois interval below a day asks first; any answer but Yes
  // keeps the dialog open and the old settings.
  void autoScanDialog_data() {
    QTest::addColumn<bool>("whois");
    QTest::addColumn<int>("minutes");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("asked");
    QTest::addColumn<bool>("saved");
    QTest::newRow("frequent, No") << true << 60 << int(QMessageBox::No) << true << false;
    QTest::newRow("frequent, Yes") << true << 60 << int(QMessageBox::Yes) << true << true;
    QTest::newRow("daily") << true << 1440 << int(QMessageBox::No) << false << true;
    QTest::newRow("whois off") << false << 60 << int(QMessageBox::No) << false << true;
  }
  void autoScanDialog() {
    QFETCH(bool, whois);
    QFETCH(int, minutes);
    QFETCH(int, answer);
    QFETCH(bool, asked);
    QFETCH(bool, saved);
    int questions = 0;
    CAutoScanSettingsDialog dialog([&](QWidget*, const QString& text) {
      ++questions;
      return text == QLatin1String(kFrequentWhoisWarning) ? answer : int(QMessageBox::Yes);
    });
    QVERIFY(!dialog.Interval(CAutoScanSettingsDialog::kPing)->isEnabled());
    dialog.Switch(CAutoScanSettingsDialog::kPing)->setChecked(true);
    QVERIFY(dialog.Interval(CAutoScanSettingsDialog::kPing)->isEnabled());
    dialog.Switch(CAutoScanSettingsDialog::kWhois)->setChecked(whois);
    dialog.Interval(CAutoScanSettingsDialog::kWhois)->setValue(minutes);
    dialog.accept();
    QCOMPARE(questions > 0, asked);
    QCOMPARE(dialog.result() == QDialog::Accepted, saved);
    const AutoScanSettings stored = AutoScanSettings::Load();
    QCOMPARE(stored.ping, saved);
    QCOMPARE(stored.whoisInterval, saved ? minutes : kAutoWhoisIntervalDefault);
  }

  // Lookup with Home Page and Ping ticked fills those columns; Stop cancels
  // the fetches still running.
  void windowLookupAndStop() {
    auto frame = qvtest::HiddenFrame(log_, "window.qvl", {"alpha.com", "beta.org"});
    QVERIFY(frame);
    LookupEngine& engine = frame->Engine();
    QVERIFY(engine.Offers(QueueKind::HomePage) && engine.Offers(QueueKind::Ping));
    qputenv("http_proxy", nginx_->Url("").c_str());
    SetLookupDialogRunnerForTests([](QDialog& dialog) {
      auto& d = static_cast<CLookupDialog&>(dialog);
      d.SelectAllBox()->setChecked(true);
      d.SelectAllBox()->setChecked(false);
      d.CheckBox(CLookupDialog::kHttp)->setChecked(true);
      d.CheckBox(CLookupDialog::kPing)->setChecked(true);
      d.AllRadio()->setChecked(true);
      return int(QDialog::Accepted);
    });
    frame->Action(kCmdLookupAll)->trigger();
    SetLookupDialogRunnerForTests({});
    const auto done = [&] {
      frame->OnTimerTick();
      return !engine.RunBusy() && engine.IsIdle() && frame->WebCheckers().RunningPings() == 0;
    };
    QTRY_VERIFY_WITH_TIMEOUT(done(), 30000);
    QTest::qWait(50);
    DomainDatabase& db = frame->Document().Database();
    QCOMPARE(Shown(db, "alpha.com").value(0), QStringLiteral("HTTP/1.1 200 OK"));
    QCOMPARE(Shown(db, "beta.org").value(0), QStringLiteral("HTTP/1.1 200 OK"));

    // A site that drips: Stop leaves no fetch running and stores nothing.
    qvtest::HttpScriptServer drip(qvtest::HttpScriptServer::Mode::Drip,
                                  "HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\n", 300);
    qputenv("http_proxy", drip.Url("").c_str());
    DomainRecord before;
    QVERIFY(db.ReadRecord("alpha.com", before));
    QVERIFY(engine.QueueHomePage("alpha.com"));
    frame->OnTimerTick();
    QCOMPARE(engine.FetchJobCount(), 1);
    QTest::qWait(200);
    frame->Action(kCmdStopLookups)->trigger();
    qunsetenv("http_proxy");
    QCOMPARE(engine.FetchJobCount(), 0);
    QTest::qWait(300);
    DomainRecord after;
    QVERIFY(db.ReadRecord("alpha.com", after));
    QCOMPARE(after.Text(field::kHomePageCheckedAt), before.Text(field::kHomePageCheckedAt));
    FetchJobList::Instance().PurgeAtExit(20, 100);
    QCOMPARE(FetchJobList::Instance().CancelledCount(), 0);
  }
};

QV_TEST(WebCheckCommandsTest)
#include "test_web_check_commands.moc"
