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
  Refused,        // holds a control character, "/" or "\" (names later name files)
  Failed,         // the engine failed; the connection's last error says why
};

// Adds names on an open update connection, one prepared statement for all.
// Each name is cut to 67 characters first; the name index decides whether it
// is stored already.
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

}  // namespace qv
