// Adding names to the document: one name, a list of names, or a text of names
// (typed, pasted or read from a large file). Every way in ends in
// InsertDomainRecord; bulk adding writes in transactions with one prepared
// statement and commits as it goes, so a crash keeps every name reported as
// added.
#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "store/database_connection.h"

namespace qv {

enum class InsertOutcome {
  Added,          // a new row was appended
  AlreadyStored,  // the name is stored already, in some capitalisation
  Empty,          // nothing to add
  Refused,        // not a usable domain name (see StorableDomainName)
  Failed,         // the engine failed; the connection's last error says why
};

// Adds names on an open update connection, one prepared statement for all.
// A name that is not a usable domain name is refused; the name index decides
// whether a usable one is stored already.
class NameInserter {
 public:
  explicit NameInserter(DatabaseConnection& update);
  InsertOutcome Insert(std::string_view name);

 private:
  DatabaseConnection& db_;
  Statement insert_;
  Statement seek_;  // only for a table without a unique name index
};

// Adds one name to the document.
InsertOutcome InsertDomainRecord(DomainDatabase& db, std::string_view name);

struct AddNamesReport {
  std::size_t added = 0;          // new rows, all of them committed
  std::size_t alreadyStored = 0;
  std::size_t refused = 0;
  bool cancelled = false;
  std::string error;  // set when writing failed; the counts above still hold
};

// Called after every committed batch of names, with the counts so far and
// how far the work is (names of a list, characters of a text). Returning
// false cancels; what was added so far stays.
using AddNamesProgress =
    std::function<bool(const AddNamesReport& soFar, std::size_t done, std::size_t total)>;

// How long a batch of names runs before it is committed and reported.
inline constexpr std::chrono::milliseconds kAddCommitInterval{1000};

// Adds every name in order. Afterwards the shown list of `db` is run again.
AddNamesReport AddDomainNames(DomainDatabase& db, const std::vector<std::string>& names,
                              const AddNamesProgress& progress = {},
                              std::chrono::milliseconds commitInterval = kAddCommitInterval);
// Splits a text into names (at CR, LF, blank, ";" and TAB; a long text in
// pieces that never cut a name) and adds them in order.
AddNamesReport AddNamesFromText(DomainDatabase& db, std::string_view text,
                                const AddNamesProgress& progress = {},
                                std::chrono::milliseconds commitInterval = kAddCommitInterval);

// Reads up to `size` bytes into `buffer`: the count read, 0 at the end, or -1
// on a read failure with the reason in `error`.
using ReadNamesChunk = std::function<long long(char* buffer, std::size_t size, std::string& error)>;

// Adds the names of a text read piece by piece (a file or a pipe of any
// length), with the separators of AddNamesFromText; a UTF-8 byte-order mark at
// the start is skipped. `totalBytes` (0 when unknown) is the total the
// progress reports against; with no total the progress gets 0 as its total. A run of more than kMaxNameRun characters without
// a separator is no name: it is refused once and skipped. A read failure
// stops adding with "Error: Reading File\r\n" and the reason in the report's
// error; the names before it stay added.
inline constexpr std::size_t kMaxNameRun = 4096;
AddNamesReport AddNamesFromStream(DomainDatabase& db, const ReadNamesChunk& read, std::size_t totalBytes,
                                  const AddNamesProgress& progress = {},
                                  std::chrono::milliseconds commitInterval = kAddCommitInterval);

}  // namespace qv
