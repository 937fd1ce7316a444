// Name generation figures: template words counted and written per second
// (one core) and the memory they take, a whole keyword set against a
// 30-entry TLD list, and the seven filters and the loading of the Domain
// Name Filter over 1,000,000 names, in the core and in the tool's window,
// and what is left added to a new document.
//
//   bench_namegen [NAMES]   (default 1000000; runs offscreen)
#include <QApplication>
#include <QFileInfo>
#include <QLineEdit>
#include <QSpinBox>
#include <QTemporaryDir>
#include <sys/resource.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "bench_support.h"
#include "app/cli/line_writer.h"
#include "app/dialogs/domain_name_filter_dialog.h"
#include "namegen/builtin_word_lists.h"
#include "namegen/keyword_names.h"
#include "namegen/name_emitter.h"
#include "namegen/name_filter.h"
#include "namegen/name_template.h"
#include "namegen/word_set.h"
#include "platform/app_identity.h"
#include "store/add_names.h"
#include "store/database_maintenance.h"

namespace {

using namespace qvbench;

using namespace qv;
long MaxRssMb() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss / 1024;
}

void BenchTemplates() {
  std::atomic<bool> abort{false};
  for (const char* text : {"?????", "&&&&&&web"}) {
    const NameTemplate tmpl(text);
    const auto start = Clock::now();
    const std::uint64_t words = WalkTemplate(tmpl, abort);
    const double s = SecondsSince(start);
    std::printf("template %-10s counted  %11llu words in %6.3f s: %6.1f M words/s, max RSS %ld MB\n", text,
                (unsigned long long)words, s, double(words) / s / 1e6, MaxRssMb());
  }
  // Written as `quorvel names template` writes them: each word joined to a
  // domain, one a line, to /dev/null.
  {
    const NameTemplate tmpl("?????");
    std::FILE* null = std::fopen("/dev/null", "wb");
    const auto start = Clock::now();
    {
      cli::LineWriter out(null);
      NameEmitter emitter({"com"});
      TemplateCursor cursor(tmpl, 0);
      for (std::uint64_t i = 0; i < tmpl.Count(); ++i, cursor.Next())
        emitter.Emit(cursor.Word(), [&out](std::string_view name) { out.Line(name); });
    }
    std::fclose(null);
    const double s = SecondsSince(start);
    std::printf("template ?????.com  written  %11llu names in %6.3f s: %6.1f M names/s, max RSS %ld MB\n",
                (unsigned long long)tmpl.Count(), s, double(tmpl.Count()) / s / 1e6, MaxRssMb());
  }
  // Abort from another thread while a 308,915,776-word run goes on, and how
  // often progress was reported.
  {
    const NameTemplate big("&&&&&&web");
    std::atomic<bool> stop{false};
    std::atomic<int> reports{0};
    Clock::time_point stopped;
    std::uint64_t made = 0;
    const auto begun = Clock::now();
    std::thread worker([&] { made = WalkTemplate(big, stop, [&](std::uint64_t) { ++reports; }); });
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    stopped = Clock::now();
    stop = true;
    worker.join();
    std::printf("template abort: run stopped %.2f ms after the request (%llu words made), %d progress "
                "reports in %.2f s\n",
                SecondsSince(stopped) * 1000, (unsigned long long)made, reports.load(), SecondsSince(begun));
  }
  // Any word of a huge template straight from its index.
  const NameTemplate huge("????????????");
  const auto at = Clock::now();
  std::string word;
  for (std::uint64_t i = 0; i < 1'000'000; ++i) huge.WordAt(i * 4'738'381'338'321ULL, word);
  std::printf("template 12 x ?     1,000,000 words by index in %.3f s (last %s)\n", SecondsSince(at),
              word.c_str());
}

void BenchKeywords() {
  std::vector<std::string> tlds;
  for (int i = 0; i < 30; ++i) tlds.push_back("t" + std::to_string(i));
  for (const char* set : {"software", "web design", "animals"}) {
    const WordBoxes boxes = WordBoxesFromSetText(*BuiltinWordList(set));
    const std::vector<std::string> s = SplitWordLines(boxes.startWords), e = SplitWordLines(boxes.endWords);
    const KeywordOptions options{true, false, false, false};
    constexpr int kRounds = 50;
    std::size_t names = 0;
    const auto start = Clock::now();
    for (int r = 0; r < kRounds; ++r) names = GenerateKeywordNames("keyword", s, e, options, tlds).names.size();
    std::printf("keywords, set %-11s x 30 TLDs, hyphens: %6zu names in %6.3f ms\n", set, names,
                SecondsSince(start) * 1000 / kRounds);
  }
}

std::string MakeNames(long count) {
  static const char* const kTlds[] = {"com", "net", "org", "de", "co.uk", "io", "info"};
  std::mt19937 rng(20261206);
  std::string text;
  for (long i = 0; i < count; ++i) {
    static const char* const kWords[] = {"web", "net", "zone", "shop", "mart", "hub", "", "", "", ""};
    const int letters = 3 + int(rng() % 14);
    for (int k = 0; k < letters; ++k) text += char("abcdefghijklmnopqrstuvwxyz-0123456789"[rng() % 37]);
    text += kWords[rng() % 10];
    text += '.';
    text += kTlds[rng() % 7];
    text += "\r\n";
  }
  return text;
}

