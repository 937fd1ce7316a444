// The main list view over a real document: display modes and their columns,
// remembered widths, the empty-list texts, sorting by a column header, the
// raw whois pane, row refreshes and the expiry colours on screen.
#include <QHeaderView>
#include <QSignalSpy>
#include <QSplitter>
#include <QTest>

#include "app/view/big_list_view.h"
#include "app/view/corvane_view.h"
#include "app/view/display_modes.h"
#include "app/view/domain_list_model.h"
#include "app/view/raw_whois_pane.h"
#include "lookup/answer_files.h"
#include "platform/settings_store.h"
#include "store/list_modes.h"
#include "store/list_loader.h"
#include "store/list_query.h"
#include "support/test_registry.h"
#include "test_main_frame_support.h"
#include "test_view_support.h"

using namespace qv;
using qvtest::MakeViewDocument;

namespace {

QStringList HeaderNames(const CCorvaneView& view) {
  QStringList names;
  const QAbstractItemModel* model = view.ListView()->model();
  for (int c = 0; c < model->columnCount(); ++c) names << model->headerData(c, Qt::Horizontal).toString();
  return names;
}

QList<int> Widths(const CCorvaneView& view) {
  QList<int> widths;
  for (int c = 0; c < view.ListView()->model()->columnCount(); ++c) widths << view.ListView()->columnWidth(c);
  return widths;
}

}  // namespace

class ViewTest : public qvtest::WindowTest {
  Q_OBJECT

 private slots:
  void init() { Fresh(); }
  void cleanup() { LetGoOfList(); }

