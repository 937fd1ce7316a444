#include <QTest>

#include "store/database_connection.h"
#include "store/database_maintenance.h"
#include "store/jet_sql.h"
#include "support/temp_folders.h"
#include "support/test_registry.h"

using namespace qv;

namespace {

// The names of a query's rows, in order, joined with blanks.
QString NamesOf(DatabaseConnection& c, const std::string& jetSql) {
  Statement st = c.Prepare(jetSql);
  if (!st) return QString::fromStdString("prepare: " + c.GetLastError());
  QStringList names;
  Statement::Step step;
  while ((step = st.Next()) == Statement::Step::Row) names << QString::fromStdString(st.ColumnText(0));
  if (step == Statement::Step::Error) return QString::fromStdString("step: " + st.ErrorText());
  return names.join(' ');
}

}  // namespace

class JetSqlTest : public QObject {
  Q_OBJECT
 private slots:
  void likePatterns_data() {
    QTest::addColumn<QByteArray>("pattern");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("matches");
    QTest::newRow("star empty run") << QByteArray("a*") << QByteArray("a") << true;
    QTest::newRow("star needs the rest") << QByteArray("*.net") << QByteArray("example.com") << false;
    QTest::newRow("several stars backtrack") << QByteArray("*a*b*c") << QByteArray("xxaxxbxbxc") << true;
    QTest::newRow("several stars fail") << QByteArray("*a*b*c") << QByteArray("xxaxxcxb") << false;
    QTest::newRow("question one char") << QByteArray("a?c") << QByteArray("abc") << true;
    QTest::newRow("question not zero") << QByteArray("a?c") << QByteArray("ac") << false;
    QTest::newRow("hash a digit") << QByteArray("#x") << QByteArray("7x") << true;
    QTest::newRow("hash not a letter") << QByteArray("#x") << QByteArray("ax") << false;
    QTest::newRow("case ignored") << QByteArray("EXAMPLE.*") << QByteArray("example.COM") << true;
    QTest::newRow("case ignored latin1") << QByteArray("\xC3\x89t\xC3\xA9*") << QByteArray("\xC3\xA9T\xC3\x89.fr") << true;
    QTest::newRow("list") << QByteArray("[abc]x") << QByteArray("bx") << true;
    QTest::newRow("list capitals") << QByteArray("[ABC]x") << QByteArray("bX") << true;
    QTest::newRow("range") << QByteArray("[a-c]*") << QByteArray("cat") << true;
    QTest::newRow("range upper text") << QByteArray("[a-c]*") << QByteArray("Cat") << true;
    QTest::newRow("negated") << QByteArray("[!a-c]*") << QByteArray("dog") << true;
    QTest::newRow("commas separate digits") << QByteArray("[0,1,2,3,4,5,6,7,8,9]*") << QByteArray("4you.com") << true;
    QTest::newRow("commas not listed") << QByteArray("[0,1,2,3,4,5,6,7,8,9]*") << QByteArray(",x.com") << false;
    QTest::newRow("lone comma listed") << QByteArray("a[,]b") << QByteArray("a,b") << true;
    QTest::newRow("star in brackets not wild") << QByteArray("a[*]") << QByteArray("ab") << false;
    QTest::newRow("hash in brackets literal") << QByteArray("[#]1") << QByteArray("#1") << true;
    QTest::newRow("dash first literal") << QByteArray("[-a]x") << QByteArray("-x") << true;
    QTest::newRow("dash last literal") << QByteArray("[a-]x") << QByteArray("-x") << true;
    QTest::newRow("percent not wild") << QByteArray("50%") << QByteArray("500") << false;
    QTest::newRow("underscore is plain") << QByteArray("a_b") << QByteArray("axb") << false;
    QTest::newRow("closing bracket plain") << QByteArray("a]") << QByteArray("a]") << true;
    QTest::newRow("whole text") << QByteArray("abc") << QByteArray("abcd") << false;
    QTest::newRow("empty pattern text") << QByteArray("") << QByteArray("a") << false;
    QTest::newRow("unclosed bracket") << QByteArray("[abc") << QByteArray("a") << false;
    QTest::newRow("latin1 bytes not utf8") << QByteArray("caf\xE9*") << QByteArray("CAF\xC9S") << true;
  }
  void likePatterns() {
    QFETCH(QByteArray, pattern);
    QFETCH(QByteArray, text);
    QFETCH(bool, matches);
    QCOMPARE(JetLike(pattern.toStdString(), text.toStdString()), matches);
  }

  void dateLiterals_data() {
    QTest::addColumn<QString>("inside");
    QTest::addColumn<QString>("iso");
    QTest::newRow("mm/dd/yyyy") << "01/04/2027" << "2027-01-04 00:00:00";
    QTest::newRow("month first") << "12/31/2026" << "2026-12-31 00:00:00";
    QTest::newRow("short parts") << "1/2/2027" << "2027-01-02 00:00:00";
    QTest::newRow("two-digit year 20xx") << "1/2/27" << "2027-01-02 00:00:00";
    QTest::newRow("two-digit year 19xx") << "1/2/95" << "1995-01-02 00:00:00";
    QTest::newRow("iso") << "2026-12-31" << "2026-12-31 00:00:00";
    QTest::newRow("time") << "12/31/2026 23:59:58" << "2026-12-31 23:59:58";
    QTest::newRow("time pm") << "12/31/2026 1:05 PM" << "2026-12-31 13:05:00";
    QTest::newRow("time 12 am") << "12/31/2026 12:00 am" << "2026-12-31 00:00:00";
    QTest::newRow("no 31 February") << "02/31/2026" << "";
    QTest::newRow("month 13") << "13/01/2026" << "";
    QTest::newRow("trailing junk") << "01/04/2027x" << "";
    QTest::newRow("bad time") << "01/04/2027 25:00" << "";
  }
  void dateLiterals() {
    QFETCH(QString, inside);
    QFETCH(QString, iso);
    const auto got = JetDateLiteralToIso(inside.toStdString());
    QCOMPARE(QString::fromStdString(got.value_or("")), iso);
  }

