#include "store/traffic_ranks.h"

#include <sqlite3.h>

#include <algorithm>

#include "platform/ascii.h"
#include "platform/host_name.h"
#include "store/domain_fields.h"
#include "store/name_text.h"

namespace qv {
namespace {

constexpr std::string_view kBlanks = " \t\r";
// A "line" longer than this is no line of a ranking list (a file that is not
// text): it is counted bad once and skipped up to its end.
constexpr std::size_t kMaxLineLength = 4096;

std::string_view Trimmed(std::string_view s) {
  const std::size_t b = s.find_first_not_of(kBlanks);
  if (b == std::string_view::npos) return {};
  return s.substr(b, s.find_last_not_of(kBlanks) - b + 1);
}

std::string_view Unquoted(std::string_view s) {
  s = Trimmed(s);
  if (s.size() >= 2 && s.front() == '"' && s.back() == '"') s = Trimmed(s.substr(1, s.size() - 2));
  return s;
}

std::optional<std::int32_t> Rank(std::string_view text) {
  if (text.empty() || text.size() > 10) return std::nullopt;
  std::int64_t n = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    n = n * 10 + (c - '0');
  }
  if (n < 1 || n > kMaxTrafficRank) return std::nullopt;
  return std::int32_t(n);
}

// The writing side. The listed names are gathered first and sorted, so that
// each name is written once with its best rank and the name index is walked
// in order (far fewer pages touched than in the list's own order); then one
// prepared UPDATE keyed on the name, all in one transaction.
class RankWriter {
 public:
  RankWriter(DomainDatabase& db, TrafficRanksReport& report) : db_(db), report_(report) {}

  bool Start(const Date& checkedAt) {
    if (db_.IsReadOnly()) return Fail(kReadOnlyDocumentText);
    if (!db_.OpenDomainsTable()) return Fail(db_.update().GetLastError());
    DatabaseConnection& c = db_.update();
    update_ = c.PrepareNative("UPDATE " + QuoteName("Domains") + " SET " + QuoteName(field::kAlexaRank) + " = ?1, " +
                                  QuoteName(field::kSitePopCheckedAt) + " = ?2 WHERE " + QuoteName(field::kDomain) +
                                  " = ?3 COLLATE NOCASE",
                              "Importing Traffic Ranks");
    if (!update_) return Fail(c.GetLastError());
    update_.BindValue(2, FieldValue(checkedAt));
    // Room for the name index and the rows being changed; in write-ahead
    // mode a commit not synced at once still survives a crash of the program.
    savedPragmas_ = "PRAGMA cache_size = " + PragmaValue("cache_size", "-2000") +
                    "; PRAGMA synchronous = " + PragmaValue("synchronous", "2");
    c.ExecuteNative("PRAGMA cache_size = -131072; PRAGMA synchronous = NORMAL");
    if (c.Begin() != kDbOk) return Fail(c.GetLastError());
    return true;
  }

  // Names compare as the name index compares them (ASCII letters without
  // regard to case), so the lower-case form is the key.
  bool Store(const RankLine& line) {
    entries_.push_back({ToLowerAscii(line.name), line.rank, false});
    return true;
  }

  // Writes the gathered ranks; `tick` (done, total) is asked now and then
  // whether to go on.
  bool Apply(const std::function<bool(std::size_t, std::size_t)>& tick) {
    std::sort(entries_.begin(), entries_.end(), [](const Entry& a, const Entry& b) {
      const int order = a.key.compare(b.key);
      return order < 0 || (order == 0 && a.rank < b.rank);
    });
    std::vector<std::size_t> bareLater, otherFormLater;
    const std::size_t n = entries_.size();
    for (std::size_t i = 0, groups = 0; i < n; ++groups) {
      if ((groups & 0xFFF) == 0 && tick && !tick(i, n)) return false;
      std::size_t next = i + 1;
      while (next < n && entries_[next].key == entries_[i].key) ++next;
      // Listed more than once: the best (lowest) rank, which sorts first.
      report_.duplicates += next - i - 1;
      Entry& e = entries_[i];
      const std::optional<bool> changed = Update(e.rank, e.key);
      if (!changed) return false;
      e.matched = *changed;
      if (*changed)
        ++report_.ranked;
      else if (e.key.starts_with("www.") && StorableDomainName(std::string_view(e.key).substr(4)))
        bareLater.push_back(i);
      else if (!OtherIdnForm(e.key).empty())
        otherFormLater.push_back(i);
      else
        ++report_.notInDocument;
      i = next;
    }
    for (std::size_t at : bareLater)
      if (!StoreUnder(entries_[at], std::string_view(entries_[at].key).substr(4))) return false;
    // An international name listed in one form (A-labels, say) and stored in
    // the other.
    for (std::size_t at : otherFormLater)
      if (!StoreUnder(entries_[at], OtherIdnForm(entries_[at].key))) return false;
    return true;
  }

