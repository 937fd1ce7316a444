#include <QTest>

#include "engine_fixture.h"
#include "lookup/alert_mailer.h"
#include "lookup/alert_settings.h"
#include "lookup/mail_text.h"
#include "platform/settings_store.h"
#include "store/domain_record.h"
#include "support/smtp_test_server.h"
#include "support/temp_folders.h"
#include "support/test_registry.h"

using namespace qv;
using qvtest::ScriptedSmtpServer;

namespace {

const Date kNoon = Date::FromParts({2026, 3, 4, 12, 0, 0});

Date MinutesAfter(const Date& d, double minutes) { return d.AddDays(minutes / (24 * 60)); }

void StoreSettings(int port, const std::string& password = {}) {
  AlertSettings a;
  a.toEmail = "owner@beta.net";
  a.smtp = "127.0.0.1:" + std::to_string(port);
  a.user = password.empty() ? "" : "alerts";
  a.password = password;
  a.header = "Changes:";
  a.onPingStatus = true;
  QVERIFY(WriteAlertSettings(a));
}

}  // namespace

class AlertMailTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { qvtest::FreshFolders(); }

  void dataSectionText_data() {
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QByteArray>("sent");
    QTest::newRow("lone dot line") << QByteArray("a\r\n.\r\nb") << QByteArray("a\r\n..\r\nb");
    QTest::newRow("dot first, LF ends") << QByteArray(".x\n.\nend\n") << QByteArray("..x\r\n..\r\nend\r\n");
    QTest::newRow("lone CR") << QByteArray("a\rb") << QByteArray("a\r\nb");
    QTest::newRow("dot inside a line") << QByteArray("a.b\r\n") << QByteArray("a.b\r\n");
  }
  void dataSectionText() {
    QFETCH(QByteArray, body);
    QFETCH(QByteArray, sent);
    QCOMPARE(QByteArray::fromStdString(DataSectionText(body.toStdString())), sent);
  }

  void parseServer_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("security");
    QTest::addColumn<QString>("host");
    QTest::addColumn<int>("port");  // 0: refused
    QTest::newRow("host") << " mail.alpha.com " << 0 << "mail.alpha.com" << 25;
    QTest::newRow("host, TLS") << "mail.alpha.com" << 2 << "mail.alpha.com" << 465;
    QTest::newRow("host:port") << "10.0.0.2:587" << 1 << "10.0.0.2" << 587;
    QTest::newRow("port too big") << "mail.alpha.com:70000" << 0 << "" << 0;
    QTest::newRow("no host") << ":25" << 0 << "" << 0;
  }
  void parseServer() {
    QFETCH(QString, text);
    QFETCH(int, security);
    QFETCH(QString, host);
    QFETCH(int, port);
    SmtpServer s;
    QCOMPARE(ParseSmtpServer(text.toStdString(), SmtpSecurity(security), s), port != 0);
    if (port == 0) return;
    QCOMPARE(QString::fromStdString(s.host), host);
    QCOMPARE(s.port, port);
  }

  // The password reaches the settings file only enciphered.
  void passwordIsEnciphered() {
    AlertSettings a;
    a.password = "s3cret!pw";
    QVERIFY(WriteAlertSettings(a));
    const std::string stored = GetProfileString(kSettingsSection, "Alert SMTP Password", "");
    QVERIFY(!stored.empty() && stored.find("s3cret") == std::string::npos);
    QCOMPARE(ReadAlertSettings().password, std::string("s3cret!pw"));
  }

  // Two sends while the first mail has not started merge into one.
  void pendingMailsMerge() {
    MailList list;
    AlertSettings a;
    a.toEmail = "owner@beta.net";
    SmtpServer s;
    s.host = "127.0.0.1";
    list.QueueAlertMail(AlertMailJob(a, s, "one\r\n"));
    list.QueueAlertMail(AlertMailJob(a, s, "two\r\n"));
    a.subject = "Other";
    list.QueueAlertMail(AlertMailJob(a, s, "three\r\n"));
    QCOMPARE(list.Jobs().size(), std::size_t(2));
    QCOMPARE(list.Jobs()[0]->text, std::string("one\r\ntwo\r\n"));
    QCOMPARE(list.Jobs()[0]->fromAddress, std::string("owner@beta.net"));
  }

  // Without a server the alerts wait instead of being dropped as sent.
  void alertsWaitForSettings() {
    AlertList alerts;
    AlertMailer mailer(alerts);
    alerts.Add("Domain: alpha.com", kNoon);
    QCOMPARE(mailer.SendAlerts(), 0);
    QCOMPARE(alerts.size(), std::size_t(1));
  }

  // A refused mail is kept: the next alert goes with it in one message, and
  // a mail that failed again goes once its retry is due. Nothing twice.
  void failedMailIsRetried() {
    ScriptedSmtpServer::Script script;
    script.refuseMessages = 2;
    ScriptedSmtpServer server(script);
    StoreSettings(server.port(), "pw-9Zq");
    AlertList alerts;
    AlertMailer mailer(alerts);
    Date now = kNoon;
    mailer.SetClock([&] { return now; });
    QStringList status;
    connect(&mailer, &AlertMailer::statusText, this, [&](const QString& t) { status << t; });

    alerts.Add("Domain: alpha.com ^ \"changed\"", now);
    QCOMPARE(mailer.SendAlerts(), 1);
    QVERIFY(mailer.Mails().WaitForSends(5000));
    QVERIFY(status.last().startsWith("Alert mail not sent"));
    alerts.Add("Domain: beta.net", now);
    QCOMPARE(mailer.SendAlerts(), 1);
    QVERIFY(mailer.Mails().WaitForSends(5000));
    QCOMPARE(mailer.Mails().Jobs().size(), std::size_t(1));
    mailer.OnIdle();  // not due yet
    QVERIFY(!mailer.Mails().Sending());
    now = MinutesAfter(kNoon, kMailRetryMinutes);
    mailer.OnIdle();
    QVERIFY(mailer.Mails().WaitForSends(5000));
    QVERIFY(status.last().startsWith("Alert mail sent: 250"));
    server.Finish();
    const std::vector<std::string> received = server.messages();
    QCOMPARE(received.size(), std::size_t(1));
    QVERIFY(received[0].find("\r\n\r\nChanges:\r\nDomain: alpha.com , changed\r\nDomain: beta.net\r\n") !=
            std::string::npos);
    const QString log = QString::fromStdString(enginetest::FileText(MailTranscriptPath()));
    QVERIFY(log.contains("SMTP error -451 in SendMail"));
    QVERIFY(log.contains("\r\n********\r\n") && !log.contains(QByteArray("pw-9Zq").toBase64()));
  }

  // Ping failures of the most important names become alerts; one added
  // when the oldest has waited ten minutes sends them all at once.
  void pingAlerts_data() {
    QTest::addColumn<bool>("important");
    QTest::addColumn<bool>("failed");
    QTest::addColumn<bool>("alerted");
    QTest::newRow("important, failed") << true << true << true;
    QTest::newRow("important, answered") << true << false << false;
    QTest::newRow("not important") << false << true << false;
  }
  void pingAlerts() {
    QFETCH(bool, important);
    QFETCH(bool, failed);
    QFETCH(bool, alerted);
    ScriptedSmtpServer server({});
    StoreSettings(server.port());
    AlertList alerts;
    AlertMailer mailer(alerts);
    Date now = kNoon;
    mailer.SetClock([&] { return now; });
    alerts.Add("Domain: beta.net, Lookup: earlier", kNoon);
    DomainRecord record("alpha.com");
    record.SetGroupMember("*HIVALUEDOMAINS", important);
    now = MinutesAfter(kNoon, 12);
    QCOMPARE(mailer.RaisePingAlert(record, failed, Date::FromParts({2026, 3, 4, 9, 5, 7})), alerted);
    QCOMPARE(alerts.size(), std::size_t(alerted ? 0 : 1));
    if (!alerted) return;
    QVERIFY(mailer.Mails().WaitForSends(5000));
    server.Finish();
    QCOMPARE(server.messages().size(), std::size_t(1));
    QVERIFY(server.messages()[0].find("Domain: beta.net, Lookup: earlier\r\n"
                                      "Domain: alpha.com, Ping Failed on 03/04/2026 09:05:07\r\n") !=
            std::string::npos);
  }
};

QV_TEST(AlertMailTest)
#include "test_alert_mail.moc"
