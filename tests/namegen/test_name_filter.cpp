#include <QTest>

#include "namegen/name_filter.h"
#include "support/string_lists.h"
#include "support/test_registry.h"

using namespace qv;

Q_DECLARE_METATYPE(qv::FilterKind)

namespace {

const std::vector<std::string> kNames = {"Alpha.com", "beta.net", "gamma-x.org", "shop.co.uk", ".hidden", "noDot"};

QList<int> Rows(const std::vector<std::size_t>& rows) {
  QList<int> l;
  for (std::size_t r : rows) l << int(r);
  return l;
}

}  // namespace

class NameFilterTest : public QObject {
  Q_OBJECT
 private slots:
  void filters_data() {
    QTest::addColumn<FilterKind>("kind");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("bound");
    QTest::addColumn<QList<int>>("rows");
    using K = FilterKind;
    QTest::newRow("chars default") << K::Chars << "-qxy" << 0 << QList<int>{2};
    QTest::newRow("chars L") << K::Chars << "L" << 0 << QList<int>{0};
    QTest::newRow("chars blank counts") << K::Chars << " ,D" << 0 << QList<int>{4, 5};
    QTest::newRow("chars empty does nothing") << K::Chars << "" << 0 << QList<int>{};
    QTest::newRow("start words") << K::StartWords << "al, be" << 0 << QList<int>{0, 1};
    QTest::newRow("start takes the whole name") << K::StartWords << ".HID" << 0 << QList<int>{4};
    QTest::newRow("end words") << K::EndWords << "ta" << 0 << QList<int>{1};
    QTest::newRow("end of name part only") << K::EndWords << "com;t" << 0 << QList<int>{5};
    QTest::newRow("end longer than part") << K::EndWords << "xshop" << 0 << QList<int>{};
    QTest::newRow("middle words") << K::MiddleWords << "MM\tho" << 0 << QList<int>{2, 3};
    QTest::newRow("middle not in tld") << K::MiddleWords << "org" << 0 << QList<int>{};
    QTest::newRow("middle, dot first") << K::MiddleWords << "hidden" << 0 << QList<int>{4};
    QTest::newRow("longer than 8") << K::LongerThan << "" << 8 << QList<int>{0, 2, 3};
    QTest::newRow("shorter than 9") << K::ShorterThan << "" << 9 << QList<int>{1, 4, 5};
    QTest::newRow("tld NET") << K::Tld << " NET\t" << 0 << QList<int>{1};
    QTest::newRow("tld uk covers co.uk") << K::Tld << ".uk" << 0 << QList<int>{3};
    QTest::newRow("tld blank does nothing") << K::Tld << " \t" << 0 << QList<int>{};
  }
  void filters() {
    QFETCH(FilterKind, kind);
    QFETCH(QString, text);
    QFETCH(int, bound);
    QFETCH(QList<int>, rows);
    QCOMPARE(Rows(MatchingRows(kNames, {kind, text.toStdString(), bound})), rows);
  }

  void cancelStopsTheLoop() {
    const std::vector<std::string> many(40000, "x.com");
    const auto rows = MatchingRows(many, {FilterKind::Tld, "com", 0},
                                   [](std::size_t done, std::size_t) { return done == 0; });
    QVERIFY(!rows.empty());
    QVERIFY(rows.size() < many.size());
  }

  // Rows 2 and 5 (1-based) gathered: row 5 first, then row 2, then the rest
  // in their old order; deleting keeps the order of the rest.
  void groupAndDelete() {
    std::vector<std::string> names = {"n1", "n2", "n3", "n4", "n5", "n6"};
    const std::vector<bool> selected = {false, true, false, false, true, false};
    std::vector<std::string> grouped = names;
    QCOMPARE(GroupRows(grouped, selected), std::size_t(2));
    QCOMPARE(qvtest::QtList(grouped), QStringList({"n5", "n2", "n1", "n3", "n4", "n6"}));
    DeleteRows(names, selected);
    QCOMPARE(qvtest::QtList(names), QStringList({"n1", "n3", "n4", "n6"}));
  }

  void stripTlds() {
    std::vector<std::string> names = kNames;
    StripTlds(names);
    QCOMPARE(qvtest::QtList(names), QStringList({"Alpha", "beta", "gamma-x", "shop", "", "noDot"}));
  }

  // A long text is read in pieces; every name comes in exactly once, in
  // order, whatever separates them.
  void loadLongText() {
    std::string text;
    std::vector<std::string> expected;
    const char seps[] = {'\r', '\n', ' ', ';', '\t'};
    for (int i = 0; i < 5000; ++i) {
      expected.push_back("name" + std::to_string(i) + ".com");
      text += expected.back() + seps[i % 5] + (i % 3 ? "" : "\r\n");
    }
    std::vector<std::string> names{"kept.com"};
    int reports = 0;
    AppendNamesFromText(names, text, [&](std::size_t, std::size_t) { return ++reports > 0; });
    expected.insert(expected.begin(), "kept.com");
    QCOMPARE(names, expected);
    QVERIFY(reports > 5);
  }
};

QV_TEST(NameFilterTest)
#include "test_name_filter.moc"
