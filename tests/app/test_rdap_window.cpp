// In the window: one "Lookup All" run over a document with names under two
// test suffixes, one served by a loopback RDAP service (HTTPS, certificate
// trusted by the test) and one by a loopback whois server; both are filled,
// and the raw answer pane shows the RDAP answer indented.
#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QRadioButton>
#include <QTest>
#include <QThread>

#include "app/command_ids.h"
#include "app/commands/lookup_commands.h"
#include "app/dialogs/lookup_dialog.h"
#include "app/main_frame.h"
#include "app/view/corvane_view.h"
#include "app/view/raw_whois_pane.h"
#include "lookup/lookup_engine.h"
#include "store/domain_list.h"
#include "support/rdap_test_server.h"
#include "support/loopback_directory.h"
#include "support/test_registry.h"
#include "support/whois_test_server.h"
#include "test_main_frame_support.h"
#include "whois/rdap_directory.h"
#include "whois/server_directory.h"

using namespace qv;

class RdapWindowTest : public QObject {
  Q_OBJECT
 private slots:
  void init() { qvtest::FreshFolders(); }
  void cleanup() {
    SetLookupDialogRunnerForTests({});
    ShownList().Clear();
  }

  void oneRunFillsBothSuffixes() {
    qvtest::RdapTestServer rdap(qvtest::RdapTestServer::Tls::Trusted, [](const QByteArray&) {
      return qvtest::RdapTestServer::Json(
          R"({"objectClassName":"domain","ldhName":"ALPHA.QVRDAP","status":["active"],)"
          R"("events":[{"eventAction":"expiration","eventDate":"2031-02-03T00:00:00Z"}],)"
          R"("entities":[{"roles":["REGISTRAR"],"vcardArray":["vcard",[["org",{},"text","Rdap Org Registrar"]]]}]})");
    });
    qvtest::WhoisTestServer whois(qvtest::WhoisTestServer::Answer(
        "Domain Name: BETA.QVTEST\r\nRegistrar: Whois Registrar LLC\r\n"
        "Registry Expiry Date: 2030-01-02T00:00:00Z\r\n"));
    qvtest::PointSuffixAt("qvtest", "127.0.0.1", whois.port());
    StoreRdapUrlOfSuffix("qvrdap", rdap.stdUrl("/domain/"));
    qvtest::PoliteServer("127.0.0.1:" + std::to_string(rdap.port()), 443);

    auto log = std::make_shared<qvtest::PromptLog>();
    const auto window = qvtest::HiddenFrame(log, "two.qvl", {"alpha.qvrdap", "beta.qvtest"});
    QVERIFY(window);
    CMainFrame& frame = *window;
    SetLookupDialogRunnerForTests([](QDialog& dialog) {
      auto& d = static_cast<CLookupDialog&>(dialog);
      d.SelectAllBox()->setChecked(false);
      d.CheckBox(CLookupDialog::kWhois)->setChecked(true);
      d.AllRadio()->setChecked(true);
      return int(QDialog::Accepted);
    });
    frame.Action(kCmdLookupAll)->trigger();
    LookupEngine& engine = frame.Engine();
    QDeadlineTimer deadline(30000);
    do {
      engine.SchedulerTick();
      QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
      QThread::msleep(10);
    } while (!(engine.IsIdle() && !engine.RunBusy()) && !deadline.hasExpired());
    QVERIFY(engine.IsIdle());

    DomainDatabase& db = frame.Document().Database();
    QCOMPARE(db.GetFieldText("alpha.qvrdap", "Registrar"), std::string("Rdap Org Registrar"));
    QCOMPARE(db.GetFieldText("alpha.qvrdap", "Status"), std::string("OK"));
    QCOMPARE(db.GetFieldText("beta.qvtest", "Registrar"), std::string("Whois Registrar LLC"));
    QCOMPARE(rdap.paths(), QStringList{"/domain/alpha.qvrdap"});

    frame.View()->SelectName("alpha.qvrdap");
    const QString shown = frame.View()->WhoisPane()->BodyText();
    QVERIFY2(shown.startsWith("{\n    \"entities\": ["), qPrintable(shown));
    QVERIFY(shown.endsWith(QStringLiteral("[Whois Source: 127.0.0.1:%1]").arg(rdap.port())));
  }
};

QV_TEST(RdapWindowTest)
#include "test_rdap_window.moc"
