// Which kept whois answers hold "Whois Lookup Error:", known without opening
// a file per name: for the idle rescan, which asks about thousands of names
// per call.
//
// The answer folder is read once on a thread of its own. From then on the
// index follows every answer the program saves, and each later reading (at
// the end of a rescan sweep, at most every ten minutes, for files another
// program wrote) opens only the files changed since the reading before. Until the first reading is in, callers
// open the files themselves (KeptAnswerHasLookupError).
//
// The index belongs to the main thread; only the folder reading runs apart,
// on its own copy of what it needs, and is taken in by the main thread.
#pragma once

#include <atomic>
#include <ctime>
#include <filesystem>
#include <future>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

namespace qv {

// What one reading of an answer folder found.
struct AnswerFolderReading {
  std::unordered_set<std::string> errors;  // file names (AnswerFileStem) whose answer holds an error
  std::time_t startedAt = 0;
  bool complete = false;  // false when it was stopped before the end
};

// Reads the answer files under `folder`. With `since` set, only files changed
// at or after that time are opened; a name of `previous` whose file is older
// keeps its place, one whose file is gone drops out. Stops early, incomplete,
// when `stop` becomes true.
AnswerFolderReading ReadAnswerFolder(const std::filesystem::path& folder, std::optional<std::time_t> since,
                                     const std::unordered_set<std::string>& previous,
                                     const std::atomic<bool>& stop);

class AnswerErrorIndex {
 public:
  // The program's one index.
  static AnswerErrorIndex& Instance();
  AnswerErrorIndex() = default;
  ~AnswerErrorIndex();
  AnswerErrorIndex(const AnswerErrorIndex&) = delete;
  AnswerErrorIndex& operator=(const AnswerErrorIndex&) = delete;

  // True when the index can answer for the answers kept under `folder`. For a
  // folder it does not know yet, the reading of the folder starts and false
  // comes back until it is in.
  bool Ready(const std::filesystem::path& folder);
  // Whether the kept answer of `domain` holds an error (when Ready).
  bool HasLookupError(std::string_view domain) const;
  // Starts reading the files changed since the last reading; the index keeps
  // answering meanwhile. Nothing happens while a reading runs, before the
  // first one is in or within ten minutes of the last one.
  void Refresh(const std::filesystem::path& folder);
  // The program has just written the answer of `domain` under `folder`.
  void NoteSaved(const std::filesystem::path& folder, std::string_view domain, bool hasError);

 private:
  void Start(std::optional<std::time_t> since);
  void TakeFinishedReading();
  void StopReading();

  std::filesystem::path folder_;
  bool ready_ = false;
  std::unordered_set<std::string> errors_;
  std::time_t lastReadingAt_ = 0;
  // Answers saved while a reading runs: they are newer than what it finds.
  std::unordered_map<std::string, bool> savedMeanwhile_;
  std::future<AnswerFolderReading> reading_;
  std::shared_ptr<std::atomic<bool>> stop_;
};

}  // namespace qv