  // Commits, or (cancelled, failed) rolls everything back.
  void Finish(bool keep) {
    DatabaseConnection& c = db_.update();
    update_ = Statement();
    if (c.InTransaction()) {
      if (!keep || c.Commit() != kDbOk) {
        if (keep) Fail(c.GetLastError());
        c.Rollback();
        report_.ranked = 0;
      }
    }
    if (c.IsOpen() && !savedPragmas_.empty()) c.ExecuteNative(savedPragmas_);
  }

  bool Fail(std::string text) {
    if (report_.error.empty()) report_.error = std::move(text);
    return false;
  }

 private:
  struct Entry {
    std::string key;
    std::int32_t rank;
    bool matched;  // the document holds the name
  };

  std::string PragmaValue(const char* name, const char* fallback) {
    Statement st = db_.update().PrepareNative(std::string("PRAGMA ") + name);
    return st.Next() == Statement::Step::Row ? std::to_string(st.ColumnInt(0)) : fallback;
  }

  // Whether the document holds the name (its row now has the rank); nothing
  // on failure.
  std::optional<bool> Update(std::int32_t rank, std::string_view name) {
    update_.Reset();
    update_.BindInt(1, rank);
    update_.BindText(3, name);
    if (update_.Next() == Statement::Step::Error) {
      Fail("Error: Importing Traffic Ranks\r\n" + update_.ErrorText());
      return std::nullopt;
    }
    return sqlite3_changes(db_.update().handle()) > 0;
  }

  // A listed name the document holds in another form (`other`): without
  // "www.", or an international name in its other form. When the list also
  // names it in that form, the better rank stays.
  bool StoreUnder(const Entry& listed, std::string_view other) {
    const auto same = std::lower_bound(entries_.begin(), entries_.end(), other,
                                       [](const Entry& e, std::string_view key) { return e.key < key; });
    if (same != entries_.end() && same->key == other && same->matched) {
      ++report_.duplicates;
      if (listed.rank >= same->rank) return true;
      same->rank = listed.rank;
      return Update(listed.rank, other).has_value();
    }
    const std::optional<bool> changed = Update(listed.rank, other);
    if (!changed) return false;
    ++(*changed ? report_.ranked : report_.notInDocument);
    return true;
  }

  DomainDatabase& db_;
  TrafficRanksReport& report_;
  Statement update_;
  std::string savedPragmas_;
  std::vector<Entry> entries_;
};

// Cuts the read text into lines and hands each on.
class RankLines {
 public:
  RankLines(RankWriter& writer, TrafficRanksReport& report) : writer_(writer), report_(report) {}

  bool Feed(std::string_view text) {
    if (atStart_) {
      atStart_ = false;
      if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    }
    while (!text.empty()) {
      const std::size_t end = text.find('\n');
      const std::string_view piece = text.substr(0, end);
      if (end == std::string_view::npos) {
        if (!skipping_) carry_.append(piece);
        if (carry_.size() > kMaxLineLength) SkipLongLine();
        return true;
      }
      text.remove_prefix(end + 1);
      if (skipping_) {
        skipping_ = false;
        ++number_;
        continue;
      }
      bool ok;
      if (carry_.empty()) {
        ok = Line(piece);
      } else {
        carry_.append(piece);
        ok = Line(carry_);
        carry_.clear();
      }
      if (!ok) return false;
    }
    return true;
  }

  bool Finish() {
    if (skipping_ || carry_.empty()) return true;
    const bool ok = Line(carry_);
    carry_.clear();
    return ok;
  }

