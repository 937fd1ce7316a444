// The texts of the domain list's cells: row numbers, dates with their expiry
// marks, e-mail tagging, registrar aliases, "free" marks, important names,
// the older field names and the web-check columns.
#include <QLocale>
#include <QTest>

#include "app/view/cell_text.h"
#include "app/view/view_settings.h"
#include "platform/settings_store.h"
#include "support/temp_folders.h"
#include "support/test_registry.h"
#include "whois/whois_date.h"

using namespace qv;

namespace {

// A record built from "field=value" pairs: "@date" values are days from
// `Now`, "#n" values whole numbers, "~x" doubles, anything else text.
DomainRecord MakeRecord(const QStringList& fields, const Date& now) {
  DomainRecord record("example.com");
  for (const QString& pair : fields) {
    const qsizetype eq = pair.indexOf(QLatin1Char('='));
    const std::string name = pair.left(eq).toStdString();
    const QString value = pair.mid(eq + 1);
    if (value.startsWith(QLatin1Char('@'))) record.SetDate(name, now.AddDays(value.mid(1).toDouble()).DateOnly());
    else if (value.startsWith(QLatin1Char('#'))) record.SetLong(name, value.mid(1).toInt());
    else if (value.startsWith(QLatin1Char('~'))) record.SetDouble(name, value.mid(1).toDouble());
    else record.SetText(name, value.toStdString());
  }
  return record;
}

QString Day(const Date& now, int offset) { return QString::fromStdString(DateText(now.AddDays(offset).DateOnly())); }

}  // namespace

class ViewCellTextTest : public QObject {
  Q_OBJECT

  Date now_ = Date::FromYmd(2024, 6, 15).AddDays(0.5);  // noon

  CellTextContext Context() const {
    CellTextContext context;
    context.now = now_;
    context.taggedEmails = {"Me@Manager.example"};
    context.registrarAlias = [](std::string_view registrar) -> std::string {
      return registrar == "GoDaddy.com, LLC" ? "GoDaddy" : std::string(registrar);
    };
    return context;
  }

 private slots:
  void cellTexts_data() {
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("column");
    QTest::addColumn<QString>("expected");
    const auto row = [](const char* tag, const QStringList& fields, const char* column, const QString& expected,
                        int row = 0) { QTest::newRow(tag) << fields << row << QString(column) << expected; };
    const QString d10 = Day(now_, 10), dm1 = Day(now_, -1), d40 = Day(now_, 40);

    row("row number", {}, "#", "1");
    row("locked row", {"Lock=#1"}, "#", "<#808080>[5]", 4);
    row("edited row", {"Edited=yes"}, "#", "10 ~", 9);
    row("locked and edited", {"Lock=#1", "Edited=YES"}, "#", "<#808080>[3] ~", 2);
    row("negative row", {}, "Domain", "", -1);
    row("empty column", {}, "", "");
    row("name", {}, "Domain", "example.com");
    row("highlighted name", {"Highlighted=Yes"}, "domain", "<#!2>example.com");

    row("expiry in 10 days", {"Expiry Date=@10"}, "Registry Expiry", "<#!1>" + d10);
    row("expired yesterday", {"Expiry Date=@-1"}, "Expiry Date", "<#!1>" + dm1);
    row("expiry in 40 days", {"Expiry Date=@40"}, "Registry Expiry", d40);
    row("registrar expiry soon", {"Registrar Expiry=@10"}, "Registrar Expiry", "<#!1>" + d10);
    row("no expiry date", {}, "Registry Expiry", "");
    row("created long ago, no mark", {"Created On=@-1"}, "Created On", dm1);
    row("lookedup", {"Last Checked At=@-1"}, "Lookedup", dm1);

    row("own domain address", {"Admin Email=hostmaster@EXAMPLE.com"}, "Admin Email", "hostmaster@EXAMPLE.com");
    row("foreign address", {"Tech Email=abuse@registrar.example"}, "Tech Email", "<#!2>abuse@registrar.example");
    row("tagged address", {"Billing Email=me@manager.EXAMPLE"}, "Billing Email", "me@manager.EXAMPLE");
    row("subdomain is foreign", {"Admin Email=a@mail.example.com"}, "Admin Email", "<#!2>a@mail.example.com");

    row("registrar alias", {"Registrar=GoDaddy.com, LLC"}, "Registrar", "GoDaddy");
    row("free status", {"Status=FREE"}, "Status", "<#!1>FREE");
    row("free availability", {"Availability=Free"}, "Availability", "<#!1>Free");
    row("not free", {"Availability=Not Free"}, "Availability", "Not Free");

    row("edited flag", {"Edited=yes"}, "Edited", "YES");
    row("multilookup", {"MultiLookup=YES"}, "multilookup", "yes");
    row("auth whois", {"Whois Server=whois.example"}, "Auth Whois", "whois.example");
    row("other field", {"Owner Country=NZ"}, "Owner Country", "NZ");
    row("unknown column", {"Owner Country=NZ"}, "Country", "");

    row("ping time", {"Ping Time=~23.7"}, "Ping Time", "23 ms");
    row("ping failed", {"Ping Time=~-1", "Ping Fail Count=#4", "Ping Check Count=#4"}, "Ping Time", "<#!1>Failed");
    row("ping partly failed", {"Ping Fail Count=#2", "Ping Check Count=#4"}, "Ping Time", "");
    row("home page status first line", {"Home Page Status=200 OK\r\nServer: x"}, "Home Page Status", "200 OK");
    row("home page size text", {"Home Page Size=2048"}, "Home Page Size", "2048 bytes");
    row("home page size from bytes", {"Home Page Bytes=#999"}, "Home Page Size", "999 bytes");
    row("links unchecked", {"Google Links=#5"}, "Google Links", "-");
    row("links checked", {"Google Links=#5", "SitePop Checked At=@-2"}, "Google Links", "5");
    row("msn links in other capitals", {"MSN Links=#7", "SitePop Checked At=@-2"}, "Msn Links", "7");
    row("links no service gave", {"Alexa Rank=#9", "SitePop Checked At=@-2"}, "MSN Links", "-");
    row("trademark never checked", {}, "US Tm", "?");
    row("no trademark", {"US Tm Checked At=@-1"}, "US Tm", "-");
    row("one trademark", {"US Tm Checked At=@-1", "US Tm Records=#1"}, "US Tm", "1 Record");
    row("trademarks", {"US Tm Checked At=@-1", "US Tm Records=#3"}, "US Tm", "3 Records");
  }
  void cellTexts() {
    QFETCH(QStringList, fields);
    QFETCH(int, row);
    QFETCH(QString, column);
    QFETCH(QString, expected);
    QCOMPARE(GetCellText(MakeRecord(fields, now_), row, column, Context()), expected);
  }

