// The dialogs of the domain list: the properties window with its date
// editing, the column setup, the colours, the tagged e-mails and the expiry
// days.
#include <QCheckBox>
#include <QHeaderView>
#include <QListWidget>
#include <QTest>

#include "app/dialogs/colors_fonts_dialog.h"
#include "app/dialogs/display_list_setup_dialog.h"
#include "app/dialogs/domain_properties_dialog.h"
#include "app/dialogs/expiry_date_display_dialog.h"
#include "app/dialogs/tagged_email_list_dialog.h"
#include "app/view/big_list_view.h"
#include "app/view/cell_text.h"
#include "app/view/corvane_view.h"
#include "app/view/display_modes.h"
#include "app/view/view_settings.h"
#include "platform/settings_store.h"
#include "support/test_registry.h"
#include "test_main_frame_support.h"
#include "test_view_support.h"
#include "whois/whois_date.h"

using namespace qv;
using qvtest::MakeViewDocument;

const Date kOriginal = Date::FromYmd(2024, 1, 5);

class ViewDialogsTest : public qvtest::WindowTest {
  Q_OBJECT

 private slots:
  void init() { Fresh(); }
  void cleanup() {
    LetGoOfList();
    ReloadExpiryHighlightDays();
  }

  void propertiesShowEveryColumn() {
    auto doc = MakeViewDocument("props.qvl", {"a.com"},
                                {{"a.com", "Expiry Date", kOriginal},
                                 {"a.com", "Registrar", std::string("Example Registrar")},
                                 {"a.com", "GRP_HIVALUEDOMAINS", std::uint8_t(1)},
                                 {"a.com", "GRP_BIZDOMAINS", std::uint8_t(1)}});
    QVERIFY(doc);
    CCorvaneView view(doc.get());
    CDomainPropertiesDialog dialog(*doc, &view, "a.com", 0);
    QCOMPARE(dialog.ValueOf("Registrar"), QStringLiteral("Example Registrar"));
    QCOMPARE(dialog.ValueOf("Registry Expiry"),
             "<#!1>" + ToQString(DateText(kOriginal)) + " <#808080>[Dbl Click to Edit]");
    QCOMPARE(dialog.ValueOf("Created On"), QStringLiteral(" <#808080>[Dbl Click to Edit]"));
    QCOMPARE(dialog.ValueOf("Lock"), QStringLiteral("NO"));
    QCOMPARE(dialog.MemberOfText(), QStringLiteral("Business Domains, Most Important Domains"));
    QCOMPARE(dialog.LastLookupText(), QStringLiteral("Last Lookup: -"));
  }

  // The question shows both dates as the list does; an invalid day clears
  // the date; the day already stored asks nothing and writes nothing.
  void dateEdit_data() {
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("written");
    QTest::addColumn<QDate>("day");
    QTest::newRow("yes") << int(QMessageBox::Yes) << true << QDate(2026, 3, 4);
    QTest::newRow("no") << int(QMessageBox::No) << false << QDate(2026, 3, 4);
    QTest::newRow("cleared") << int(QMessageBox::Yes) << true << QDate();
    QTest::newRow("same day: nothing asked") << int(QMessageBox::Yes) << false << QDate(2024, 1, 5);
  }
  void dateEdit() {
    QFETCH(int, answer);
    QFETCH(bool, written);
    QFETCH(QDate, day);
    const Date picked = day.isValid() ? Date::FromYmd(day.year(), day.month(), day.day()) : Date::Null();
    auto doc = MakeViewDocument("edit.qvl", {"a.com", "b.com"}, {{"b.com", "Expiry Date", kOriginal}});
    QVERIFY(doc);
    CCorvaneView view(doc.get());
    CDomainPropertiesDialog dialog(*doc, &view, "b.com", 1);
    QStringList asked;
    dialog.SetQuestion([&](QWidget*, const QString& text) {
      asked << text;
      return QMessageBox::StandardButton(answer);
    });
    QCOMPARE(dialog.EditDate("Registry Expiry", day), written);
    const bool sameDay = picked == kOriginal;
    QCOMPARE(asked, sameDay ? QStringList{}
                            : QStringList{CDomainPropertiesDialog::DateChangeQuestion(
                                  ToQString(DateText(kOriginal)), ToQString(DateText(picked)))});
    if (!sameDay) QVERIFY(asked[0].startsWith("Are you sure about modifying the date from\r\n"));

    DomainRecord record;
    QVERIFY(doc->Database().ReadRecord("b.com", record));
    QCOMPARE(record.DateValue("Expiry Date"), written ? picked : kOriginal);
    QCOMPARE(record.Locked(), written);
    QCOMPARE(EqualsNoCase(record.Text("Edited"), "yes"), written);
    // The list row shows the lock and the edit mark at once.
    QCOMPARE(view.GetCellText("#", 1), written ? QStringLiteral("<#808080>[2] ~") : QStringLiteral("2"));
    if (day.isValid() && !sameDay)
      QCOMPARE(view.GetCellText("Registry Expiry", 1).contains(ToQString(DateText(picked))), written);
    QCOMPARE(dialog.LockChecked(), written);
    QCOMPARE(dialog.EditedChecked(), written);
    QCOMPARE(dialog.LastLookupText().endsWith(" (edited)"), written);
  }