 private:
  bool Line(std::string_view line) {
    ++number_;
    line = Trimmed(line);
    if (line.empty()) return true;
    const bool first = !seenLine_;
    seenLine_ = true;
    if (const std::optional<RankLine> parsed = ParseRankLine(line)) return writer_.Store(*parsed);
    // A first line that does not start with a number names the columns.
    const std::string_view lead = Unquoted(line.substr(0, line.find(',')));
    if (first && (lead.empty() || lead.front() < '0' || lead.front() > '9')) {
      report_.header = true;
      return true;
    }
    Bad();
    return true;
  }

  void SkipLongLine() {
    carry_.clear();
    skipping_ = true;
    seenLine_ = true;
    Bad(number_ + 1);
  }

  void Bad(std::size_t at = 0) {
    ++report_.badLines;
    if (report_.firstBadLines.size() < kBadLinesShown) report_.firstBadLines.push_back(at ? at : number_);
  }

  RankWriter& writer_;
  TrafficRanksReport& report_;
  std::string carry_;
  std::size_t number_ = 0;
  bool atStart_ = true;
  bool seenLine_ = false;
  bool skipping_ = false;
};

}  // namespace

std::optional<RankLine> ParseRankLine(std::string_view line) {
  const std::size_t comma = line.find(',');
  if (comma == std::string_view::npos) return std::nullopt;
  const std::optional<std::int32_t> rank = Rank(Unquoted(line.substr(0, comma)));
  const std::string_view text = Unquoted(line.substr(comma + 1));
  if (!rank || text.find(',') != std::string_view::npos) return std::nullopt;
  const std::optional<std::string_view> name = StorableDomainName(text);
  if (!name) return std::nullopt;
  return RankLine{*rank, *name};
}

TrafficRanksReport ImportTrafficRanks(DomainDatabase& db, const ReadNamesChunk& read, std::size_t totalBytes,
                                      const Date& checkedAt, const TrafficRanksProgress& progress) {
  TrafficRanksReport report;
  RankWriter writer(db, report);
  if (!writer.Start(checkedAt)) {
    writer.Finish(false);
    return report;
  }
  RankLines lines(writer, report);
  std::vector<char> buffer(1 << 16);
  std::size_t done = 0;
  bool ok = true;
  while (ok) {
    std::string error;
    const long long n = read(buffer.data(), buffer.size(), error);
    if (n < 0) {
      ok = writer.Fail("Error: Reading File\r\n" + error);
      break;
    }
    if (n == 0) {
      ok = lines.Finish();
      break;
    }
    done += std::size_t(n);
    ok = lines.Feed(std::string_view(buffer.data(), std::size_t(n)));
    // Reading is the first half of the work, writing the second.
    if (ok && progress && !progress(done, totalBytes ? 2 * std::max(done, totalBytes) : 0)) {
      report.cancelled = true;
      ok = false;
    }
  }
  if (ok) {
    ok = writer.Apply([&progress, &report, done, totalBytes](std::size_t i, std::size_t n) {
      if (!progress) return true;
      const std::size_t half = std::max(done, totalBytes);
      if (progress(totalBytes ? half + std::size_t(double(half) * double(i) / double(n)) : 0, totalBytes ? 2 * half : 0))
        return true;
      report.cancelled = true;
      return false;
    });
  }
  writer.Finish(ok);
  return report;
}

std::string TrafficRanksReportText(const TrafficRanksReport& report) {
  if (!report.error.empty()) return report.error + "\r\nNo rank was stored.";
  if (report.cancelled) return "Cancelled: no rank was stored.";
  if (report.Listed() == 0 && report.badLines == 0) return "The file holds no \"rank,domain\" lines.";
  std::string text = "Names given a traffic rank: " + std::to_string(report.ranked) +
                     "\r\nListed names not in the document: " + std::to_string(report.notInDocument);
  if (report.duplicates > 0)
    text += "\r\nNames listed more than once (the best rank kept): " + std::to_string(report.duplicates);
  if (report.badLines > 0) {
    text += "\r\nLines skipped (not \"rank,domain\"): " + std::to_string(report.badLines) +
            (report.badLines > 1 ? " (lines" : " (line");
    for (std::size_t i = 0; i < report.firstBadLines.size(); ++i)
      text += (i ? ", " : " ") + std::to_string(report.firstBadLines[i]);
    text += report.badLines > report.firstBadLines.size() ? ", ...)" : ")";
  }
  return text;
}

}  // namespace qv
