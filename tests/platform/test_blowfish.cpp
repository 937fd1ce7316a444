#include <QTest>

#include "platform/blowfish.h"
#include "support/test_registry.h"

using namespace qv;

namespace {

std::string FromHex(const char* hex) { return QByteArray::fromHex(hex).toStdString(); }

}  // namespace

class BlowfishTest : public QObject {
  Q_OBJECT

 private slots:
  // Published Blowfish test vectors (key, plain block, cipher block).
  void knownBlocks_data() {
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<QByteArray>("plain");
    QTest::addColumn<QByteArray>("cipher");
    QTest::newRow("zeros") << QByteArray("0000000000000000") << QByteArray("0000000000000000")
                           << QByteArray("4EF997456198DD78");
    QTest::newRow("ones") << QByteArray("FFFFFFFFFFFFFFFF") << QByteArray("FFFFFFFFFFFFFFFF")
                          << QByteArray("51866FD5B85ECB8A");
    QTest::newRow("mixed") << QByteArray("3000000000000000") << QByteArray("1000000000000001")
                           << QByteArray("7D856F9A613063F2");
  }
  void knownBlocks() {
    QFETCH(QByteArray, key);
    QFETCH(QByteArray, plain);
    QFETCH(QByteArray, cipher);
    const auto out = BlowfishEncipherBlock(FromHex(key.constData()), FromHex(plain.constData()));
    QVERIFY(out.has_value());
    QCOMPARE(QByteArray::fromStdString(*out).toHex().toUpper(), cipher);
  }

  void roundTripEveryLength() {
    const std::string key = "a key of some length";
    std::string text;
    for (int length = 0; length <= 17; ++length) {
      const auto cipher = BlowfishEncipher(key, text);
      QVERIFY(cipher.has_value());
      // Always padded: a whole block more for a text of whole blocks.
      QCOMPARE(cipher->size(), (text.size() / 8 + 1) * 8);
      QCOMPARE(BlowfishDecipher(key, *cipher), std::optional<std::string>(text));
      text += char('a' + length);
    }
  }

  void refusedInputs() {
    const auto cipher = BlowfishEncipher("right key", "Tembrix/Quorvel");
    QVERIFY(cipher.has_value());
    QVERIFY(!BlowfishDecipher("right key", cipher->substr(0, 12)).has_value());
    QVERIFY(!BlowfishDecipher("right key", "").has_value());
    QVERIFY(!BlowfishEncipher("abc", "x").has_value());  // key too short
    QVERIFY(!BlowfishEncipherBlock("right key", "short").has_value());
    // Under another key the padding almost never checks out; when it does
    // the text is not the original.
    const auto wrong = BlowfishDecipher("wrong key", *cipher);
    QVERIFY(!wrong.has_value() || *wrong != "Tembrix/Quorvel");
  }
};

QV_TEST(BlowfishTest)
#include "test_blowfish.moc"
