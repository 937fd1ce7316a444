// `quorvel alert-test` against Debian's aiosmtpd with STARTTLS and AUTH, and
// `quorvel lookup` mailing the alerts of its run to a loopback server.
#include <QTest>

#include "lookup/alert_settings.h"
#include "support/program_run.h"
#include "support/smtp_test_server.h"
#include "support/temp_folders.h"
#include "support/loopback_directory.h"
#include "support/test_registry.h"
#include "support/whois_test_server.h"
#include "test_main_frame_support.h"

using namespace qv;

namespace {

void StoreAlertSettings(int port, SmtpSecurity security, const std::string& certificate) {
  AlertSettings a;
  a.fromEmail = "watcher@alpha.com";
  a.toEmail = "owner@beta.net";
  a.smtp = "127.0.0.1:" + std::to_string(port);
  a.security = security;
  if (security != SmtpSecurity::None) {
    a.user = "alerts";
    a.password = "s3cret!pw";
  }
  a.certificateFile = certificate;
  QVERIFY(WriteAlertSettings(a));
}

}  // namespace

class AlertCliTest : public QObject {
  Q_OBJECT
 private slots:
  void init() { qvtest::FreshFolders(); }

  void testMailOverStartTls() {
    qvtest::Aiosmtpd server({true, "alerts", "s3cret!pw"});
    QVERIFY(server.running());
    StoreAlertSettings(server.port(), SmtpSecurity::StartTls, server.certificateFile().toStdString());
    const qvtest::ProgramOutcome o = qvtest::RunProgram({"alert-test"});
    QCOMPARE(o.exitCode, 0);
    QVERIFY2(o.out.startsWith("250 OK recorded as"), o.out.constData());
    QVERIFY(server.WaitForMessages(1, 5000));
    QVERIFY(server.messages().front()["content"].toString().contains("This is a test mail from Quorvel."));
  }

  void testMailNeedsTheFields() {
    const qvtest::ProgramOutcome o = qvtest::RunProgram({"alert-test"});
    QCOMPARE(o.exitCode, 2);
    QVERIFY(o.err.contains(kFillRequiredFieldsText));
  }

  // The changes of two names go out in one mail, once.
  void lookupMailsItsAlerts() {
    qvtest::WhoisTestServer whois(qvtest::WhoisTestServer::Answer(
        "Domain Name: A.QVTEST\r\nRegistrar: Loopback Registrar LLC\r\n"
        "Creation Date: 2001-02-03T00:00:00Z\r\nRegistry Expiry Date: 2031-04-05T00:00:00Z\r\n"));
    qvtest::PointSuffixAt("qvtest", "127.0.0.1", whois.port());
    qvtest::ScriptedSmtpServer smtp({});
    StoreAlertSettings(smtp.port(), SmtpSecurity::None, {});
    const QString doc = qvtest::MakeDocument("alerts.qvl", {"alpha.qvtest", "beta.qvtest"});
    for (const char* name : {"alpha.qvtest", "beta.qvtest"})
      QVERIFY(qvtest::EditRecord(doc, name, qvtest::LookedUpYesterday));
    const qvtest::ProgramOutcome o = qvtest::RunProgram({"lookup", doc, "--whois", "--tick", "50"});
    QCOMPARE(o.exitCode, 0);
    QCOMPARE(o.out, QByteArray("2 names looked up, 2 answered, 0 failed\n2 alerts mailed\n"));
    smtp.Finish();
    QCOMPARE(smtp.messages().size(), std::size_t(1));
    const std::string mail = smtp.messages().front();
    QVERIFY(mail.find("Domain: alpha.qvtest, Lookup: ") != std::string::npos);
    QVERIFY(mail.find("Domain: beta.qvtest, Lookup: ") != std::string::npos);
  }
};

QV_TEST(AlertCliTest)
#include "test_alert_cli.moc"
