#include "store/add_names.h"

#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <optional>

#include "store/list_query.h"
#include "store/name_text.h"

namespace qv {
namespace {

// True when `Domains` has a unique index on `Domain` alone that compares
// without regard to case, so that an insert can be left to find duplicates.
bool HasUniqueNameIndex(DatabaseConnection& db) {
  Statement indexes = db.PrepareNative(
      "SELECT il.name FROM pragma_index_list(?1) AS il WHERE il.\"unique\" = 1");
  indexes.BindText(1, kDomainsTable);
  while (indexes.Next() == Statement::Step::Row) {
    Statement columns = db.PrepareNative("SELECT name, coll FROM pragma_index_xinfo(?1) WHERE key = 1");
    columns.BindText(1, indexes.ColumnText(0));
    int keys = 0;
    bool byName = false;
    while (columns.Next() == Statement::Step::Row) {
      ++keys;
      byName = EqualsNoCase(columns.ColumnText(0), field::kDomain) &&
               EqualsNoCase(columns.ColumnText(1), "NOCASE");
    }
    if (keys == 1 && byName) return true;
  }
  return false;
}

// Adds names batch by batch, each batch one transaction.
class BulkAdder {
 public:
  BulkAdder(DomainDatabase& db, const AddNamesProgress& progress, std::chrono::milliseconds interval)
      : db_(db), progress_(progress), interval_(interval) {}

  // False when adding has to stop (failure or cancel).
  bool Start() {
    if (!db_.OpenDomainsTable()) {
      report_.error = db_.update().GetLastError();
      return false;
    }
    inserter_.emplace(db_.update());
    // A larger page cache keeps the name index in memory while it grows, and
    // in write-ahead mode a commit that is not synced at once still survives
    // a crash of the program (only a power cut could cost the last batches).
    savedPragmas_ = "PRAGMA cache_size = " + PragmaValue("cache_size", "-2000") +
                    "; PRAGMA synchronous = " + PragmaValue("synchronous", "2");
    db_.update().ExecuteNative("PRAGMA cache_size = -65536; PRAGMA synchronous = NORMAL");
    return Begin();
  }

  bool Add(std::string_view name) {
    switch (inserter_->Insert(name)) {
      case InsertOutcome::Added: ++batch_.added; break;
      case InsertOutcome::AlreadyStored: ++batch_.alreadyStored; break;
      case InsertOutcome::Refused: ++batch_.refused; break;
      case InsertOutcome::Empty: break;
      case InsertOutcome::Failed:
        Fail();
        return false;
    }
    if ((++sinceCheck_ & 0xFF) == 0 && Clock::now() - batchStart_ >= interval_) return Checkpoint();
    return true;
  }

  // Commits and reports; false when adding has to stop.
  bool Checkpoint() {
    if (!Commit()) return false;
    if (progress_ && !progress_(report_, done_, total_)) {
      report_.cancelled = true;
      return false;
    }
    return Begin();
  }

  AddNamesReport Finish() {
    if (db_.update().InTransaction()) {
      if (Commit() && progress_) progress_(report_, done_, total_);
    }
    inserter_.reset();
    if (db_.update().IsOpen() && !savedPragmas_.empty()) db_.update().ExecuteNative(savedPragmas_);
    RefreshShownList(db_);
    return report_;
  }

  // Refuses a name without adding it (a run too long to be one).
  void Refuse() { ++batch_.refused; }
  void FailWith(std::string error) {
    Commit();
    report_.error = std::move(error);
  }

  void SetWork(std::size_t done, std::size_t total) {
    done_ = done;
    total_ = total;
  }

 private:
  using Clock = std::chrono::steady_clock;

  std::string PragmaValue(const char* name, const char* fallback) {
    Statement st = db_.update().PrepareNative(std::string("PRAGMA ") + name);
    return st.Next() == Statement::Step::Row ? std::to_string(st.ColumnInt(0)) : fallback;
  }

  bool Begin() {
    batchStart_ = Clock::now();
    if (db_.update().Begin() == kDbOk) return true;
    report_.error = db_.update().GetLastError();
    return false;
  }

  bool Commit() {
    if (db_.update().Commit() != kDbOk) {
      Fail();
      return false;
    }
    report_.added += batch_.added;
    report_.alreadyStored += batch_.alreadyStored;
    report_.refused += batch_.refused;
    batch_ = {};
    return true;
  }

  // Nothing of the open batch was stored, so none of it is counted.
  void Fail() {
    report_.error = db_.update().GetLastError();
    db_.update().Rollback();
    batch_ = {};
  }

  DomainDatabase& db_;
  const AddNamesProgress& progress_;
  const std::chrono::milliseconds interval_;
  std::string savedPragmas_;  // the connection's own settings, put back at the end
  std::optional<NameInserter> inserter_;
  AddNamesReport report_;
  AddNamesReport batch_;
  Clock::time_point batchStart_;
  std::size_t sinceCheck_ = 0;
  std::size_t done_ = 0, total_ = 0;
};

// Cuts a stream of bytes into names for a BulkAdder, carrying a name that a
// chunk boundary splits over to the next chunk.
class StreamSplitter {
 public:
  explicit StreamSplitter(BulkAdder& adder) : adder_(adder) {}

  // False when adding has to stop.
  bool Feed(std::string_view bytes) {
    // A UTF-8 byte-order mark at the start is skipped, also when a pipe
    // hands it over a byte at a time: its bytes are held until the mark is
    // whole, or given back as text once one of them differs.
    while (atStart_ && !bytes.empty()) {
      if (bytes.front() != kByteOrderMark[held_]) {
        atStart_ = false;
        if (!FeedText(kByteOrderMark.substr(0, held_))) return false;
        break;
      }
      bytes.remove_prefix(1);
      if (++held_ == kByteOrderMark.size()) atStart_ = false;
    }
    return FeedText(bytes);
  }

