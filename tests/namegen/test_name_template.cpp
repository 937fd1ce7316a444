#include <QTest>

#include "namegen/name_template.h"
#include "support/test_registry.h"

using namespace qv;

namespace {

// The expansion as a user would do it by hand: replace the first wildcard
// by each of its alternatives in turn and expand what that gives. Each
// finished word goes to `each`.
template <typename Each>
void NaiveExpand(std::string& t, Each& each, std::size_t from = 0) {
  const std::size_t i = t.find_first_of("?#&", from);
  if (i == std::string::npos) {
    each(t);
    return;
  }
  const std::string_view alternatives = t[i] == '#'   ? "0123456789"
                                        : t[i] == '&' ? "abcdefghijklmnopqrstuvwxyz"
                                                      : "0123456789abcdefghijklmnopqrstuvwxyz";
  const char wildcard = t[i];
  for (char c : alternatives) {
    t[i] = c;
    NaiveExpand(t, each, i + 1);
  }
  t[i] = wildcard;
}

// Every template of `length` characters drawn from `chars`.
std::vector<std::string> AllTemplates(const std::string& chars, int length) {
  std::vector<std::string> all{""};
  for (int n = 0; n < length; ++n) {
    std::vector<std::string> longer;
    for (const std::string& t : all)
      for (char c : chars) longer.push_back(t + c);
    all.swap(longer);
  }
  return all;
}

}  // namespace

class NameTemplateTest : public QObject {
  Q_OBJECT
 private slots:
  // Count, word by index and the cursor walk agree with the hand expansion
  // for every mix of wildcards and a literal up to three characters, and for
  // every mix of four wildcards.
  void agreesWithNaiveExpansion_data() {
    QTest::addColumn<QString>("chars");
    QTest::addColumn<int>("length");
    QTest::newRow("empty") << "" << 0;
    for (int length = 1; length <= 3; ++length)
      QTest::addRow("wildcards and a literal, %d", length) << "?#&X" << length;
    QTest::newRow("four wildcards") << "?#&" << 4;
  }
  void agreesWithNaiveExpansion() {
    QFETCH(QString, chars);
    QFETCH(int, length);
    for (const std::string& text : AllTemplates(chars.toStdString(), length)) {
      const NameTemplate tmpl(text);
      TemplateCursor cursor(tmpl, 0);
      std::uint64_t i = 0;
      std::string first, failure;
      auto check = [&](const std::string& expected) {
        if (i == 0) first = expected;
        if (failure.empty() && (cursor.Word() != expected || (i % 97 == 0 && tmpl.WordAt(i) != expected)))
          failure = text + ": word " + std::to_string(i) + " is " + cursor.Word() + ", not " + expected;
        cursor.Next();
        ++i;
      };
      std::string work = text;
      NaiveExpand(work, check);
      QVERIFY2(failure.empty(), failure.c_str());
      QCOMPARE(tmpl.Count(), i);
      QCOMPARE(cursor.Word(), first);  // round to the start again
    }
  }

  // Words of a large template come from their index alone; a cursor may
  // start anywhere.
  void largeTemplateEdges_data() {
    QTest::addColumn<quint64>("index");
    QTest::addColumn<QString>("word");
    const quint64 total = 3656158440062976ULL;  // 36^10
    QTest::newRow("first") << quint64(0) << "0000000000web";
    QTest::newRow("last") << total - 1 << "zzzzzzzzzzweb";
    // h = 17 at the slowest place, 5 at the fastest, z at the second fastest.
    QTest::newRow("middle") << 17 * 101559956668416ULL + 35 * 36 + 5 << "h0000000z5web";
  }
  void largeTemplateEdges() {
    QFETCH(quint64, index);
    QFETCH(QString, word);
    const NameTemplate tmpl("??????????web");
    QCOMPARE(tmpl.Count(), std::uint64_t(3656158440062976ULL));
    QCOMPARE(QString::fromStdString(tmpl.WordAt(index)), word);
    TemplateCursor cursor(tmpl, index);
    QCOMPARE(QString::fromStdString(cursor.Word()), word);
    if (index + 1 < tmpl.Count()) {
      cursor.Next();
      QCOMPARE(cursor.Word(), tmpl.WordAt(index + 1));
    }
  }

  // The count is exact while 64 bits hold it, then saturates; anything over
  // the cap is refused before any work.
  void countAndRefusal_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<quint64>("count");
    QTest::addColumn<bool>("refused");
    QTest::newRow("no wildcard") << "abc" << quint64(1) << false;
    QTest::newRow("at the cap") << "&&&&#####" << quint64(26ULL * 26 * 26 * 26 * 100000) << true;
    QTest::newRow("five ?") << "?????" << quint64(60466176) << false;
    QTest::newRow("six ?") << "??????" << quint64(2176782336ULL) << true;
    QTest::newRow("twelve ?") << "????????????" << quint64(4738381338321616896ULL) << true;
    QTest::newRow("thirteen ?") << "?????????????" << quint64(kSaturatedCount) << true;
    QTest::newRow("forty ?") << QString(40, '?') << quint64(kSaturatedCount) << true;
  }
  void countAndRefusal() {
    QFETCH(QString, text);
    QFETCH(quint64, count);
    QFETCH(bool, refused);
    const NameTemplate tmpl(text.toStdString());
    QCOMPARE(tmpl.Count(), count);
    QCOMPARE(!TemplateRefusal(tmpl).empty(), refused);
  }

  void exportRange_data() {
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("end");
    QTest::newRow("3 to 4") << 3 << 4 << 2 << 4;
    QTest::newRow("from 0 acts as 1") << 0 << 2 << 0 << 2;
    QTest::newRow("to past the end") << 9 << 500 << 8 << 10;
    QTest::newRow("from after to") << 6 << 5 << 5 << 5;
    QTest::newRow("negative to") << 1 << -3 << 0 << 0;
  }
  void exportRange() {
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(int, first);
    QFETCH(int, end);
    const WordRange r = ExportRange(from, to, 10);
    QCOMPARE(r.first, std::uint64_t(first));
    QCOMPARE(r.end, std::uint64_t(end));
  }

  // A walk counts every word, or stops at once when aborted.
  void walk() {
    std::atomic<bool> abort{false};
    QCOMPARE(WalkTemplate(NameTemplate("&&"), abort), std::uint64_t(676));
    QCOMPARE(WalkTemplate(NameTemplate(""), abort), std::uint64_t(1));
    abort = true;
    QCOMPARE(WalkTemplate(NameTemplate("?????"), abort), std::uint64_t(0));
  }
};

QV_TEST(NameTemplateTest)
#include "test_name_template.moc"
