#include <QTest>

#include "lookup/smtp_reply.h"
#include "support/test_registry.h"

using namespace qv;

Q_DECLARE_METATYPE(qv::SmtpReplyState)
Q_DECLARE_METATYPE(qv::SmtpLogin)

class SmtpReplyTest : public QObject {
  Q_OBJECT
 private slots:
  // One reply out of what has arrived: where it ends, its code and lines.
  void readReply_data() {
    QTest::addColumn<QByteArray>("received");
    QTest::addColumn<SmtpReplyState>("state");
    QTest::addColumn<QByteArray>("code");
    QTest::addColumn<int>("lines");
    QTest::addColumn<int>("used");
    using S = SmtpReplyState;
    QTest::newRow("one line, next reply left") << QByteArray("220 ready\r\n250 ok\r\n") << S::Complete
                                               << QByteArray("220") << 1 << 11;
    QTest::newRow("continued, bare LF") << QByteArray("250-a\n250-AUTH LOGIN\n250 b\n") << S::Complete
                                        << QByteArray("250") << 3 << 27;
    QTest::newRow("code alone") << QByteArray("354\r\n") << S::Complete << QByteArray("354") << 1 << 5;
    QTest::newRow("final line not yet in") << QByteArray("250-a\r\n250 b") << S::Incomplete << QByteArray() << 1 << 0;
    QTest::newRow("not SMTP") << QByteArray("250-a\r\nhello\r\n250 b\r\n") << S::NotSmtp << QByteArray() << 2 << 0;
    QTest::newRow("short line") << QByteArray("25\r\n") << S::NotSmtp << QByteArray() << 1 << 0;
    QTest::newRow("line without end, too long")
        << QByteArray(int(kSmtpMaxReplyBytes) + 1, '2') << S::TooLong << QByteArray() << 0 << 0;
  }
  void readReply() {
    QFETCH(QByteArray, received);
    QFETCH(SmtpReplyState, state);
    QFETCH(QByteArray, code);
    QFETCH(int, lines);
    QFETCH(int, used);
    const SmtpReply reply = ReadSmtpReply(std::string_view(received.constData(), std::size_t(received.size())));
    QCOMPARE(reply.state, state);
    QCOMPARE(QByteArray::fromStdString(reply.code), code);
    QCOMPARE(int(reply.lines.size()), lines);
    QCOMPARE(int(reply.used), used);
  }

  // A server that sends continuation lines without end is given up once
  // the lines together pass the limit, however short each one is.
  void endlessContinuationIsTooLong() {
    std::string received;
    while (received.size() <= kSmtpMaxReplyBytes) received += "250-more\r\n";
    QCOMPARE(ReadSmtpReply(received).state, SmtpReplyState::TooLong);
    received += "250 end\r\n";
    QCOMPARE(ReadSmtpReply(received).state, SmtpReplyState::TooLong);
  }

  // The login chosen from an EHLO reply's lines.
  void chooseLogin_data() {
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<SmtpLogin>("login");
    QTest::newRow("plain first") << QStringList{"250-mx", "250-AUTH LOGIN PLAIN", "250 OK"} << SmtpLogin::Plain;
    QTest::newRow("login only, lower case") << QStringList{"250-mx", "250 auth login"} << SmtpLogin::Login;
    QTest::newRow("old AUTH= form") << QStringList{"250-mx", "250 AUTH=LOGIN"} << SmtpLogin::Login;
    QTest::newRow("last line, no text after") << QStringList{"250-mx", "250 AUTH"} << SmtpLogin::None;
    QTest::newRow("PLAIN outside AUTH") << QStringList{"250-PLAIN", "250 AUTH CRAM-MD5"} << SmtpLogin::None;
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
