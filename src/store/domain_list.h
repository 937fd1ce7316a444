// A list of domain rows as a query gives them. The query is stepped once and
// only the names are kept, in order, packed in one buffer; a row is read when
// it is wanted, by name through the name index, and the last rows read are
// kept in a small cache that every new run clears.
//
// Two such lists exist for the open document: the shown list on the list
// connection and the filter list (names picked by a lookup query) on the
// filter connection. The shown list may also be filled in batches while its
// query is still being stepped elsewhere (store/list_loader.h): Attach, then
// Append.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "store/database_connection.h"
#include "store/domain_record.h"

namespace qv {

// Names in the order a query gave them, as one buffer and their lengths.
struct NameBatch {
  std::string names;
  std::vector<std::uint32_t> lengths;
  int Size() const { return int(lengths.size()); }
  void Add(std::string_view name) {
    names += name;
    lengths.push_back(std::uint32_t(name.size()));
  }
};

class DomainList {
 public:
  // Runs `jetSql` on `connection` (open on the document) and keeps the names
  // of its rows in order. On failure the list is empty, ErrorText() holds the
  // connection's error text and false comes back. A query without a `Domain`
  // column gives rows that read as empty records.
  bool Load(DatabaseConnection& connection, std::string_view jetSql);
  // Empties the list; the error text is kept.
  void Clear();
  // Empties the list and reads its rows through `connection` from now on;
  // the names come with Append.
  void Attach(DatabaseConnection& connection);
  // Adds names at the end. False (nothing added) when the list would grow
  // past what it can hold.
  bool Append(const NameBatch& batch);

  // 0 when nothing is loaded or the connection has been closed since.
  int Count() const;
  // The name at a 0-based position; "" outside the list.
  std::string_view NameAt(int position) const;
  // The whole record at a position, read through the connection (or the
  // cache). False outside the list or when the row can no longer be read.
  bool RecordAt(int position, DomainRecord& record);
  // Forgets the cached rows (after records were written).
  void ClearCache();

  const std::string& ErrorText() const { return error_; }
  bool IsLoadedFrom(const DatabaseConnection& connection) const;

 private:
  struct CachedRow {
    int position = -1;
    DomainRecord record;
  };
  static constexpr std::size_t kCacheSlots = 256;

  DatabaseConnection* connection_ = nullptr;
  std::string path_;             // the document the list was read from
  std::string names_;            // every name, one after the other
  std::vector<std::uint32_t> ends_;  // end offset of each name in names_
  std::array<CachedRow, kCacheSlots> cache_;
  std::string error_;
};

// The query the list runs in place of a "SELECT * FROM ..." query, reading
// only the names; "" when the query has another form.
std::string NamesOnlyQuery(std::string_view jetSql);

// Opens `jetSql` as the record set of `connection` (only the names are read
// when the query allows it). False, with the connection's error set, when the
// query fails.
bool OpenListNames(DatabaseConnection& connection, std::string_view jetSql);
// Steps the record set OpenListNames opened and calls `each` with the name of
// every row until the rows end (`*done` true) or `each` returns false (`*done`
// false). False, with the connection's error set, on an engine error (a
// cancelled query ends with the engine's "interrupted").
bool StepListNames(DatabaseConnection& connection, const std::function<bool(std::string_view name)>& each,
                   bool* done = nullptr);

// Runs `jetSql` on `connection` and calls `each` with the name of every row
// in order as the engine steps it (nothing is collected); `each` returns false
// to stop. False, with the connection's error set, when the query fails.
bool ForEachListName(DatabaseConnection& connection, std::string_view jetSql,
                     const std::function<bool(std::string_view name)>& each);

// The shown list (list connection) and the filter list (filter connection).
DomainList& ShownList();
DomainList& FilterList();

// The rows of the shown list.
int GetListCount();
bool GetListRecordAt(int position, DomainRecord& record);
// The name at a position of the filter list; "" outside it.
std::string GetDomainAt(int position);

}  // namespace qv
