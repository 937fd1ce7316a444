// Importing traffic ranks: a ranking list of "rank,domain" lines (the public
// top-site lists of research projects, up to a million lines) gives each
// listed name of the document its rank in `Alexa Rank`, with the time of the
// import in `SitePop Checked At`. Names the list does not hold keep what they
// had. The whole import is one transaction: it is stored entirely or not at
// all (a cancel or a failure changes nothing).
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/date.h"
#include "store/add_names.h"

namespace qv {

struct TrafficRanksReport {
  std::size_t ranked = 0;         // names of the document given a rank
  std::size_t notInDocument = 0;  // listed names the document does not hold
  std::size_t duplicates = 0;     // names listed again (the best rank is kept)
  std::size_t badLines = 0;       // lines that are not "rank,domain"
  std::vector<std::size_t> firstBadLines;  // their numbers (1-based), the first few
  bool header = false;            // the first line was a header and was skipped
  bool cancelled = false;         // nothing was stored
  std::string error;              // set when nothing could be stored
  // Lines that were read as a rank and a name.
  std::size_t Listed() const { return ranked + notInDocument + duplicates; }
};

// How many bad line numbers a report keeps.
inline constexpr std::size_t kBadLinesShown = 5;
// The highest usable rank (the field holds a 32-bit number).
inline constexpr std::int64_t kMaxTrafficRank = 2147483647;

// Called now and then with how far the reading is (bytes of the file; total 0
// when unknown). Returning false cancels.
using TrafficRanksProgress = std::function<bool(std::size_t done, std::size_t total)>;

// One line of a ranking list: its rank and name, or nothing when the line is
// not "rank,domain" (blanks around either part and quotes around either are
// allowed; the name as the document would store it).
struct RankLine {
  std::int32_t rank = 0;
  std::string_view name;
};
std::optional<RankLine> ParseRankLine(std::string_view line);

// Reads the list piece by piece and stores the ranks. The shown list is not
// run again: the caller redraws what it shows.
TrafficRanksReport ImportTrafficRanks(DomainDatabase& db, const ReadNamesChunk& read, std::size_t totalBytes,
                                      const Date& checkedAt, const TrafficRanksProgress& progress = {});

// The lines that tell the user what an import did ("\r\n" between lines).
std::string TrafficRanksReportText(const TrafficRanksReport& report);

}  // namespace qv
