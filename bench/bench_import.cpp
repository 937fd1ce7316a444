// Importing 1,000,000 distinct names from a text file into a new document,
// against the sqlite3 command-line shell inserting the same names into a
// table with the same unique, case-blind index, both timed in this run.
//
//   bench_import [COUNT [ROUNDS]]   (defaults 1000000 and 2; needs /usr/bin/sqlite3)
#include <QCoreApplication>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <filesystem>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

#include "bench_support.h"
#include "platform/app_identity.h"
#include "store/add_names.h"
#include "store/database_connection.h"
#include "store/database_maintenance.h"

namespace {

using namespace qvbench;

// Distinct names of 8 to 30 characters: random letters with the number of
// the name worked in, so no two are alike in any capitalisation.
std::string MakeNames(long count) {
  static const char* const kTlds[] = {"com", "net", "org", "de", "co.uk", "io", "info"};
  std::mt19937 rng(20261205);
  std::string text;
  text.reserve(std::size_t(count) * 22);
  for (long i = 0; i < count; ++i) {
    const int letters = 2 + int(rng() % 12);
    for (int k = 0; k < letters; ++k) text += char((rng() % 3 == 0 ? 'A' : 'a') + rng() % 26);
    text += std::to_string(i);
    text += '.';
    text += kTlds[rng() % 7];
    text += '\n';
  }
  return text;
}

std::string ShellQuote(const std::string& s) { return "'" + s + "'"; }

// The shell: one table, the unique case-blind index, .import of the file.
// Seconds, or -1 when the shell failed or stored another number of rows.
double TimeShell(const std::string& root, const std::string& namesPath, const std::string& tag) {
  const std::string shellDb = root + "/shell" + tag + ".db";
  const std::string script = root + "/import.sql";
  std::ofstream(script) << ".output /dev/null\nPRAGMA journal_mode=WAL;\n.output stdout\n"
                           "CREATE TABLE [Domains] ([Domain] TEXT(68) COLLATE NOCASE);\n"
                           "CREATE UNIQUE INDEX [DomainIndex] ON [Domains] ([Domain] COLLATE NOCASE);\n"
                           ".import " + namesPath + " Domains\n"
                           "SELECT count(*) FROM [Domains];\n";
  const std::string outPath = root + "/shell.out";
  const std::string command = "/usr/bin/sqlite3 " + ShellQuote(shellDb) + " < " + ShellQuote(script) +
                              " > " + ShellQuote(outPath);
  const Clock::time_point start = Clock::now();
  const int status = std::system(command.c_str());
  const double seconds = SecondsSince(start);
  std::ifstream out(outPath);
  long rows = -1;
  out >> rows;
  if (status != 0) {
    std::fprintf(stderr, "sqlite3 shell failed (%d)\n", status);
    return -1;
  }
  std::printf("  sqlite3 shell stored %ld rows\n", rows);
  std::filesystem::remove(shellDb);
  return seconds;
}

// This program: read the file, create the document, add every name.
double TimeImport(const std::string& root, const std::string& namesPath, const std::string& tag, long count) {
  const std::string docPath = root + "/import" + tag + ".qvl";
  const Clock::time_point start = Clock::now();
  std::ifstream in(namesPath, std::ios::binary);
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  qv::DomainDatabase db;
  const qv::MaintenanceResult made = qv::NewDocument(db, docPath);
  if (!made.ok) {
    std::fprintf(stderr, "%s\n", made.message.c_str());
    return -1;
  }
  const qv::AddNamesReport report = qv::AddNamesFromText(db, text);
  db.CloseAll();
  const double seconds = SecondsSince(start);
  if (!report.error.empty() || long(report.added) != count) {
    std::fprintf(stderr, "import: %zu added, error '%s'\n", report.added, report.error.c_str());
    return -1;
  }
  std::printf("  quorvel added %zu names\n", report.added);
  std::filesystem::remove(docPath);
  return seconds;
}

}  // namespace

int main(int argc, char** argv) {
  QTemporaryDir dir;
  UseTemporaryHome(dir);
  QCoreApplication app(argc, argv);
  qv::InitApplicationIdentity();
  const long count = Arg(argc, argv, 1, 1000000);
  const std::string root = dir.path().toStdString();
  const std::string namesPath = root + "/names.txt";

  {
    const std::string names = MakeNames(count);
    std::ofstream(namesPath, std::ios::binary).write(names.data(), std::streamsize(names.size()));
  }
  std::printf("names: %ld distinct, file %s\n", count, namesPath.c_str());

  // Each side runs `rounds` times, alternately, into fresh files; the machine
  // may be busy with other work, so the best time of each side is compared.
  const int rounds = std::max(1, int(Arg(argc, argv, 2, 2)));
  double bestShell = 1e300, bestOurs = 1e300;
  for (int round = 1; round <= rounds; ++round) {
    const std::string tag = std::to_string(round);
    const double shell = TimeShell(root, namesPath, tag);
    if (shell < 0) return 1;
    const double ours = TimeImport(root, namesPath, tag, count);
    if (ours < 0) return 1;
    std::printf("round %d: sqlite3 shell .import %8.3f s, quorvel import %8.3f s, ratio %.2f\n", round, shell,
                ours, ours / shell);
    bestShell = std::min(bestShell, shell);
    bestOurs = std::min(bestOurs, ours);
  }
  std::printf("sqlite3 shell .import:   %8.3f s  (best of %d)\n", bestShell, rounds);
  std::printf("quorvel import:          %8.3f s  (best of %d)\n", bestOurs, rounds);
  std::printf("ratio quorvel / shell:   %8.2f  (target <= 1.5)\n", bestOurs / bestShell);
  return 0;
}
