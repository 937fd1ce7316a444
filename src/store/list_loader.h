// Reads the names of a list query in two parts, so that a long list shows its
// first rows at once: Begin opens the query and has a thread of the loader's
// own step it, waiting on the calling (main) thread only until the first page
// is read or its time is up (a query that finds no row for a long time shows
// an empty page meanwhile); Continue has the same thread hand the rest over
// in batches. The loader has a read-only connection of its own; the thread
// uses nothing else and touches neither the list nor the document's
// connections. Stop (or the destructor) ends the thread and waits for it.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

#include "store/database_connection.h"
#include "store/domain_list.h"

namespace qv {

class ListLoader {
 public:
  // How many names make the first page; a query that finds its rows slowly
  // shows the ones it has (none, maybe) once this time has gone by. How often
  // the thread hands over what it has read (whichever comes first: rows or
  // time).
  static constexpr int kFirstPageRows = 500;
  static constexpr int kFirstPageMs = 250;
  static constexpr int kBatchRows = 65536;
  static constexpr int kBatchEveryMs = 200;

  ListLoader() = default;
  ~ListLoader();
  ListLoader(const ListLoader&) = delete;
  ListLoader& operator=(const ListLoader&) = delete;

  // Opens the document at `path` read-only and the query, and reads names
  // into `firstPage` until it holds kFirstPageRows, or kFirstPageMs have gone
  // by, or the rows end (`done`). `cancelled` is asked now and then meanwhile
  // (true stops the query). False on failure; ErrorText() says why. When not
  // `done`, Continue must follow (or Stop).
  bool Begin(const std::string& path, std::string_view jetSql, const std::function<bool()>& cancelled,
             NameBatch& firstPage, bool& done);
  // Reads the rest on the loader's thread. `batch` gets the names in order,
  // then `ended` is called once: true when every row was read, false with the
  // engine's text when the query failed or was cancelled. Both are called on
  // the loader's thread.
  void Continue(std::function<void(NameBatch batch)> batch,
                std::function<void(bool ok, std::string error)> ended);
  // Asks the thread to stop; it ends at once with "interrupted".
  void Cancel();
  // Cancels, waits for the thread and closes the connection.
  void Stop();
  bool Running() const { return thread_.joinable(); }

  const std::string& ErrorText() const { return cancelledText_.empty() ? connection_.GetLastError() : cancelledText_; }

 private:
  // The thread: steps the query to its end.
  void Read();
  // Adds a name the thread read; false to stop stepping.
  bool Take(std::string_view name);
  // Hands names read after the first page to Continue's `batch`, once there.
  void Hand(NameBatch names);
  // Waits on the calling thread for the first page; false when `cancelled`.
  bool WaitForFirstPage(const std::function<bool()>& cancelled);

  DatabaseConnection connection_;
  std::string cancelledText_;  // set when Begin was cancelled
  std::thread thread_;
  std::atomic<bool> cancel_{false};

  // Shared with the thread, under mutex_.
  std::mutex mutex_;
  std::condition_variable changed_;
  NameBatch early_;           // names read before Begin took the first page
  std::atomic<bool> pageTaken_{false};  // later names go to batch_ (set under mutex_)
  bool finished_ = false;     // the thread read its last row or stopped
  bool readAll_ = false;      // ... and every row was read
  bool handedOver_ = false;   // Continue gave batch_ and ended_
  std::function<void(NameBatch)> batch_;
  std::function<void(bool, std::string)> ended_;

  // The thread's own.
  NameBatch later_;
  std::chrono::steady_clock::time_point handed_;
};

}  // namespace qv