  void translation_data() {
    QTest::addColumn<QString>("jet");
    QTest::addColumn<QString>("sqlite");
    QTest::newRow("brackets pass") << "SELECT * FROM [Domains] WHERE [Notes-C] IS NULL ORDER BY [Domain] DESC"
        << "SELECT * FROM [Domains] WHERE [Notes-C] IS NULL ORDER BY [Domain] DESC";
    QTest::newRow("date literal") << "[Expiry Date] < #01/04/2027#" << "[Expiry Date] < '2027-01-04 00:00:00'";
    QTest::newRow("hash in string untouched") << "[Notes] = '#01/04/2027#'" << "[Notes] = '#01/04/2027#'";
    QTest::newRow("hash in brackets untouched") << "[a #01/04/2027# b]" << "[a #01/04/2027# b]";
    QTest::newRow("quote inside brackets") << "[it's & #1/1/2000#] = 'x'" << "[it's & #1/1/2000#] = 'x'";
    QTest::newRow("not a date stays") << "[x] = #abc#" << "[x] = #abc#";
    QTest::newRow("double quotes become single") << "[Domain] Like \"a*\" AND [Owner] = \"O'Brien\""
        << "[Domain] Like 'a*' AND [Owner] = 'O''Brien'";
    QTest::newRow("doubled single quote kept") << "'it''s & #1/1/2000#'" << "'it''s & #1/1/2000#'";
    QTest::newRow("ampersand joins") << "[NS1] & [NS2]" << "[NS1] || [NS2]";
    QTest::newRow("functions") << "WHERE Year([Created On]) = 2020 AND UCase([Owner]) = 'X'"
                               << "WHERE jet_year([Created On]) = 2020 AND upper([Owner]) = 'X'";
    QTest::newRow("now and date") << "[x] < Now() AND [y] > Date ( )" << "[x] < jet_now() AND [y] > jet_date ( )";
    QTest::newRow("sqlite date with arguments") << "date('now')" << "date('now')";
    QTest::newRow("field named like a function") << "[Date] = 1 AND Left" << "[Date] = 1 AND Left";
    QTest::newRow("function name in string") << "'Left(x)'" << "'Left(x)'";
    QTest::newRow("unterminated string") << "WHERE [a] = 'abc" << "WHERE [a] = 'abc";
    QTest::newRow("number with exponent") << "1e5 + 2" << "1e5 + 2";
  }
  void translation() {
    QFETCH(QString, jet);
    QFETCH(QString, sqlite);
    QCOMPARE(QString::fromStdString(TranslateJetSql(jet.toStdString())), sqlite);
  }

  // The patterns and functions as SQLite runs them inside a document.
  void queriesOverADocument_data() {
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("names");
    const QString select = "SELECT [Domain] FROM [Domains] ";
    QTest::newRow("names starting with a digit")
        << select + "WHERE [Domain] Like '[0,1,2,3,4,5,6,7,8,9]*' ORDER BY [Domain]" << "1a.com 42.net 9.org";
    QTest::newRow("not like") << select + "WHERE [Domain] NOT Like '*[#]*' ORDER BY [Domain] DESC"
                              << "Beta.org b2b.com alpha.com 9.org 42.net 1a.com";
    QTest::newRow("date literal") << select + "WHERE [Expiry Date] < #01/04/2027# ORDER BY [Domain]"
                                  << "1a.com alpha.com Beta.org";
    QTest::newRow("year") << select + "WHERE Year([Expiry Date]) = 2027" << "Beta.org";
    QTest::newRow("jet functions") << "SELECT Left([Domain], 3) & '|' & Mid([Domain], 2, 2) & '|' & "
                                      "Right([Domain], 3) & '|' & Len([Domain]) FROM [Domains] "
                                      "WHERE [Domain] = 'alpha.com'" << "alp|lp|com|9";
    QTest::newRow("isnull and nz") << "SELECT IsNull([Registrar]) & Nz([Registrar], 'none') FROM [Domains] "
                                      "WHERE [Domain] = '9.org'" << "1none";
    QTest::newRow("equality ignores case") << select + "WHERE [Domain] = 'BETA.ORG'" << "Beta.org";
    QTest::newRow("bad pattern is an error") << select + "WHERE [Domain] Like '[a*'" << "step: Invalid pattern string.";
  }
  void queriesOverADocument() {
    QFETCH(QString, sql);
    QFETCH(QString, names);
    const std::string path = qvtest::TempPath("jet.qvl").string();
    std::string error;
    DatabaseConnection connection;
    QVERIFY2(CreateNewDatabase(connection, path, error), error.c_str());
    QCOMPARE(connection.OpenDatabase(path, false), kDbOk);
    const struct {
      const char* name;
      const char* expiry;
    } rows[] = {{"alpha.com", "2026-05-01 00:00:00"}, {"Beta.org", "2027-01-03 12:00:00"},
                {"b2b.com", nullptr}, {"1a.com", "2020-01-01 00:00:00"}, {"42.net", nullptr}, {"9.org", nullptr}};
    for (const auto& row : rows) {
      DomainRecord r(row.name);
      if (row.expiry) r.SetDate(field::kExpiryDate, Date::FromIsoText(row.expiry));
      QCOMPARE(connection.AddDomainRecord(r), kDbOk);
    }
    QCOMPARE(NamesOf(connection, sql.toStdString()), names);
  }
};

QV_TEST(JetSqlTest)
#include "test_jet_sql.moc"
