#include <QTest>
#include <random>

#include "store/name_text.h"
#include "support/test_registry.h"

using namespace qv;

class NameTextTest : public QObject {
  Q_OBJECT
 private slots:
  // However a long text is laid out, joining its pieces' names gives exactly
  // the names of the whole text, and every piece but the last ends just before
  // a separator at or beyond the piece size.
  void piecesNeverCutAName_data() {
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("seed");
    QTest::newRow("20000 characters") << 20000 << 1;
    QTest::newRow("just over one piece") << 8193 << 2;
    QTest::newRow("exactly one piece") << 8192 << 3;
    QTest::newRow("many pieces") << 200000 << 4;
  }
  void piecesNeverCutAName() {
    QFETCH(int, length);
    QFETCH(int, seed);
    std::mt19937 rng{static_cast<unsigned>(seed)};
    const std::string seps = "\r\n ;\t";
    std::string text;
    while (text.size() < std::size_t(length)) {
      const int n = 1 + int(rng() % 30);
      for (int i = 0; i < n; ++i) text += char('a' + rng() % 26);
      text += seps[rng() % seps.size()];
      if (rng() % 7 == 0) text += seps[rng() % seps.size()];  // empty pieces between
    }
    text.resize(std::size_t(length));

    const auto pieces = SplitIntoPieces(text);
    std::vector<std::string> joined;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
      QVERIFY(!pieces[i].empty());
      if (i + 1 < pieces.size()) {
        QVERIFY(pieces[i].size() >= kNamePieceSize);
        const char after = *(pieces[i].data() + pieces[i].size());
        QVERIFY(seps.find(after) != std::string::npos);
      }
      for (auto& n : SplitNames(pieces[i])) joined.push_back(n);
    }
    QCOMPARE(joined, SplitNames(text));
    if (length == 20000) QCOMPARE(pieces.size(), std::size_t(3));
    if (length <= int(kNamePieceSize)) QCOMPARE(pieces.size(), std::size_t(1));
  }

  void oneLongRunIsOnePiece() {
    const std::string text = std::string(9000, 'x') + " tail";
    const auto pieces = SplitIntoPieces(text);
    QCOMPARE(pieces.size(), std::size_t(2));
    QCOMPARE(pieces[0].size(), std::size_t(9000));
    QCOMPARE(std::string(pieces[1]), std::string("tail"));
    const std::string noSeparator(10000, 'y');
    QCOMPARE(SplitIntoPieces(noSeparator).size(), std::size_t(1));
  }

  void cutToSixtySevenCharacters_data() {
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<int>("bytes");
    QTest::newRow("67 whole") << QByteArray(67, 'a') << 67;
    QTest::newRow("70 cut") << QByteArray(70, 'a') << 67;
    // 66 ASCII letters then three 2-byte letters: 67 characters kept = 68 bytes.
    QTest::newRow("utf-8 counted in characters") << QByteArray(66, 'a') + "\xc3\xa9\xc3\xa9\xc3\xa9" << 68;
    QTest::newRow("latin-1 counted in bytes") << QByteArray(66, 'a') + "\xe9\xe9\xe9" << 67;
  }
  void cutToSixtySevenCharacters() {
    QFETCH(QByteArray, name);
    QFETCH(int, bytes);
    const std::string s(name.constData(), std::size_t(name.size()));
    QCOMPARE(int(CutDomainName(s).size()), bytes);
  }

  void storableNames_data() {
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<bool>("storable");
    QTest::newRow("plain") << QByteArray("example.com") << true;
    QTest::newRow("idn utf-8") << QByteArray("b\xc3\xbc" "cher.de") << true;
    QTest::newRow("slash") << QByteArray("a/b.com") << false;
    QTest::newRow("backslash") << QByteArray("..\\x.com") << false;
    QTest::newRow("nul") << QByteArray("a\0b.com", 7) << false;
    QTest::newRow("bell") << QByteArray("a\x07" "b.com") << false;
    QTest::newRow("delete") << QByteArray("a\x7f" "b.com") << false;
  }
  void storableNames() {
    QFETCH(QByteArray, name);
    QFETCH(bool, storable);
    QCOMPARE(IsStorableName(std::string(name.constData(), std::size_t(name.size()))), storable);
  }
};

QV_TEST(NameTextTest)
#include "test_name_text.moc"