  // The end of the stream: the bytes of a mark that was never completed
  // are text, and the last name ends.
  bool Finish() {
    if (atStart_) {
      atStart_ = false;
      if (!FeedText(kByteOrderMark.substr(0, held_))) return false;
    }
    return EndName();
  }

  bool EndName() {
    skipping_ = false;
    if (name_.empty()) return true;
    const bool going = adder_.Add(name_);
    name_.clear();
    return going;
  }

 private:
  static constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

  bool FeedText(std::string_view bytes) {
    for (char c : bytes) {
      if (kNameSeparators.find(c) != std::string_view::npos) {
        if (!EndName()) return false;
      } else if (skipping_) {
        continue;
      } else if (name_.size() == kMaxNameRun) {
        adder_.Refuse();
        name_.clear();
        skipping_ = true;
      } else {
        name_ += c;
      }
    }
    return true;
  }

  BulkAdder& adder_;
  std::string name_;
  bool skipping_ = false;
  bool atStart_ = true;
  std::size_t held_ = 0;  // bytes of the mark seen at the start
};

}  // namespace

NameInserter::NameInserter(DatabaseConnection& update) : db_(update) {
  const std::string table = QuoteName(kDomainsTable);
  const std::string column = QuoteName(field::kDomain);
  if (HasUniqueNameIndex(db_)) {
    insert_ = db_.PrepareNative("INSERT OR IGNORE INTO " + table + " (" + column + ") VALUES (?1)",
                                "Adding Record");
  } else {
    seek_ = db_.PrepareNative("SELECT 1 FROM " + table + " WHERE " + column + " = ?1 COLLATE NOCASE",
                              "Seeking Record");
    insert_ = db_.PrepareNative("INSERT INTO " + table + " (" + column + ") VALUES (?1)", "Adding Record");
  }
}

InsertOutcome NameInserter::Insert(std::string_view name) {
  if (name.empty()) return InsertOutcome::Empty;
  const std::optional<std::string_view> usable = StorableDomainName(name);
  if (!usable) return InsertOutcome::Refused;
  const std::string_view stored = *usable;
  if (!insert_) return InsertOutcome::Failed;
  if (seek_) {
    seek_.Reset();
    seek_.BindText(1, stored);
    const Statement::Step found = seek_.Next();
    seek_.Reset();
    if (found == Statement::Step::Error) {
      db_.SetError(seek_.ErrorCode(), "Error: Seeking Record\r\n" + seek_.ErrorText());
      return InsertOutcome::Failed;
    }
    if (found == Statement::Step::Row) return InsertOutcome::AlreadyStored;
  }
  insert_.Reset();
  insert_.BindText(1, stored);
  if (insert_.Next() == Statement::Step::Error) {
    db_.SetError(insert_.ErrorCode(), "Error: Adding Record\r\n" + insert_.ErrorText());
    return InsertOutcome::Failed;
  }
  return sqlite3_changes(db_.handle()) > 0 ? InsertOutcome::Added : InsertOutcome::AlreadyStored;
}

InsertOutcome InsertDomainRecord(DomainDatabase& db, std::string_view name) {
  if (name.empty()) return InsertOutcome::Empty;
  if (!db.OpenDomainsTable()) return InsertOutcome::Failed;
  return NameInserter(db.update()).Insert(name);
}

AddNamesReport AddDomainNames(DomainDatabase& db, const std::vector<std::string>& names,
                              const AddNamesProgress& progress, std::chrono::milliseconds commitInterval) {
  BulkAdder adder(db, progress, commitInterval);
  if (adder.Start()) {
    for (std::size_t i = 0; i < names.size(); ++i) {
      adder.SetWork(i + 1, names.size());  // a checkpoint inside Add covers this name
      if (!adder.Add(names[i])) break;
    }
  }
  return adder.Finish();
}

AddNamesReport AddNamesFromText(DomainDatabase& db, std::string_view text,
                                const AddNamesProgress& progress, std::chrono::milliseconds commitInterval) {
  BulkAdder adder(db, progress, commitInterval);
  if (adder.Start()) {
    bool going = true;
    for (std::string_view piece : SplitIntoPieces(text)) {
      ForEachName(piece, [&](std::string_view name) {
        if (going) going = adder.Add(name);
      });
      if (!going) break;
      adder.SetWork(std::size_t(piece.data() + piece.size() - text.data()), text.size());
    }
    if (going) adder.SetWork(text.size(), text.size());
  }
  return adder.Finish();
}

AddNamesReport AddNamesFromStream(DomainDatabase& db, const ReadNamesChunk& read, std::size_t totalBytes,
                                  const AddNamesProgress& progress, std::chrono::milliseconds commitInterval) {
  BulkAdder adder(db, progress, commitInterval);
  if (!adder.Start()) return adder.Finish();
  StreamSplitter splitter(adder);
  std::vector<char> buffer(1 << 16);
  std::size_t done = 0;
  while (true) {
    std::string error;
    const long long n = read(buffer.data(), buffer.size(), error);
    if (n < 0) {
      adder.FailWith("Error: Reading File\r\n" + error);
      break;
    }
    if (n == 0) {
      if (splitter.Finish()) adder.SetWork(done, done);  // the total is known now
      break;
    }
    done += std::size_t(n);
    adder.SetWork(done, totalBytes ? std::max(done, totalBytes) : 0);
    if (!splitter.Feed(std::string_view(buffer.data(), std::size_t(n)))) break;
  }
  return adder.Finish();
}

}  // namespace qv
