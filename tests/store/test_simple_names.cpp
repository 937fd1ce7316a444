#include <QTest>

#include "store/simple_names.h"
#include "support/string_lists.h"
#include "support/test_registry.h"

using namespace qv;

Q_DECLARE_METATYPE(std::vector<std::string>)

class SimpleNamesTest : public QObject {
  Q_OBJECT
 private slots:
  void wordsBecomeNames_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("tlds");
    QTest::addColumn<QString>("expected");
    QTest::newRow("word and two domains") << "shoes" << "com|net" << "shoes.com|shoes.net";
    QTest::newRow("full name as it is") << "Shoes.co.uk" << "com|net" << "Shoes.co.uk";
    QTest::newRow("end dots dropped first") << ".shoes." << "com" << "shoes.com";
    QTest::newRow("end dots of a full name") << "..a.b.." << "com" << "a.b";
    QTest::newRow("separators") << "a,b c\r\nd\te/f;g:h<i>j(k)l{m}n|o+p=q_r*s&t^u%v$w#x@y!z" << "io"
                                << "a.io|b.io|c.io|d.io|e.io|f.io|g.io|h.io|i.io|j.io|k.io|l.io|m.io|"
                                   "n.io|o.io|p.io|q.io|r.io|s.io|t.io|u.io|v.io|w.io|x.io|y.io|z.io";
    QTest::newRow("hyphens and backslashes trimmed") << "-best-\\ \\-" << "org" << "best.org";
    QTest::newRow("inner hyphen kept") << "my-shop" << "com" << "my-shop.com";
    QTest::newRow("nothing ticked") << "shoes other.com" << "" << "other.com";
    QTest::newRow("only separators") << " ,,; \r\n..." << "com" << "";
  }
  void wordsBecomeNames() {
    QFETCH(QString, text);
    QFETCH(QString, tlds);
    QFETCH(QString, expected);
    QCOMPARE(MakeSimpleDomainNames(text.toStdString(), qvtest::SplitAtBars(tlds)), qvtest::SplitAtBars(expected));
  }

  // A name is qualified when a dot follows its first character; the split
  // keeps the order of both lists.
  void splitKeepsOrder() {
    const QualifiedSplit split = SplitQualifiedNames({"a.com", "b", ".c", "x.y", "", ".", "d.net"});
    QCOMPARE(split.qualified, (std::vector<std::string>{"a.com", "x.y", "d.net"}));
    QCOMPARE(split.bare, (std::vector<std::string>{"b", ".c", "", "."}));
  }
};

QV_TEST(SimpleNamesTest)
#include "test_simple_names.moc"
