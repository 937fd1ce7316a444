#include <QElapsedTimer>
#include <QHostInfo>
#include <QJsonArray>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QTest>

#include "lookup/smtp_client.h"
#include "support/smtp_test_server.h"
#include "support/test_registry.h"

using namespace qv;
using qvtest::Aiosmtpd;
using qvtest::ScriptedSmtpServer;

namespace {

MailRecord Record(int port, SmtpSecurity security = SmtpSecurity::None) {
  MailRecord r;
  r.server.host = "127.0.0.1";
  r.server.port = port;
  r.server.security = security;
  r.message.fromAddress = "watcher@alpha.com";
  r.message.toAddresses = {"owner@beta.net"};
  r.message.subject = "Alert Event";
  r.message.body = "Domain: alpha.com\r\n";
  return r;
}

// Trusts the certificate of a test server for as long as it lives.
class TrustCertificate {
 public:
  explicit TrustCertificate(const QString& file) : saved_(QSslConfiguration::defaultConfiguration()) {
    QSslConfiguration c = saved_;
    c.addCaCertificates(QSslCertificate::fromPath(file));
    QSslConfiguration::setDefaultConfiguration(c);
  }
  ~TrustCertificate() { QSslConfiguration::setDefaultConfiguration(saved_); }

 private:
  QSslConfiguration saved_;
};

}  // namespace

class SmtpClientTest : public QObject {
  Q_OBJECT

 private slots:
  // What a real server received: every recipient, the sender completed with
  // the local host, header values without their line breaks, and a body
  // whose lone "." line did not end the message.
  void realServerReceivesTheMessage() {
    Aiosmtpd server({});
    QVERIFY(server.running());
    MailRecord r = Record(server.port());
    r.message.fromAddress = "watcher";
    r.message.toAddresses = {"owner@beta.net", "partner@gamma.org"};
    r.message.subject = "Alert\r\nBcc: thief@delta.io";
    r.message.fromName = "Quorvel\nX-Evil: 1";
    r.message.body = "Domain: alpha.com\n.\n..dots\rlast line";
    std::string transcript;
    const SmtpResult result = SendMail(r, &transcript, 5000);
    QVERIFY2(result.ok(), result.error.c_str());
    QVERIFY(result.reply.rfind("250 OK recorded", 0) == 0);
    QVERIFY(server.WaitForMessages(1, 5000));
    const QJsonObject m = server.messages().front();
    QCOMPARE(m["from"].toString(), "watcher@" + QHostInfo::localHostName());
    QCOMPARE(m["to"].toArray().toVariantList(), QVariantList({"owner@beta.net", "partner@gamma.org"}));
    const QString content = m["content"].toString();
    QVERIFY(content.contains("\r\nSubject: AlertBcc: thief@delta.io\r\n"));
    QVERIFY(!content.contains("\nBcc:") && !content.contains("\nX-Evil:"));
    QVERIFY(content.contains("\r\nTo: owner@beta.net, partner@gamma.org\r\n"));
    QVERIFY(content.endsWith("\r\n\r\nDomain: alpha.com\r\n.\r\n..dots\r\nlast line\r\n"));
  }

  // STARTTLS against the server's own certificate, then AUTH; the
  // transcript holds neither the password nor its encoding.
  void startTlsAndLogin_data() {
    QTest::addColumn<QString>("password");
    QTest::addColumn<int>("code");
    QTest::newRow("right password") << "s3cret!pw" << 0;
    QTest::newRow("wrong password") << "guess" << -535;
  }
  void startTlsAndLogin() {
    QFETCH(QString, password);
    QFETCH(int, code);
    Aiosmtpd server({true, "alerts", "s3cret!pw"});
    QVERIFY(server.running());
    TrustCertificate trust(server.certificateFile());
    MailRecord r = Record(server.port(), SmtpSecurity::StartTls);
    r.server.user = "alerts";
    r.server.password = password.toStdString();
    std::string transcript;
    const SmtpResult result = SendMail(r, &transcript, 5000);
    QCOMPARE(result.code, code);
    QVERIFY(transcript.find("AUTH PLAIN ********") != std::string::npos);
    QVERIFY(transcript.find(password.toStdString()) == std::string::npos);
    const std::string token = QByteArray("\0alerts\0", 8).append(password.toUtf8()).toBase64().toStdString();
    QVERIFY(transcript.find(token) == std::string::npos);
    if (code == 0) {
      QVERIFY(server.WaitForMessages(1, 5000));
      QCOMPARE(server.messages().front()["login"].toString(), QString("alerts"));
    }
  }

  // An untrusted certificate stops the send before anything is said.
  void untrustedCertificateFails() {
    Aiosmtpd server({true, {}, {}});
    QVERIFY(server.running());
    const SmtpResult result = SendMail(Record(server.port(), SmtpSecurity::StartTls), nullptr, 5000);
    QVERIFY(result.code > 0);
    QVERIFY(server.messages().empty());
  }

  // What a real server will not do on request: a reply in place of its
  // usual one ("VERB=reply"), or a twist in how it talks.
  void scriptedServer_data() {
    QTest::addColumn<QString>("reply");
    QTest::addColumn<QString>("twist");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("lastCommand");
    QTest::newRow("550 to MAIL FROM") << "MAIL=550 sender refused" << "" << -550 << "MAIL";
    QTest::newRow("reply lines in separate reads, AUTH LOGIN") << "" << "apart" << 0 << "QUIT";
    QTest::newRow("dropped in the middle of DATA") << "" << "drop" << 2 << "DATA";
    QTest::newRow("EHLO refused, HELO taken") << "EHLO=502 no" << "" << 0 << "QUIT";
    QTest::newRow("STARTTLS asked for, not offered") << "" << "tls" << -1 << "EHLO";
    QTest::newRow("recipient refused") << "RCPT=553 no such user" << "" << -553 << "RCPT";
  }
  void scriptedServer() {
    QFETCH(QString, reply);
    QFETCH(QString, twist);
    QFETCH(int, code);
    QFETCH(QString, lastCommand);
    ScriptedSmtpServer::Script script;
    if (!reply.isEmpty())
      script.replies[reply.section('=', 0, 0).toStdString()] = reply.section('=', 1).toStdString() + "\r\n";
    script.linesApart = twist == "apart";
    script.dropInData = twist == "drop";
    ScriptedSmtpServer server(script);
    MailRecord r = Record(server.port(), twist == "tls" ? SmtpSecurity::StartTls : SmtpSecurity::None);
    r.message.toAddresses = {"owner@beta.net", "nobody@beta.net"};
    if (script.linesApart) {
      r.server.user = "alerts";
      r.server.password = "pw";
    }
    if (script.dropInData) r.message.body = std::string(200000, 'x');
    QElapsedTimer clock;
    clock.start();
    const SmtpResult result = SendMail(r, nullptr, 400);
    QCOMPARE(result.code, code);
    QVERIFY(clock.elapsed() < 3000);
    server.Finish();
    const std::vector<std::string> commands = server.commands();
    QVERIFY(!commands.empty());
    QCOMPARE(QString::fromStdString(commands.back()).section(' ', 0, 0), lastCommand);
    if (script.linesApart) {
      QVERIFY(std::find(commands.begin(), commands.end(), "AUTH LOGIN") != commands.end());
      QCOMPARE(server.messages().size(), std::size_t(1));
    }
    if (reply.startsWith("EHLO")) QVERIFY(commands[1].rfind("HELO ", 0) == 0);
  }
};

QV_TEST(SmtpClientTest)
#include "test_smtp_client.moc"
