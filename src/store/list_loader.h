// Reads the names of a list query in two parts, so that a long list shows its
// first rows at once: Begin steps the query on the calling (main) thread until
// the first page is read, Continue steps the rest on a thread of its own and
// hands the names over in batches. The loader has a read-only connection of
// its own; the thread uses nothing else and touches neither the list nor the
// document's connections. Stop (or the destructor) ends the thread and waits
// for it.
#pragma once

#include <atomic>
#include <functional>
#include <string>
#include <string_view>
#include <thread>

#include "store/database_connection.h"
#include "store/domain_list.h"

namespace qv {

class ListLoader {
 public:
  // How many names make the first page; a query that finds its rows slowly
  // shows the ones it has once this time has gone by. How often the thread
  // hands over what it has read (whichever comes first: rows or time).
  static constexpr int kFirstPageRows = 500;
  static constexpr int kFirstPageMs = 250;
  static constexpr int kBatchRows = 65536;
  static constexpr int kBatchEveryMs = 200;

  ListLoader() = default;
  ~ListLoader();
  ListLoader(const ListLoader&) = delete;
  ListLoader& operator=(const ListLoader&) = delete;

  // Opens the document at `path` read-only and the query, and reads names
  // into `firstPage` until it holds kFirstPageRows, or some rows when
  // kFirstPageMs have gone by, or the rows end (`done`).
  // `cancelled` is asked now and then meanwhile (true stops the query). False
  // on failure; ErrorText() says why.
  bool Begin(const std::string& path, std::string_view jetSql, const std::function<bool()>& cancelled,
             NameBatch& firstPage, bool& done);
  // Reads the rest on the loader's thread. `batch` gets the names in order,
  // then `ended` is called once: true when every row was read, false with the
  // engine's text when the query failed or was cancelled. Both are called on
  // the loader's thread.
  void Continue(std::function<void(NameBatch batch)> batch,
                std::function<void(bool ok, std::string error)> ended);
  // Asks the thread to stop; it ends at once with "interrupted".
  void Cancel() { cancel_ = true; }
  // Cancels, waits for the thread and closes the connection.
  void Stop();
  bool Running() const { return thread_.joinable(); }

  const std::string& ErrorText() const { return connection_.GetLastError(); }

 private:
  void ReadRest(const std::function<void(NameBatch)>& batch,
                const std::function<void(bool, std::string)>& ended);

  DatabaseConnection connection_;
  std::thread thread_;
  std::atomic<bool> cancel_{false};
};

}  // namespace qv
