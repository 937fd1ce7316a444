#include <QTest>

#include "namegen/name_template.h"
#include "support/test_registry.h"

using namespace qv;

class NameTemplateTest : public QObject {
  Q_OBJECT
 private slots:
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

  void exportRange_data() {
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("end");
    QTest::newRow("3 to 4") << 3 << 4 << 2 << 4;
    QTest::newRow("to past the end") << 9 << 500 << 8 << 10;
    QTest::newRow("from after to") << 6 << 5 << 5 << 5;
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
