#include <QTest>

#include "namegen/builtin_word_lists.h"
#include "namegen/word_set.h"
#include "support/temp_folders.h"
#include "support/test_registry.h"
#include "support/whole_files.h"

using namespace qv;

class WordSetsTest : public QObject {
  Q_OBJECT

  std::filesystem::path folder_;

 private slots:
  void init() {
    folder_ = qvtest::TempPath("WordList");
    std::filesystem::create_directories(folder_);
  }

  // Every set offered but the user's own has a shipped list of CR LF lines,
  // each a word marked for the start ("farm-"), the end ("-net") or both.
  void shippedLists() {
    int sets = 0;
    for (const std::string& set : WordSetNames()) {
      const std::optional<std::string> text = BuiltinWordList(set);
      if (!text) continue;
      ++sets;
      QVERIFY2(text->ends_with("\r\n"), set.c_str());
      const std::vector<std::string> entries = SplitWordLines(*text);
      QVERIFY2(!entries.empty(), set.c_str());
      for (const std::string& entry : entries) QVERIFY2(entry != "-" && !entry.empty(), set.c_str());
    }
    QCOMPARE(sets, int(WordSetNames().size()) - 2);
    QVERIFY(!BuiltinWordList("adult"));
    QVERIFY(!BuiltinWordList("custom"));
  }

  // Reading takes CR, LF and TAB as separators and skips blank entries;
  // writing trims the marks and ends every entry with CR LF; duplicates stay.
  void boxesRoundTrip_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QByteArray>("start");
    QTest::addColumn<QByteArray>("end");
    QTest::addColumn<QByteArray>("written");
    QTest::newRow("sides and separators") << QByteArray("farm\r-digest\npet-\t  \r\n -net \r\n-net")
        << QByteArray("farm\r\npet\r\n") << QByteArray("farm\r\ndigest\r\nnet\r\nnet\r\n")
        << QByteArray("farm-\r\npet-\r\n-farm\r\n-digest\r\n-net\r\n-net\r\n");
    QTest::newRow("marked both ends") << QByteArray("-web-") << QByteArray("web\r\n") << QByteArray("web\r\n")
                                      << QByteArray("web-\r\n-web\r\n");
  }
  void boxesRoundTrip() {
    QFETCH(QByteArray, file);
    QFETCH(QByteArray, start);
    QFETCH(QByteArray, end);
    QFETCH(QByteArray, written);
    const WordBoxes boxes = WordBoxesFromSetText(file.toStdString());
    QCOMPARE(QByteArray::fromStdString(boxes.startWords), start);
    QCOMPARE(QByteArray::fromStdString(boxes.endWords), end);
    QCOMPARE(QByteArray::fromStdString(SetTextFromWordBoxes(boxes)), written);
    QCOMPARE(WordBoxesFromSetText(SetTextFromWordBoxes(boxes)), boxes);
  }

  // Saved once, a word stays as it is through later saves and loads, even
  // one edged with form feeds or vertical tabs (loading trims them).
  void savedWordsAreStable() {
    const WordBoxes once = WordBoxesFromSetText(SetTextFromWordBoxes(WordBoxesFromSetText(",\f,x-\r\n-\v:y")));
    QCOMPARE(once, (WordBoxes{"x\r\n", "y\r\n"}));
    QCOMPARE(WordBoxesFromSetText(SetTextFromWordBoxes(once)), once);
  }

  // A start word typed as "-web-" is kept as "web-"; box words are trimmed
  // of "-", blank, "," and ":"; one that trims to nothing stays a bare mark.
  void typedWordsSaved() {
    QVERIFY(SaveWordSet(folder_, "custom", {"-web-\r\n, my :\r\n", "\t-zone\r\n - "}));
    QCOMPARE(qvtest::ReadFileBytes(WordSetFile(folder_, "custom")), QByteArray("web-\r\nmy-\r\n-zone\r\n-\r\n"));
    const WordBoxes back = WordBoxesFromSetText(LoadWordSetText(folder_, "custom"));
    QCOMPARE(back.startWords, std::string("web\r\nmy\r\n\r\n"));
    QCOMPARE(back.endWords, std::string("zone\r\n\r\n"));
  }

  // First use copies the shipped list to the set's file; an emptied file is
  // restored from it; a set without a shipped list stays empty.
  void loadFallsBackToShippedList() {
    const std::filesystem::path file = WordSetFile(folder_, "agriculture");
    std::filesystem::remove(file);
    const WordBoxes boxes = WordBoxesFromSetText(LoadWordSetText(folder_, "agriculture"));
    QCOMPARE(qvtest::ReadFileBytes(file).toStdString(), *BuiltinWordList("agriculture"));
    QVERIFY(boxes.startWords.starts_with("farm\r\n"));
    QVERIFY(boxes.endWords.starts_with("farm\r\n"));
    QVERIFY(boxes.endWords.find("digest\r\n") != std::string::npos);
    QVERIFY(boxes.startWords.find("digest") == std::string::npos);

    QVERIFY(SaveWordSet(folder_, "agriculture", {}));
    QCOMPARE(qvtest::ReadFileBytes(file), QByteArray());
    QCOMPARE(LoadWordSetText(folder_, "agriculture"), *BuiltinWordList("agriculture"));
    QCOMPARE(LoadWordSetText(folder_, "adult"), std::string());
  }
};

QV_TEST(WordSetsTest)
#include "test_word_sets.moc"