  // The mode is stored and comes back with its columns in a new view.
  void modeSwitching_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<QStringList>("columns");
    QTest::newRow("status") << kModeDomainStatus << QStringList{"Registrar", "Status", "Lookedup", "Auth Whois"};
    QTest::newRow("records") << kModeDomainRecords << QStringList{};
    QTest::newRow("unknown command") << 12345 << QStringList{};
  }
  void modeSwitching() {
    QFETCH(int, mode);
    QFETCH(QStringList, columns);
    CCorvaneDoc doc;
    {
      CCorvaneView view(&doc);
      view.SetDisplayMode(mode);
      QCOMPARE(view.DisplayMode(), mode);
      QCOMPARE(HeaderNames(view), QStringList({"#", "Domain"}) + columns);
    }
    CCorvaneView again(&doc);
    QCOMPARE(again.DisplayMode(), mode);
    QCOMPARE(HeaderNames(again), QStringList({"#", "Domain"}) + columns);
  }

  void userColumnsReplaceTheDefaults() {
    WriteProfileInt("LISTDOMSTATUS", "Size", 3);
    WriteProfileString("LISTDOMSTATUS", "Column-1", "IP");
    WriteProfileInt("LISTDOMSTATUS", "Width-1", 90);
    WriteProfileString("LISTDOMSTATUS", "Column-2", "");
    WriteProfileString("LISTDOMSTATUS", "Column-3", "Notes-A");
    WriteProfileString("LISTDOMSTATUS", "Column-4", "Beyond the size");
    CCorvaneDoc doc;
    CCorvaneView view(&doc);
    view.SetDisplayMode(kModeDomainStatus);
    QCOMPARE(HeaderNames(view), (QStringList{"#", "Domain", "IP", "Notes-A"}));
    QCOMPARE(Widths(view), (QList<int>{60, 200, 90, 100}));
    // A stored list with no name in it leaves the defaults.
    WriteProfileString("LISTDOMSTATUS", "Column-1", "");
    WriteProfileString("LISTDOMSTATUS", "Column-3", "");
    view.SetDisplayMode(0);
    QCOMPARE(HeaderNames(view), (QStringList{"#", "Domain", "Registrar", "Status", "Lookedup", "Auth Whois"}));
  }

  void widthsAreRememberedByName() {
    CCorvaneDoc doc;
    CCorvaneView view(&doc);
    view.SetDisplayMode(kModeDomainStatus);
    view.ListView()->setColumnWidth(2, 333);  // Registrar, as a user drags it
    view.ListView()->setColumnWidth(1, 250);
    view.SetDisplayMode(kModeNetworkData);
    QCOMPARE(view.ListView()->columnWidth(1), 250);
    view.SetDisplayMode(kModeDomainStatus);
    QCOMPARE(Widths(view), (QList<int>{60, 250, 333, 120, 120, 120}));
    QCOMPARE(GetProfileInt(kColumnWidthsSection, "Registrar", 0), 333);
  }

  void emptyListTexts() {
    CCorvaneDoc doc;
    CCorvaneView view(&doc);
    QCOMPARE(view.DisplayMode(), kModeImportantDates);
    QCOMPARE(view.ListView()->EmptyText(), QStringLiteral("No domains in list."));
    QCOMPARE(view.WhoisPane()->BodyText(), QString::fromLatin1(kRawWhoisEmptyListText).replace("\r\n", "\n"));
    QVERIFY(doc.CreateNew(qv::ToQString(qvtest::TempPath("empty.qvl").string()), nullptr));
    QCOMPARE(view.ListView()->EmptyText(), QStringLiteral("No domains in list"));
    QVERIFY(AddDomainNames(doc.Database(), {"alpha.com", "beta.com"}).added == 2);
    doc.RefreshList();
    QCOMPARE(view.Model()->rowCount(), 2);
    QVERIFY(ShowListMode(doc.Database(), "0-9"));
    QCOMPARE(view.Model()->rowCount(), 0);
    QCOMPARE(view.ListView()->EmptyText(), QStringLiteral("No domains in filtered list"));
  }

  void whoisPaneFollowsTheSelection() {
    auto doc = MakeViewDocument("pane.qvl", {"alpha.com", "beta.com"});
    QVERIFY(doc);
    QVERIFY(SaveWhoisText("beta.com", "Domain Name: BETA.COM\nRegistrar: Example Registrar\n"
                                      "[Whois Source: whois.example]"));
    CCorvaneView view(doc.get());
    QCOMPARE(view.WhoisPane()->BodyText(), QString::fromLatin1(kRawWhoisNoSelectionText));
    view.SelectName("BETA.com");
    QCOMPARE(view.CurrentName(), QStringLiteral("beta.com"));
    QCOMPARE(view.SelectedNames(), QStringList{"beta.com"});
    QCOMPARE(view.WhoisPane()->HeadingText(), QStringLiteral("Raw Whois Data for beta.com"));
    QVERIFY(view.WhoisPane()->BodyText().contains("Registrar: Example Registrar"));
    // A kept RDAP answer is shown indented, its footer kept.
    QVERIFY(SaveWhoisText("alpha.com", R"({"objectClassName":"domain","ldhName":"ALPHA.COM"})"
                                       "\n[Whois Source: 127.0.0.1:8443]"));
    view.SelectName("alpha.com");
    QCOMPARE(view.WhoisPane()->HeadingText(), QStringLiteral("Raw Whois Data for alpha.com"));
    QCOMPARE(view.WhoisPane()->BodyText(), QStringLiteral("{\n    \"ldhName\": \"ALPHA.COM\",\n"
                                                          "    \"objectClassName\": \"domain\"\n}\n"
                                                          "[Whois Source: 127.0.0.1:8443]"));
    QCOMPARE(view.AllShownNames(), (QStringList{"alpha.com", "beta.com"}));
  }

  // A list longer than a page shows its first page and grows to the whole
  // list while the user works in it: the selection stays.
  void longListGrowsUnderTheSelection() {
    std::vector<std::string> names;
    for (int i = 0; i < 3 * ListLoader::kFirstPageRows; ++i) names.push_back("name" + std::to_string(10000 + i) + ".com");
    auto doc = MakeViewDocument("long.qvl", names);
    QVERIFY(doc);
    CCorvaneView view(doc.get());
    QVERIFY(ListStillReading());
    QVERIFY(view.Model()->rowCount() > 0 && view.Model()->rowCount() < int(names.size()));
    view.SelectRow(0);
    QSignalSpy inserted(view.Model(), &QAbstractItemModel::rowsInserted);
    QSignalSpy reset(view.Model(), &QAbstractItemModel::modelReset);
    QSignalSpy completed(doc.get(), &CCorvaneDoc::listCompleted);
    QTRY_VERIFY_WITH_TIMEOUT(!ListStillReading(), 20000);
    QCOMPARE(view.Model()->rowCount(), int(names.size()));
    QVERIFY(!inserted.isEmpty());
    QCOMPARE(reset.count(), 0);
    QCOMPARE(completed.count(), 1);
    QCOMPARE(view.SelectedNames(), QStringList{"name10000.com"});
    QCOMPARE(view.AllShownNames().last(), QString::fromStdString(names.back()));
  }

  // A query that finds no row for a while: the list and the pane do not say
  // the document is empty while it reads; a cancelled reading says the
  // filtered list is empty.
  void queryWithoutRowsYet() {
    auto doc = MakeViewDocument("slow.qvl", {"alpha.com"});
    QVERIFY(doc);
    CCorvaneView view(doc.get());
    QVERIFY(RunListQuery(doc->Database(), "WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM n) "
                                          "SELECT 'name' & x & '.com' AS Domain FROM n WHERE x < 0"));
    QVERIFY(ListStillReading());
    QCOMPARE(view.ListView()->EmptyText(), QStringLiteral("Reading the list..."));
    QCOMPARE(view.WhoisPane()->BodyText(), QString::fromLatin1(kRawWhoisNoSelectionText));
    CancelListReading();
    QCOMPARE(view.ListView()->EmptyText(), QStringLiteral("No domains in filtered list"));
    QCOMPARE(view.WhoisPane()->BodyText(), QString::fromLatin1(kRawWhoisEmptyListText).replace("\r\n", "\n"));
  }

  void headerClickSortsThroughTheListQuery() {
    auto doc = MakeViewDocument("sort.qvl", {"a.com", "b.com", "c.com"},
                                {{"a.com", "Registrar", std::string("Zeta")},
                                 {"b.com", "Registrar", std::string("Alpha")},
                                 {"c.com", "Registrar", std::string("Mu")}});
    QVERIFY(doc);
    CCorvaneView view(doc.get());
    view.SetDisplayMode(kModeDomainStatus);
    const int registrar = view.Model()->ColumnOfName("Registrar");
    QTest::mouseClick(view.ListView()->horizontalHeader()->viewport(), Qt::LeftButton, {},
                      QPoint(view.ListView()->horizontalHeader()->sectionViewportPosition(registrar) + 5, 5));
    QCOMPARE(view.AllShownNames(), (QStringList{"b.com", "c.com", "a.com"}));
    QCOMPARE(view.ListView()->SortMarkerColumn(), registrar);
    QVERIFY(view.ListView()->horizontalHeader()->isSortIndicatorShown());
    QCOMPARE(view.ListView()->horizontalHeader()->sortIndicatorOrder(), Qt::AscendingOrder);

    // A second click on the column turns the order round.
    QVERIFY(view.SortByColumn(registrar));
    QCOMPARE(view.AllShownNames(), (QStringList{"a.com", "c.com", "b.com"}));
    QCOMPARE(view.ListView()->horizontalHeader()->sortIndicatorOrder(), Qt::DescendingOrder);

    // The row-number column names no field: nothing changes.
    QVERIFY(!view.SortByColumn(0));
    QCOMPARE(view.AllShownNames(), (QStringList{"a.com", "c.com", "b.com"}));
    QCOMPARE(view.ListView()->SortMarkerColumn(), registrar);

    // A list mode orders by name and the marker goes.
    QVERIFY(ShowListMode(doc->Database(), "*"));
    QCOMPARE(view.ListView()->SortMarkerColumn(), -1);
    QVERIFY(!view.ListView()->horizontalHeader()->isSortIndicatorShown());
  }

  void refreshRowShowsTheWrittenRecord() {
    auto doc = MakeViewDocument("refresh.qvl", {"a.com", "b.com"});
    QVERIFY(doc);
    CCorvaneView view(doc.get());
    view.SetDisplayMode(kModeDomainStatus);
    QCOMPARE(view.GetCellText("Registrar", 1), QString());
    QVERIFY(qvtest::EditRecord(doc->Database(), "b.com", [](DomainRecord& r) {
      r.SetText("Registrar", "Example Registrar");
      r.SetLocked(true);
    }));
    emit doc->recordChanged("B.COM");
    QCOMPARE(view.GetCellText("Registrar", 1), QStringLiteral("Example Registrar"));
    QCOMPARE(view.GetCellText("#", 1), QStringLiteral("<#808080>[2]"));
  }

  // With the default 30 days, an expiry 10 days ahead and one already past are
  // drawn in "Text Color-1"; one 40 days ahead in the normal colour.
  void expiryHighlightOnScreen() {
    const Date today = Date::Now().DateOnly();
    auto doc = MakeViewDocument("expiry.qvl", {"a.com", "b.com", "c.com"},
                                {{"a.com", "Expiry Date", today.AddDays(10)},
                                 {"b.com", "Expiry Date", today.AddDays(-1)},
                                 {"c.com", "Expiry Date", today.AddDays(40)}});
    QVERIFY(doc);
    CCorvaneView view(doc.get());
    view.resize(900, 700);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    CBigListView* list = view.ListView();
    const int column = view.Model()->ColumnOfName("Registry Expiry");
    const auto grab = [list] { return list->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32); };
    const auto cell = [&](int row) { return list->visualRect(view.Model()->index(row, column)); };
    const auto back = [](const QImage& image, const QRect& r) { return image.pixelColor(r.left() + 1, r.top() + 1); };
    const QImage image = grab();
    const QColor red = list->Look().textColor1, normal = list->Look().FontColor();
    for (int row = 0; row < 3; ++row) {
      const int reds = qvtest::CountColour(image, red, cell(row));
      const int normals = qvtest::CountColour(image, normal, cell(row));
      QVERIFY2(row < 2 ? reds > 10 && normals == 0 : reds == 0 && normals > 10, qPrintable(QString::number(row)));
      // The row backgrounds: "Row Color-2" for the first, "Row Color-1" for the second.
      QCOMPARE(back(image, cell(row)), row % 2 == 0 ? list->Look().rowColor2 : list->Look().rowColor1);
    }

    // A selected row turns the marked date cyan; a marked row has "Row Color-3".
    view.SelectRow(0);
    list->SetMarkedRows({2});
    const QImage again = grab();
    QVERIFY(qvtest::CountColour(again, kSelectedMarkColor, cell(0)) > 10);
    QCOMPARE(qvtest::CountColour(again, red, cell(0)), 0);
    QCOMPARE(back(again, cell(0)), list->palette().color(QPalette::Active, QPalette::Highlight));
    QCOMPARE(back(again, cell(2)), list->Look().rowColor3);
  }

  void lookComesFromTheDomainListSection() {
    WriteProfileInt("Domain List", "Row Height", 200);
    WriteProfileInt("Domain List", "Row Color-2", 0x00FF00);  // green, as the platform stores it
    WriteProfileString("Domain List", "Font lfFaceName", "DejaVu Serif");
    WriteProfileInt("Domain List", "Font lfHeight", -20);
    auto doc = MakeViewDocument("look.qvl", {"a.com"});
    QVERIFY(doc);
    CCorvaneView view(doc.get());
    const ListLook& look = view.ListView()->Look();
    QCOMPARE(look.rowColor2, QColor(0, 255, 0));
    QCOMPARE(look.Font().family(), QStringLiteral("DejaVu Serif"));
    QCOMPARE(look.Font().pixelSize(), 20);
    QCOMPARE(look.Font().weight(), 800);
    const QFontMetrics metrics(look.Font());
    QCOMPARE(view.ListView()->verticalHeader()->defaultSectionSize(), (metrics.height() + metrics.leading() + 1) * 2);
  }

  void paneHeightsComeFromTheSettings() {
    WriteProfileInt(kSettingsSection, "Domain List View Top", 150);
    WriteProfileInt(kSettingsSection, "Domain List View Bottom", 350);
    CCorvaneDoc doc;
    CCorvaneView view(&doc);
    view.resize(600, 500 + view.Splitter()->handleWidth());
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    // The stored heights give the shares of the height the view has.
    QTRY_VERIFY2(qAbs(view.Splitter()->sizes()[0] * 350 - view.Splitter()->sizes()[1] * 150) <= 2000,
                 qPrintable(QString::number(view.Splitter()->sizes()[0])));
  }
};

QV_TEST(ViewTest)
#include "test_view.moc"
