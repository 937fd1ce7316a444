#include <QTest>

#include "lookup/smtp_reply.h"
#include "support/test_registry.h"

using namespace qv;

Q_DECLARE_METATYPE(qv::SmtpReplyState)
Q_DECLARE_METATYPE(qv::SmtpLogin)

class SmtpReplyTest : public QObject {
  Q_OBJECT
 private slots:
  // One reply out of what has arrived: its state, code and the bytes it took.
  void readReply_data() {
    QTest::addColumn<QByteArray>("received");
    QTest::addColumn<SmtpReplyState>("state");
    QTest::addColumn<QByteArray>("code");
    QTest::addColumn<int>("used");
    using S = SmtpReplyState;
    const QByteArray endless = QByteArray("250-more\r\n").repeated(int(kSmtpMaxReplyBytes) / 10 + 1);
    QTest::newRow("one line, next reply left") << QByteArray("220 ready\r\n250 ok\r\n") << S::Complete
                                               << QByteArray("220") << 11;
    QTest::newRow("continued, bare LF, code alone") << QByteArray("250-a\n250-AUTH LOGIN\n250\n") << S::Complete
                                                    << QByteArray("250") << 25;
    QTest::newRow("final line not yet in") << QByteArray("250-a\r\n250 b") << S::Incomplete << QByteArray() << 0;
    QTest::newRow("not SMTP") << QByteArray("250-a\r\n25\r\n250 b\r\n") << S::NotSmtp << QByteArray() << 0;
    QTest::newRow("line without end") << QByteArray(int(kSmtpMaxReplyBytes) + 1, '2') << S::TooLong
                                      << QByteArray() << 0;
    // Every line counts, not only the unfinished one: a server sending
    // continuation lines for ever is given up.
    QTest::newRow("endless continuation") << endless + "250 end\r\n" << S::TooLong << QByteArray() << 0;
  }
  void readReply() {
    QFETCH(QByteArray, received);
    QFETCH(SmtpReplyState, state);
    QFETCH(QByteArray, code);
    QFETCH(int, used);
    const SmtpReply reply = ReadSmtpReply(std::string_view(received.constData(), std::size_t(received.size())));
    QCOMPARE(reply.state, state);
    QCOMPARE(QByteArray::fromStdString(reply.code), code);
    QCOMPARE(int(reply.used), used);
  }

  // The login chosen from an EHLO reply's lines.
  void chooseLogin_data() {
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<SmtpLogin>("login");
    QTest::newRow("plain first") << QStringList{"250-mx", "250 AUTH LOGIN PLAIN"} << SmtpLogin::Plain;
    QTest::newRow("old AUTH=, lower case") << QStringList{"250-mx", "250 auth=login"} << SmtpLogin::Login;
    QTest::newRow("PLAIN outside AUTH") << QStringList{"250-PLAIN", "250 AUTH"} << SmtpLogin::None;
  }
  void chooseLogin() {
    QFETCH(QStringList, lines);
    QFETCH(SmtpLogin, login);
    std::vector<std::string> reply;
    for (const QString& line : lines) reply.push_back(line.toStdString());
    QCOMPARE(ChooseSmtpLogin(SmtpCapabilities(reply)), login);
  }
};

QV_TEST(SmtpReplyTest)
#include "test_smtp_reply.moc"
