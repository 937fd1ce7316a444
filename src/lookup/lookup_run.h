// A lookup run: the names of a "Lookup All (with options)" run or of an SQL
// lookup filter, fed into the queues a few names per tick with the kinds of
// check the run asks for.
#pragma once

#include <cstddef>
#include <deque>
#include <string>
#include <vector>

namespace qv {

// Which checks a run makes for each name, and the gap of its whois check.
struct LookupRunOptions {
  bool whois = false;
  bool dns = false;
  bool ping = false;
  bool homePage = false;
  bool linkPopularity = false;
  bool trademark = false;
  int gapMinutes = 0;  // whois only: names checked within this many minutes are skipped

  bool Any() const { return whois || dns || ping || homePage || linkPopularity || trademark; }
};

enum class RunSource {
  None,
  List,   // pending names taken from the front
  Query,  // the lookup filter's rows, read by position
};

// Names fed from each source per tick.
inline constexpr int kRunListNamesPerTick = 2;
inline constexpr int kRunQueryNamesPerTick = 3;

struct LookupRun {
  LookupRunOptions options;
  RunSource source = RunSource::None;
  int total = 0;                     // names of the run
  int next = 0;                      // query source: position of the next row
  std::deque<std::string> pending;   // list source: names not yet fed

  // Names still to be fed.
  bool Busy() const {
    return (source == RunSource::List && !pending.empty()) ||
           (source == RunSource::Query && next < total);
  }
  // Names fed so far.
  int Done() const {
    if (source == RunSource::Query) return next;
    return total - int(pending.size());
  }
  void Clear() { *this = LookupRun(); }
};

}  // namespace qv