const NameFilter kFilters[] = {
    {FilterKind::StartWords, "ab, cd, ef, my", 0}, {FilterKind::EndWords, "web;net;zone;shop", 0},
    {FilterKind::MiddleWords, "web mart zone", 0}, {FilterKind::Chars, "-qxy", 0},
    {FilterKind::LongerThan, "", 16},              {FilterKind::ShorterThan, "", 12},
    {FilterKind::Tld, "co.uk", 0}};
const char* const kFilterNames[] = {"start words", "end words", "words anywhere", "characters",
                                    "longer than", "shorter than", "TLD"};

void BenchFilterCore(const std::string& path, long count) {
  auto start = Clock::now();
  std::ifstream in(path, std::ios::binary);
  const std::string text((std::istreambuf_iterator<char>(in)), {});
  std::vector<std::string> names;
  AppendNamesFromText(names, text);
  std::printf("filter core: loading a %ld-line file (%.1f MB): %.3f s\n", count, double(text.size()) / 1e6,
              SecondsSince(start));
  for (std::size_t i = 0; i < std::size(kFilters); ++i) {
    start = Clock::now();
    const std::size_t matched = MatchingRows(names, kFilters[i]).size();
    std::printf("filter core: %-14s %7zu of %zu names in %6.1f ms\n", kFilterNames[i], matched, names.size(),
                SecondsSince(start) * 1000);
  }
  std::vector<bool> every3rd(names.size());
  for (std::size_t i = 0; i < names.size(); i += 3) every3rd[i] = true;
  std::vector<std::string> copy = names;
  start = Clock::now();
  GroupRows(copy, every3rd);
  std::printf("filter core: group a third   in %6.1f ms\n", SecondsSince(start) * 1000);
  start = Clock::now();
  DeleteRows(copy, every3rd);
  std::printf("filter core: delete a third  in %6.1f ms\n", SecondsSince(start) * 1000);
}

// The tool itself: the file loaded, each filter with the selection made in
// the view, Group and Delete Selected.
void BenchFilterWindow(const QString& path) {
  CDomainNameFilterDialog dialog;
  dialog.StartWords()->setText(QString::fromStdString(kFilters[0].text));
  dialog.EndWords()->setText(QString::fromStdString(kFilters[1].text));
  dialog.MiddleWords()->setText(QString::fromStdString(kFilters[2].text));
  dialog.CharList()->setText(QString::fromStdString(kFilters[3].text));
  dialog.MaxChars()->setValue(kFilters[4].bound);
  dialog.MinChars()->setValue(kFilters[5].bound);
  dialog.Tld()->setText(QString::fromStdString(kFilters[6].text));
  auto start = Clock::now();
  dialog.AddFile(path);
  std::printf("filter window: loading %zu names: %.3f s\n", dialog.Names().size(), SecondsSince(start));
  for (std::size_t i = 0; i < std::size(kFilters); ++i) {
    start = Clock::now();
    dialog.ApplyFilter(kFilters[i].kind);
    std::printf("filter window: %-14s selected %7zu in %6.1f ms\n", kFilterNames[i], dialog.SelectedRows().size(),
                SecondsSince(start) * 1000);
  }
  start = Clock::now();
  dialog.OnInvert();
  std::printf("filter window: invert in %.1f ms\n", SecondsSince(start) * 1000);
  start = Clock::now();
  dialog.OnGroupSelected();
  std::printf("filter window: group selected in %.1f ms\n", SecondsSince(start) * 1000);
  start = Clock::now();
  dialog.OnDeleteSelected();
  std::printf("filter window: delete selected in %.1f ms (%zu names left)\n", SecondsSince(start) * 1000,
              dialog.Names().size());

  // What is left goes to a new document, as Transfer does.
  DomainDatabase db;
  const std::string doc = QFileInfo(path).absolutePath().toStdString() + "/filtered.qvl";
  if (!NewDocument(db, doc).ok) return;
  std::size_t added = 0;
  dialog.requireDocument = [] { return true; };
  dialog.addNames = [&](const std::vector<std::string>& names) { added += AddDomainNames(db, names).added; };
  start = Clock::now();
  dialog.OnTransfer();
  std::printf("filter window: transfer to the document: %zu names added in %.3f s\n", added, SecondsSince(start));
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QTemporaryDir dir;
  UseTemporaryHome(dir);
  QApplication app(argc, argv);
  qv::InitApplicationIdentity();
  const long count = Arg(argc, argv, 1, 1000000);

  BenchTemplates();
  BenchKeywords();
  const std::string path = dir.path().toStdString() + "/names.txt";
  std::ofstream(path, std::ios::binary) << MakeNames(count);
  BenchFilterCore(path, count);
  BenchFilterWindow(QString::fromStdString(path));
  return 0;
}
