#include "lookup/answer_error_index.h"

#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <iterator>
#include <system_error>
#include <utility>

#include "lookup/answer_files.h"

namespace qv {
namespace fs = std::filesystem;
namespace {

constexpr std::string_view kLookupErrorMark = "Whois Lookup Error:";
constexpr std::string_view kAnswerExtension = ".txt";
// Change times are whole seconds on some file systems; a file changed in the
// second a reading started is opened again by the next one.
constexpr std::time_t kChangeTimeSlack = 2;
// A short list is swept every few ticks; the folder is not read again that often.
constexpr std::time_t kLeastSecondsBetweenReadings = 600;

bool FileHoldsLookupError(const fs::path& file, std::string& buffer) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return false;
  buffer.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return buffer.find(kLookupErrorMark) != std::string::npos;
}

// The time of the file's last change of content or name (a file moved to its
// ".txt" name counts as changed).
std::optional<std::time_t> ChangeTime(const fs::path& file) {
  struct stat st {};
  if (::stat(file.c_str(), &st) != 0) return std::nullopt;
  return std::max(st.st_ctime, st.st_mtime);
}

// The name an answer file is kept under, when `file` is where that name's
// answer is looked for; "" for any other file.
std::string AnswerStemOf(const fs::path& folder, const fs::path& file) {
  const std::string name = file.filename().string();
  if (name.size() <= kAnswerExtension.size() || !name.ends_with(kAnswerExtension)) return {};
  std::string stem = name.substr(0, name.size() - kAnswerExtension.size());
  const std::optional<fs::path> expected = AnswerFilePath(folder, stem);
  return expected && *expected == file ? stem : std::string();
}

}  // namespace

AnswerFolderReading ReadAnswerFolder(const fs::path& folder, std::optional<std::time_t> since,
                                     const std::unordered_set<std::string>& previous,
                                     const std::atomic<bool>& stop) {
  AnswerFolderReading reading;
  reading.startedAt = std::time(nullptr);
  std::string buffer;
  std::error_code ec;
  for (fs::directory_iterator sub(folder, ec), end; !ec && sub != end; sub.increment(ec)) {
    std::error_code subEc;
    if (!sub->is_directory(subEc)) continue;
    for (fs::directory_iterator it(sub->path(), subEc); !subEc && it != end; it.increment(subEc)) {
      if (stop) return reading;
      const std::string stem = AnswerStemOf(folder, it->path());
      if (stem.empty()) continue;
      bool open = !since;
      if (since) {
        const std::optional<std::time_t> changed = ChangeTime(it->path());
        if (!changed) continue;
        open = *changed >= *since - kChangeTimeSlack;
        if (!open && previous.contains(stem)) reading.errors.insert(stem);
      }
      if (open && FileHoldsLookupError(it->path(), buffer)) reading.errors.insert(stem);
    }
  }
  reading.complete = !stop;
  return reading;
}

AnswerErrorIndex& AnswerErrorIndex::Instance() {
  static AnswerErrorIndex index;
  return index;
}

AnswerErrorIndex::~AnswerErrorIndex() { StopReading(); }

void AnswerErrorIndex::StopReading() {
  if (!reading_.valid()) return;
  *stop_ = true;
  reading_.wait();
  reading_ = {};
  savedMeanwhile_.clear();
}

void AnswerErrorIndex::Start(std::optional<std::time_t> since) {
  stop_ = std::make_shared<std::atomic<bool>>(false);
  savedMeanwhile_.clear();
  std::unordered_set<std::string> previous = since ? errors_ : std::unordered_set<std::string>{};
  try {
    reading_ = std::async(std::launch::async,
                          [folder = folder_, since, previous = std::move(previous), stop = stop_] {
                            return ReadAnswerFolder(folder, since, previous, *stop);
                          });
  } catch (const std::system_error&) {
    // No thread to be had: the callers keep opening the files themselves.
    reading_ = {};
  }
}

void AnswerErrorIndex::TakeFinishedReading() {
  if (!reading_.valid() || reading_.wait_for(std::chrono::seconds(0)) != std::future_status::ready) return;
  AnswerFolderReading reading = reading_.get();
  reading_ = {};
  if (!reading.complete) return;
  errors_ = std::move(reading.errors);
  for (const auto& [stem, hasError] : savedMeanwhile_) {
    if (hasError) errors_.insert(stem);
    else errors_.erase(stem);
  }
  savedMeanwhile_.clear();
  lastReadingAt_ = reading.startedAt;
  ready_ = true;
}

bool AnswerErrorIndex::Ready(const fs::path& folder) {
  if (folder != folder_ || (!ready_ && !reading_.valid())) {
    StopReading();
    folder_ = folder;
    ready_ = false;
    errors_.clear();
    Start(std::nullopt);
  }
  TakeFinishedReading();
  return ready_;
}

bool AnswerErrorIndex::HasLookupError(std::string_view domain) const {
  if (errors_.empty()) return false;
  const std::optional<std::string> stem = AnswerFileStem(domain);
  return stem && errors_.contains(*stem);
}

void AnswerErrorIndex::Refresh(const fs::path& folder) {
  TakeFinishedReading();
  if (folder != folder_ || !ready_ || reading_.valid()) return;
  if (std::time(nullptr) - lastReadingAt_ < kLeastSecondsBetweenReadings) return;
  Start(lastReadingAt_);
}

void AnswerErrorIndex::NoteSaved(const fs::path& folder, std::string_view domain, bool hasError) {
  if (folder != folder_) return;
  const std::optional<std::string> stem = AnswerFileStem(domain);
  if (!stem) return;
  if (hasError) errors_.insert(*stem);
  else errors_.erase(*stem);
  if (reading_.valid()) savedMeanwhile_[*stem] = hasError;
}

}  // namespace qv