  void doubleClickPicksOnlyDates() {
    auto doc = MakeViewDocument("pick.qvl", {"a.com"});
    QVERIFY(doc);
    CDomainPropertiesDialog dialog(*doc, nullptr, "a.com", 0);
    QList<Date> offered;
    dialog.SetDatePicker([&](QWidget*, const Date& original) -> std::optional<QDate> {
      offered << original;
      return QDate(2027, 12, 31);
    });
    dialog.SetQuestion([](QWidget*, const QString&) { return QMessageBox::Yes; });
    const int lastUpdate = int(OfferedColumns().indexOf("Last Update"));
    const int registrar = int(OfferedColumns().indexOf("Registrar"));
    QVERIFY(!dialog.EditDateAt(registrar));
    QVERIFY(offered.isEmpty());
    QVERIFY(dialog.EditDateAt(lastUpdate));
    QCOMPARE(offered.size(), 1);
    QVERIFY(offered[0].IsNull());
    DomainRecord record;
    QVERIFY(doc->Database().ReadRecord("a.com", record));
    QCOMPARE(record.DateValue("Last Update"), Date::FromYmd(2027, 12, 31));
  }

  void checkBoxesWriteOnOk() {
    auto doc = MakeViewDocument("boxes.qvl", {"a.com"});
    QVERIFY(doc);
    CDomainPropertiesDialog dialog(*doc, nullptr, "a.com", 0);
    for (QCheckBox* box : dialog.findChildren<QCheckBox*>())
      if (box->text() == QLatin1String("This data is read-only")) box->setChecked(true);
    dialog.accept();
    DomainRecord record;
    QVERIFY(doc->Database().ReadRecord("a.com", record));
    QVERIFY(record.Locked());
  }

  // How a view reads the stored columns: ViewTest::userColumnsReplaceTheDefaults.
  void columnSetup() {
    CDisplayListSetupDialog dialog(kModeDomainStatus);
    const QStringList entries = dialog.Entries();
    QCOMPARE(entries.mid(0, 4), (QStringList{"Registrar", "Status", "Lookedup", "Auth Whois"}));
    QVERIFY(!entries.contains("Domain"));

    dialog.SetChecked("Status", false);
    dialog.SetChecked("IP", true);
    dialog.List()->setCurrentRow(int(entries.indexOf("IP")));
    for (int i = 0; i < 10; ++i) dialog.MoveUp();
    dialog.List()->setCurrentRow(2);  // "Status"
    dialog.MoveDown();
    QCOMPARE(dialog.Entries().mid(0, 4), (QStringList{"IP", "Registrar", "Lookedup", "Status"}));
    dialog.accept();
    QCOMPARE(ColumnsOfMode(kModeDomainStatus),
             (QStringList{"#", "Domain", "IP", "Registrar", "Lookedup", "Auth Whois"}));
  }

  void colorsAndFonts() {
    CCorvaneDoc doc;
    CCorvaneView view(&doc);
    CColorsFontsDialog dialog(view.ListView()->Section());
    dialog.SetRowHeightPercent(220);
    ListLook look = dialog.Look();
    look.rowColor1 = QColor(10, 20, 30);
    dialog.SetLook(look);
    QCOMPARE(dialog.Preview()->RowBackground(1, false), QColor(10, 20, 30));
    // Nothing is stored before OK.
    QCOMPARE(GetProfileInt("Domain List", "Row Height", -1), -1);
    dialog.accept();
    QCOMPARE(GetProfileInt("Domain List", "Row Height", -1), 220);
    QCOMPARE(GetProfileInt("Domain List", "Row Color-1", -1), 10 | (20 << 8) | (30 << 16));
    view.ApplyListSettings();
    QCOMPARE(view.ListView()->Look().rowHeightPercent, 220);
    QCOMPARE(view.ListView()->verticalHeader()->defaultSectionSize(),
             RowHeightPixels(view.ListView()->Look().Font(), 220));
  }

  // Stored trimmed, one address a line; how the list marks them is checked
  // with the cell texts.
  void taggedEmailsAreKept() {
    {
      CTaggedEmailListDialog dialog;
      dialog.SetText("  me@manager.example  \n\n  second@manager.example\r\n");
      dialog.accept();
    }
    QCOMPARE(TaggedEmailList(), (std::vector<std::string>{"me@manager.example", "second@manager.example"}));
    CTaggedEmailListDialog again;
    QCOMPARE(again.Text(), QStringLiteral("me@manager.example\nsecond@manager.example"));
  }

  void expiryDays() {
    auto doc = MakeViewDocument("days.qvl", {"a.com"}, {{"a.com", "Expiry Date", Date::Now().DateOnly().AddDays(40)}});
    QVERIFY(doc);
    CCorvaneView view(doc.get());
    QVERIFY(!view.GetCellText("Registry Expiry", 0).startsWith("<#!1>"));
    CExpiryDateDisplayDialog dialog;
    dialog.SetDays(500);
    QCOMPARE(dialog.Days(), 180);
    dialog.SetDays(45);
    dialog.accept();
    QCOMPARE(GetProfileInt(kSettingsSection, "Expiry Date Highlight", 0), 45);
    view.Refresh();
    QVERIFY(view.GetCellText("Registry Expiry", 0).startsWith("<#!1>"));
  }
};

QV_TEST(ViewDialogsTest)
#include "test_view_dialogs.moc"
