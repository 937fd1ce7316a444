#include <QTest>

#include "app/commands/copy_commands.h"
#include "app/commands/table_text.h"
#include "support/test_registry.h"

using namespace qv;

namespace {

// A table whose rows are given cell by cell; a row written as {"!"} can no
// longer be read.
TableSource TableOf(const QStringList& columns, const QList<QStringList>& rows) {
  TableSource source;
  source.columns = columns;
  source.rowCount = int(rows.size());
  source.cells = [rows](int row, QStringList& cells) {
    if (rows[row] == QStringList{QStringLiteral("!")}) return false;
    cells = rows[row];
    return true;
  };
  return source;
}

}  // namespace

class TableTextTest : public QObject {
  Q_OBJECT

 private slots:
  // The same cells in both forms: the tab form for the clipboard, the comma
  // form for a file. (The forms of markup have a table with the list's markup.)
  void cellsInBothForms_data() {
    QTest::addColumn<QString>("cell");
    QTest::addColumn<QString>("tabs");
    QTest::addColumn<QString>("commas");
    QTest::newRow("plain") << "example.com" << "example.com" << "example.com";
    QTest::newRow("markup removed") << "<#!1>2031-05-04" << "2031-05-04" << "2031-05-04";
    QTest::newRow("comma") << "Example, Inc." << "Example, Inc." << "\"Example, Inc.\"";
    QTest::newRow("quote") << "say \"hi\"" << "say \"hi\"" << "\"say \"\"hi\"\"\"";
    QTest::newRow("line break") << "line1\r\nline2" << "line1  line2" << "\"line1\r\nline2\"";
    QTest::newRow("lone LF") << "a\nb" << "a b" << "\"a\nb\"";
    QTest::newRow("tab") << "a\tb" << "a b" << "a\tb";
    QTest::newRow("empty") << "" << "" << "";
  }
  void cellsInBothForms() {
    QFETCH(QString, cell);
    QFETCH(QString, tabs);
    QFETCH(QString, commas);
    const TableSource source = TableOf({"#", "Domain", "Registrar"}, {{"1", "a.com", cell}});
    QCOMPARE(BuildTableText(source, TableTextForm::Tabs), "a.com\t" + tabs + "\t\r\n");
    QCOMPARE(BuildTableText(source, TableTextForm::Commas), "a.com," + commas + ",\r\n");
  }

  // "#" is left out wherever it stands; rows that cannot be read are left out.
  void wholeTable() {
    const TableSource source = TableOf({"Domain", "#", "Status"},
                                       {{"a.com", "1", "<#!1>FREE"}, {"!"}, {"c.com", "3", "Taken"}});
    QCOMPARE(BuildTableText(source), QStringLiteral("a.com\tFREE\t\r\nc.com\tTaken\t\r\n"));
    // An empty table is an empty text, not the "cancelled" null text.
    const QString empty = BuildTableText(TableOf({"Domain"}, {}));
    QVERIFY(!empty.isNull());
    QVERIFY(empty.isEmpty());
  }

  // The progress is told every 50 rows and at the end; false cancels.
  void progressAndCancel() {
    QList<QStringList> rows;
    for (int i = 0; i < 120; ++i) rows << QStringList{QString::number(i + 1), QStringLiteral("n%1.com").arg(i)};
    const TableSource source = TableOf({"#", "Domain"}, rows);
    QList<int> told;
    const QString text = BuildTableText(source, TableTextForm::Tabs, [&told](int done, int total) {
      told << done;
      return total == 120;
    });
    QCOMPARE(told, (QList<int>{0, 50, 100, 120}));
    QCOMPARE(text.count(QStringLiteral("\r\n")), 120);

    int lines = 0;
    const bool finished = WriteTableLines(source, TableTextForm::Tabs, [](int done, int) { return done < 50; },
                                          [&lines](const QString&) { return ++lines > 0; });
    QVERIFY(!finished);
    QCOMPARE(lines, 50);
    QVERIFY(BuildTableText(source, TableTextForm::Tabs, [](int done, int) { return done < 50; }).isNull());
  }

  void namesForTheClipboard() {
    QCOMPARE(NamesClipboardText({"a.com", "b\t.com", "\tc.com\t"}), QStringLiteral("a.com\r\nb.com\r\nc.com\r\n"));
    QCOMPARE(NamesClipboardText({}), QString());
  }
};

QV_TEST(TableTextTest)
#include "test_export_table_text.moc"
