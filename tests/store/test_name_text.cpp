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

  // What comes back is the stored name; an empty expectation means refused.
  void storableNames_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("stored");
    const QByteArray label63(63, 'a'), label64(64, 'a');
    QTest::newRow("plain") << QByteArray("example.com") << QByteArray("example.com");
    QTest::newRow("capitals and digits") << QByteArray("Ex-4mple.CO.uk") << QByteArray("Ex-4mple.CO.uk");
    QTest::newRow("trailing dot dropped") << QByteArray("trailing.dot.com.") << QByteArray("trailing.dot.com");
    QTest::newRow("idn kept as typed") << QByteArray("m\xc3\xbcnchen.de") << QByteArray("m\xc3\xbcnchen.de");
    QTest::newRow("a-label") << QByteArray("xn--mnchen-3ya.de") << QByteArray("xn--mnchen-3ya.de");
    QTest::newRow("63-byte label") << label63 + ".com" << label63 + ".com";
    QTest::newRow("67 characters") << QByteArray(63, 'b') + ".com" << QByteArray(63, 'b') + ".com";
    for (const char* junk : {"#", "comment", "a", "domain!!", "....", "*.wild.com", "user@mail.example.org",
                             "bad..name", "-lead.com", "trail-.com", ".lead.com", "a/b.com", "..\\x.com",
                             "under_score.com", "sp ace.com", "a\x07b.com", "a\x7f" "b.com", "x.", "."})
      QTest::newRow(junk) << QByteArray(junk) << QByteArray();
    QTest::newRow("nul") << QByteArray("a\0b.com", 7) << QByteArray();
    QTest::newRow("64-byte label") << label64 + ".com" << QByteArray();
    QTest::newRow("68 characters refused, not cut") << QByteArray(64, 'c') + ".com" << QByteArray();
    QTest::newRow("latin-1 byte") << QByteArray("caf\xe9.fr") << QByteArray();
    // 65 characters in 68 bytes: counted by characters.
    const QByteArray idn = QByteArray(40, 'd') + "." + QByteArray(18, 'e') + "\xc3\xa9\xc3\xa9\xc3\xa9.de";
    QTest::newRow("idn counted in characters") << idn << idn;
  }
  void storableNames() {
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, stored);
    const auto got = StorableDomainName(std::string_view(text.constData(), std::size_t(text.size())));
    QCOMPARE(got ? QByteArray(got->data(), qsizetype(got->size())) : QByteArray(), stored);
  }
};

QV_TEST(NameTextTest)
#include "test_name_text.moc"