  void rankIsGrouped() {
    const DomainRecord record = MakeRecord({"Alexa Rank=#1234567", "SitePop Checked At=@-1"}, now_);
    const QString text = GetCellText(record, 0, "Alexa Rank", Context());
    QString digits = text;
    digits.remove(QLocale::system().groupSeparator());
    QCOMPARE(digits, QStringLiteral("1234567"));
    QVERIFY(text.size() > digits.size());
  }

  void importantNamesOnlyWhenAsked() {
    DomainRecord record("example.com");
    record.SetGroupMember(kImportantGroupCode, true);
    CellTextContext context = Context();
    QCOMPARE(GetCellText(record, 0, "Domain", context), QStringLiteral("example.com"));
    context.highlightImportant = true;
    QCOMPARE(GetCellText(record, 0, "Domain", context), QStringLiteral("<#!1>example.com"));
    record.SetGroupMember(kImportantGroupCode, false);
    QCOMPARE(GetCellText(record, 0, "Domain", context), QStringLiteral("example.com"));
  }

  void settingsFeedTheContext() {
    qvtest::FreshFolders();
    WriteProfileString(kRegistrarAliasSection, "Tucows Domains Inc.", "My Tucows");
    WriteProfileInt(kSettingsSection, kHighlightImportantKey, 1);
    StoreTaggedEmailList(SplitTaggedEmailText("  one@x.example \r\n\r\ntwo@y.example\r\n"));
    const CellTextContext context = CellTextContext::FromSettings();
    QVERIFY(context.highlightImportant);
    DomainRecord record("example.com");
    record.SetText("Registrar", "Tucows Domains Inc.");
    record.SetText("Admin Email", "two@y.example");
    QCOMPARE(GetCellText(record, 0, "Registrar", context), QStringLiteral("My Tucows"));
    QCOMPARE(GetCellText(record, 0, "Admin Email", context), QStringLiteral("two@y.example"));
    record.SetText("Registrar", "");
    QCOMPARE(GetCellText(record, 0, "Registrar", context), QString());
  }
};

QV_TEST(ViewCellTextTest)
#include "test_view_cells.moc"
