// How many RDAP answers per second one core reads, and how many fields of the
// real answers come out as their expected.json says. Every real answer, with
// the source footer a lookup adds, goes through the reader that the record
// update uses, many times over.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <cstdio>
#include <string>
#include <vector>

#include "support/rdap_expected.h"
#include "whois/rdap_answer.h"
#include "whois/whois_fields.h"

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const std::vector<qvtest::RdapCase> cases =
      qvtest::LoadRdapCases(QStringLiteral(QV_TEST_DATA_DIR "/rdap-answers"));
  if (cases.empty()) {
    std::fprintf(stderr, "bench_rdap: no answers under %s\n", QV_TEST_DATA_DIR "/rdap-answers");
    return 1;
  }

  int fields = 0, right = 0;
  for (const qvtest::RdapCase& c : cases) {
    const qv::RdapReading reading = qv::ReadRdapAnswer(c.answer.toStdString());
    int compared = 0;
    const QStringList wrong = qvtest::RdapFieldMismatches(reading.answer, c.expected, &compared);
    fields += compared;
    right += compared - int(wrong.size());
    if (!wrong.isEmpty())
      std::printf("  %s: wrong %s\n", qPrintable(c.name), qPrintable(wrong.join(QLatin1String(", "))));
  }
  std::printf("rdap accuracy: %d of %d fields (%.1f%%) over %zu answers\n", right, fields,
              100.0 * right / fields, cases.size());

  std::vector<std::string> stored;
  std::size_t bytes = 0;
  for (const qvtest::RdapCase& c : cases) {
    stored.push_back(c.answer.toStdString() + "\n[Whois Source: rdap.example]");
    bytes += stored.back().size();
  }
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 2000;
  QElapsedTimer timer;
  timer.start();
  std::size_t taken = 0;
  for (int r = 0; r < rounds; ++r)
    for (const std::string& s : stored) taken += qv::ParseWhoisFields(s).availability == "TAKEN";
  const double seconds = double(timer.nsecsElapsed()) / 1e9;
  const double answers = double(rounds) * double(stored.size());
  std::printf("rdap read: %.0f answers in %.3f s = %.0f answers/s (%.1f MB/s; average answer %zu bytes; %zu taken)\n",
              answers, seconds, answers / seconds, double(bytes) * rounds / seconds / 1e6,
              bytes / stored.size(), taken);
  return 0;
}
