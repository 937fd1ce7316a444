// The main list window over a 1,000,000-name document, drawn offscreen: from
// opening the document to the first painted rows, a page of scrolling, a
// jump far down the list, sorting by a column header, every default display
// query (first painted page, whole list, and the whole list read at once as a
// list without a page-first reading takes it), and the time from Cancel to the
// reading's stop.
//
//   bench_listview [COUNT] [HYPHEN_EVERY]
//     COUNT names (default 1000000); one name in HYPHEN_EVERY has a hyphen
//     (default 50; 0: none, so "Hyphen Domains" finds nothing)
#include <QApplication>
#include <QHeaderView>
#include <QScrollBar>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "app/corvane_doc.h"
#include "app/view/big_list_view.h"
#include "app/view/corvane_view.h"
#include "app/view/display_modes.h"
#include "app/view/domain_list_model.h"
#include "platform/app_identity.h"
#include "platform/settings_store.h"
#include "store/add_names.h"
#include "store/database_maintenance.h"
#include "store/domain_list.h"
#include "store/list_query.h"
#include "store/sql_dates.h"
#include "store/sql_queries.h"

namespace {

using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

std::string MakeNames(long count, long hyphenEvery) {
  std::mt19937 rng(7);
  std::string text;
  text.reserve(std::size_t(count) * 16);
  for (long i = 0; i < count; ++i) {
    const int letters = 2 + int(rng() % 12);
    for (int k = 0; k < letters; ++k) text += char('a' + rng() % 26);
    const bool hyphen = hyphenEvery > 0 && i % hyphenEvery == 7 % hyphenEvery;
    if (hyphen) text.insert(text.size() - std::size_t(letters / 2), 1, '-');
    text += std::to_string(i) + ".com\n";
  }
  return text;
}

// The document with every name, a registrar, an expiry date and a status.
bool BuildDocument(const std::string& path, long count, long hyphenEvery) {
  qv::DomainDatabase db;
  const qv::MaintenanceResult made = qv::NewDocument(db, path);
  if (!made.ok) {
    std::fprintf(stderr, "%s\n", made.message.c_str());
    return false;
  }
  const Clock::time_point start = Clock::now();
  const qv::AddNamesReport report = qv::AddNamesFromText(db, MakeNames(count, hyphenEvery));
  if (!report.error.empty() || !db.OpenDomainsTable()) return false;
  const int rc = db.update().ExecuteNative(
      "UPDATE \"Domains\" SET \"Registrar\" = 'Registrar ' || (rowid * 7919 % 500), "
      "\"Status\" = CASE WHEN rowid % 3 = 0 THEN 'free' ELSE 'active' END, "
      "\"Expiry Date\" = date('2024-01-01', '+' || (rowid % 1500) || ' days') || ' 00:00:00', "
      "\"Admin Email\" = 'admin@' || \"Domain\"");
  if (rc != qv::kDbOk) {
    std::fprintf(stderr, "%s\n", db.update().GetLastError().c_str());
    return false;
  }
  db.CloseAll();
  std::printf("document: %zu names with values, built in %.1f s\n", report.added,
              MillisecondsSince(start) / 1000.0);
  return true;
}

struct Stats {
  double mean = 0, max = 0;
};

Stats Summarise(std::vector<double> times) {
  Stats s;
  for (double t : times) {
    s.mean += t;
    s.max = std::max(s.max, t);
  }
  if (!times.empty()) s.mean /= double(times.size());
  return s;
}

// Paints the list now and returns the time it took.
double Paint(CCorvaneView& view) {
  const Clock::time_point t = Clock::now();
  view.ListView()->viewport()->repaint();
  return MillisecondsSince(t);
}

// Serves events until the list is whole.
void WaitForWholeList() {
  while (qv::ListStillReading()) QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
}

// Every default display query: to the first painted page, to the whole list
// (the list keeps growing meanwhile), and the whole list read at once on a
// connection of its own, the way the list was read before it came page first.
void TimeDisplayQueries(CCorvaneDoc& doc, CCorvaneView& view) {
  qv::DatabaseConnection whole;
  whole.OpenDatabase(doc.Database().Path(), true);
  for (const qv::QueryEntry& entry : qv::DefaultQueries(qv::QueryKind::Display)) {
    const Clock::time_point t = Clock::now();
    const bool ok = qv::RunListQuery(doc.Database(), entry.sql);
    Paint(view);
    const double firstPage = MillisecondsSince(t);
    const int firstRows = view.Model()->rowCount();
    WaitForWholeList();
    const double all = MillisecondsSince(t);
    const Clock::time_point w = Clock::now();
    qv::DomainList list;
    list.Load(whole, qv::ExpandQueryText(entry.sql));
    const double atOnce = MillisecondsSince(w);
    std::printf("query %-40s %s first page %7.1f ms (%6d rows)  whole %7.1f ms (%7d rows)  at once %7.1f ms "
                "(%7d rows)\n",
                entry.name.c_str(), ok ? "" : "(failed)", firstPage, firstRows, all, view.Model()->rowCount(),
                atOnce, list.Count());
  }
}

// Cancel while the rest of "All [Unsorted]" is read, some way into it.
void TimeCancel(CCorvaneDoc& doc, CCorvaneView& view) {
  for (int waitMs : {0, 100, 300}) {
    qv::RunListQuery(doc.Database(), qv::AllDomainsQuery());
    const Clock::time_point started = Clock::now();
    while (MillisecondsSince(started) < waitMs && qv::ListStillReading())
      QApplication::processEvents(QEventLoop::AllEvents, 10);
    const bool reading = qv::ListStillReading();
    const int rows = view.Model()->rowCount();
    const Clock::time_point t = Clock::now();
    qv::CancelListReading();
    const double stop = MillisecondsSince(t);
    QApplication::processEvents();
    std::printf("cancel after %3d ms (%s, %7d rows shown): stopped in %.2f ms, list now %d rows\n", waitMs,
                reading ? "reading" : "already whole", rows, stop, view.Model()->rowCount());
  }
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QTemporaryDir dir;
  qputenv("XDG_CONFIG_HOME", (dir.path() + "/config").toLocal8Bit());
  qputenv("XDG_DATA_HOME", (dir.path() + "/data").toLocal8Bit());
  const long count = argc > 1 ? std::atol(argv[1]) : 1000000;
  QApplication app(argc, argv);
  qv::InitApplicationIdentity();
  const std::string path = dir.path().toStdString() + "/listview.qvl";
  const long hyphenEvery = argc > 2 ? std::atol(argv[2]) : 50;
  if (!BuildDocument(path, count, hyphenEvery)) return 1;

  // A tall list over a short whois pane, as a user looking at rows has it.
  qv::WriteProfileInt(qv::kSettingsSection, "Domain List View Top", 900);
  qv::WriteProfileInt(qv::kSettingsSection, "Domain List View Bottom", 100);
  CCorvaneDoc doc;
  CCorvaneView view(&doc);
  view.SetDisplayMode(qv::kModeDomainStatus);
  view.resize(1280, 1000);
  view.show();
  QApplication::processEvents();

  // Opening to the first painted rows.
  const Clock::time_point open = Clock::now();
  QString error;
  if (!doc.Open(QString::fromStdString(path), &error)) {
    std::fprintf(stderr, "%s\n", qPrintable(error));
    return 1;
  }
  const double opened = MillisecondsSince(open);
  Paint(view);
  const double firstPaint = MillisecondsSince(open);
  CBigListView* list = view.ListView();
  const int visibleRows = list->rowAt(list->viewport()->height() - 1) - list->rowAt(0) + 1;
  std::printf("open to first painted rows: %.1f ms (list query %.1f ms), %d rows, %d on screen, row 1: %s\n",
              firstPaint, opened, view.Model()->rowCount(), visibleRows,
              qPrintable(view.GetCellText("Domain", 0)));
  WaitForWholeList();
  std::printf("open to the whole list: %.1f ms, %d rows\n", MillisecondsSince(open), view.Model()->rowCount());

  // A page down at a time, then jumps to random places (cold rows).
  QScrollBar* bar = list->verticalScrollBar();
  std::vector<double> pages, jumps;
  for (int i = 0; i < 50; ++i) {
    const Clock::time_point t = Clock::now();
    bar->setValue(bar->value() + bar->pageStep());
    Paint(view);
    pages.push_back(MillisecondsSince(t));
  }
  std::mt19937 rng(3);
  for (int i = 0; i < 50; ++i) {
    const Clock::time_point t = Clock::now();
    bar->setValue(int(rng() % unsigned(std::max(1, bar->maximum()))));
    Paint(view);
    jumps.push_back(MillisecondsSince(t));
  }
  const Stats page = Summarise(pages), jump = Summarise(jumps);
  std::printf("page of scrolling (%zu pages): mean %.2f ms, max %.2f ms\n", pages.size(), page.mean, page.max);
  std::printf("jump to a random place (%zu jumps): mean %.2f ms, max %.2f ms\n", jumps.size(), jump.mean,
              jump.max);

  // Sorting by column headers, each followed by its paint.
  for (const char* name : {"Registrar", "Registry Expiry", "Domain"}) {
    const int column = view.Model()->ColumnOfName(QString::fromLatin1(name));
    if (column < 0) view.SetDisplayMode(qv::kModeCustomColumns);
    const int col = view.Model()->ColumnOfName(QString::fromLatin1(name));
    const Clock::time_point t = Clock::now();
    const bool sorted = view.SortByColumn(col);
    Paint(view);
    std::printf("sort by %-16s %s %.1f ms, row 1: %s\n", name, sorted ? "" : "(failed)", MillisecondsSince(t),
                qPrintable(qv::DomainListModel().CellText(0, QString::fromLatin1(name))));
  }
  TimeDisplayQueries(doc, view);
  TimeCancel(doc, view);
  return 0;
}
