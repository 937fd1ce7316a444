// The texts of the domain list's cells: row numbers, dates with their expiry
// marks, e-mail tagging, registrar aliases, "free" marks, important names,
// the older field names and the web-check columns.
#include <QLocale>
#include <QTest>

#include "app/view/cell_text.h"
#include "app/view/view_settings.h"
#include "platform/settings_store.h"
#include "store/domain_fields.h"
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
    if (value.startsWith(QLatin1Char('@')))
      record.SetDate(name, now.AddDays(value.mid(1).toDouble()).DateOnly());
    else if (value.startsWith(QLatin1Char('#')))
      record.SetLong(name, value.mid(1).toInt());
    else if (value.startsWith(QLatin1Char('~')))
      record.SetDouble(name, value.mid(1).toDouble());
    else
      record.SetText(name, value.toStdString());
  }
  return record;
}

QString Day(const Date& now, int offset) {
  return QString::fromStdString(DateText(now.AddDays(offset).DateOnly()));
}

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
    const QString d10 = Day(now_, 10), dm1 = Day(now_, -1), d40 = Day(now_, 40);

    QTest::newRow("row number") << QStringList{} << 0 << "#" << "1";
    QTest::newRow("locked row") << QStringList{"Lock=#1"} << 4 << "#" << "<#808080>[5]";
    QTest::newRow("edited row") << QStringList{"Edited=yes"} << 9 << "#" << "10 ~";
    QTest::newRow("locked and edited") << QStringList{"Lock=#1", "Edited=YES"} << 2 << "#"
                                       << "<#808080>[3] ~";
    QTest::newRow("negative row") << QStringList{} << -1 << "Domain" << "";
    QTest::newRow("empty column") << QStringList{} << 0 << "" << "";

    QTest::newRow("name") << QStringList{} << 0 << "Domain" << "example.com";
    QTest::newRow("highlighted name") << QStringList{"Highlighted=Yes"} << 0 << "domain"
                                      << "<#!2>example.com";

    QTest::newRow("expiry in 10 days") << QStringList{"Expiry Date=@10"} << 0 << "Registry Expiry"
                                       << "<#!1>" + d10;
    QTest::newRow("expired yesterday") << QStringList{"Expiry Date=@-1"} << 0 << "Expiry Date"
                                       << "<#!1>" + dm1;
    QTest::newRow("expiry in 40 days") << QStringList{"Expiry Date=@40"} << 0 << "Registry Expiry" << d40;
    QTest::newRow("registrar expiry soon") << QStringList{"Registrar Expiry=@10"} << 0
                                           << "Registrar Expiry" << "<#!1>" + d10;
    QTest::newRow("no expiry date") << QStringList{} << 0 << "Registry Expiry" << "";
    QTest::newRow("created long ago, no mark") << QStringList{"Created On=@-1"} << 0 << "Created On" << dm1;
    QTest::newRow("lookedup") << QStringList{"Last Checked At=@-1"} << 0 << "Lookedup" << dm1;

    QTest::newRow("own domain address") << QStringList{"Admin Email=hostmaster@EXAMPLE.com"} << 0
                                        << "Admin Email" << "hostmaster@EXAMPLE.com";
    QTest::newRow("foreign address") << QStringList{"Tech Email=abuse@registrar.example"} << 0
                                     << "Tech Email" << "<#!2>abuse@registrar.example";
    QTest::newRow("tagged address") << QStringList{"Billing Email=me@manager.EXAMPLE"} << 0
                                    << "Billing Email" << "me@manager.EXAMPLE";
    QTest::newRow("subdomain is foreign") << QStringList{"Admin Email=a@mail.example.com"} << 0
                                          << "Admin Email" << "<#!2>a@mail.example.com";

    QTest::newRow("registrar alias") << QStringList{"Registrar=GoDaddy.com, LLC"} << 0 << "Registrar"
                                     << "GoDaddy";
    QTest::newRow("free status") << QStringList{"Status=FREE"} << 0 << "Status" << "<#!1>FREE";
    QTest::newRow("free availability") << QStringList{"Availability=Free"} << 0 << "Availability"
                                       << "<#!1>Free";
    QTest::newRow("not free") << QStringList{"Availability=Not Free"} << 0 << "Availability" << "Not Free";

    QTest::newRow("edited flag") << QStringList{"Edited=yes"} << 0 << "Edited" << "YES";
    QTest::newRow("lock flag off") << QStringList{} << 0 << "Lock" << "NO";
    QTest::newRow("multilookup") << QStringList{"MultiLookup=YES"} << 0 << "multilookup" << "yes";
    QTest::newRow("owner name") << QStringList{"Owner=Jane Roe"} << 0 << "Owner Name" << "Jane Roe";
    QTest::newRow("notes-b") << QStringList{"Notes 2=second"} << 0 << "Notes-B" << "second";
    QTest::newRow("authoritative whois") << QStringList{"Whois Server=whois.example"} << 0
                                         << "Authoritative Whois" << "whois.example";
    QTest::newRow("auth whois") << QStringList{"Whois Server=whois.example"} << 0 << "Auth Whois"
                                << "whois.example";
    QTest::newRow("other field") << QStringList{"Owner Country=NZ"} << 0 << "Owner Country" << "NZ";
    QTest::newRow("unknown column") << QStringList{"Owner Country=NZ"} << 0 << "Country" << "";

    QTest::newRow("ping time") << QStringList{"Ping Time=~23.7"} << 0 << "Ping Time" << "23 ms";
    QTest::newRow("ping failed") << QStringList{"Ping Time=~-1", "Ping Fail Count=#4", "Ping Check Count=#4"}
                                 << 0 << "Ping Time" << "<#!1>Failed";
    QTest::newRow("ping partly failed") << QStringList{"Ping Fail Count=#2", "Ping Check Count=#4"} << 0
                                        << "Ping Time" << "";
    QTest::newRow("home page status first line") << QStringList{"Home Page Status=200 OK\r\nServer: x"}
                                                 << 0 << "Home Page Status" << "200 OK";
    QTest::newRow("home page size text") << QStringList{"Home Page Size=2048"} << 0 << "Home Page Size"
                                         << "2048 bytes";
    QTest::newRow("home page size from bytes") << QStringList{"Home Page Bytes=#999"} << 0
                                               << "Home Page Size" << "999 bytes";
    QTest::newRow("links unchecked") << QStringList{"Google Links=#5"} << 0 << "Google Links" << "-";
    QTest::newRow("links checked") << QStringList{"Google Links=#5", "SitePop Checked At=@-2"} << 0
                                   << "Google Links" << "5";
    QTest::newRow("msn links in other capitals") << QStringList{"MSN Links=#7", "SitePop Checked At=@-2"}
                                                 << 0 << "Msn Links" << "7";
    QTest::newRow("trademark never checked") << QStringList{} << 0 << "US Tm" << "?";
    QTest::newRow("no trademark") << QStringList{"US Tm Checked At=@-1"} << 0 << "US Tm" << "-";
    QTest::newRow("one trademark") << QStringList{"US Tm Checked At=@-1", "US Tm Records=#1"} << 0
                                   << "US Tm" << "1 Record";
    QTest::newRow("trademarks") << QStringList{"US Tm Checked At=@-1", "US Tm Records=#3"} << 0 << "US Tm"
                                << "3 Records";
    QTest::newRow("check date") << QStringList{"Ping Checked At=@-1"} << 0 << "Ping Checked At" << dm1;
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
