#include <QTest>

#include "platform/text.h"
#include "support/test_registry.h"

using namespace qv;

class TextTest : public QObject {
  Q_OBJECT
 private slots:
  // Which bytes are UTF-8, and what a text that is not becomes: each byte
  // its Latin-1 character, so nothing is lost.
  void utf8OrLatin1_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("utf8");
    QTest::newRow("two, three, four bytes") << QByteArray("\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80") << true;
    QTest::newRow("latin-1 cafe") << QByteArray("caf\xE9") << false;
    QTest::newRow("cut in a character") << QByteArray("\xD0\x94\xD0...") << false;
    QTest::newRow("overlong slash") << QByteArray("\xC0\xAF") << false;
    QTest::newRow("surrogate") << QByteArray("\xED\xA0\x80") << false;
    QTest::newRow("past U+10FFFF") << QByteArray("\xF4\x90\x80\x80") << false;
    QTest::newRow("last code point") << QByteArray("\xF4\x8F\xBF\xBF") << true;
  }
  void utf8OrLatin1() {
    QFETCH(QByteArray, bytes);
    QFETCH(bool, utf8);
    const std::string_view text(bytes.constData(), std::size_t(bytes.size()));
    QCOMPARE(IsValidUtf8(text), utf8);
    QCOMPARE(ToQString(text), utf8 ? QString::fromUtf8(bytes) : QString::fromLatin1(bytes));
  }
};

QV_TEST(TextTest)
#include "test_text.moc"
