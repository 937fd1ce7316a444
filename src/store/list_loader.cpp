#include "store/list_loader.h"

namespace qv {
namespace {

using Clock = std::chrono::steady_clock;

constexpr const char* kInterruptedText = "Error: Creating Recordset\r\ninterrupted";
// How often the waiting main thread asks whether the user cancelled.
constexpr auto kCancelPoll = std::chrono::milliseconds(40);

}  // namespace

ListLoader::~ListLoader() { Stop(); }

bool ListLoader::Begin(const std::string& path, std::string_view jetSql, const std::function<bool()>& cancelled,
                       NameBatch& firstPage, bool& done) {
  Stop();
  cancelledText_.clear();
  done = false;
  if (connection_.OpenDatabase(path, true) != kDbOk) return false;
  connection_.SetCancelCheck(cancelled);
  const bool opened = OpenListNames(connection_, jetSql);
  // The engine asks this every thousand steps, on the loader's thread.
  connection_.SetCancelCheck([this] { return cancel_.load(); });
  if (!opened) {
    connection_.Close();
    return false;
  }
  thread_ = std::thread([this] { Read(); });
  if (!WaitForFirstPage(cancelled)) {
    Stop();
    // The thread may have stopped between rows, with no error of the engine.
    cancelledText_ = kInterruptedText;
    return false;
  }
  bool ok = true;
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    pageTaken_ = true;
    changed_.notify_all();
    firstPage = std::move(early_);
    early_ = NameBatch();
    done = finished_;
    ok = !finished_ || readAll_;
  }
  if (done) {
    thread_.join();
    // Nothing is left to read: the connection goes (its error text stays).
    connection_.Close();
  }
  return ok;
}

bool ListLoader::WaitForFirstPage(const std::function<bool()>& cancelled) {
  const Clock::time_point until = Clock::now() + std::chrono::milliseconds(kFirstPageMs);
  std::unique_lock<std::mutex> lock(mutex_);
  while (!finished_ && early_.Size() < kFirstPageRows && Clock::now() < until) {
    changed_.wait_for(lock, std::min<Clock::duration>(kCancelPoll, until - Clock::now()));
    if (cancelled && !finished_) {
      lock.unlock();
      const bool stop = cancelled();
      lock.lock();
      if (stop) return false;
    }
  }
  return true;
}

void ListLoader::Continue(std::function<void(NameBatch)> batch, std::function<void(bool, std::string)> ended) {
  const std::lock_guard<std::mutex> lock(mutex_);
  batch_ = std::move(batch);
  ended_ = std::move(ended);
  handedOver_ = true;
  changed_.notify_all();
}

void ListLoader::Read() {
  handed_ = Clock::now();
  bool done = false;
  const bool ok = StepListNames(connection_, [this](std::string_view name) { return Take(name); }, &done);
  if (later_.Size() > 0) Hand(std::move(later_));
  later_ = NameBatch();
  std::unique_lock<std::mutex> lock(mutex_);
  finished_ = true;
  readAll_ = ok && done;
  changed_.notify_all();
  // Before the first page is taken Begin reports the end itself; after it,
  // the end goes to Continue's `ended`.
  if (!pageTaken_) return;
  changed_.wait(lock, [this] { return handedOver_ || cancel_; });
  if (!handedOver_) return;
  lock.unlock();
  if (readAll_)
    ended_(true, {});
  else
    ended_(false, ok ? std::string(kInterruptedText) : connection_.GetLastError());
}

bool ListLoader::Take(std::string_view name) {
  if (!pageTaken_) {
    std::unique_lock<std::mutex> lock(mutex_);
    if (!pageTaken_) {
      early_.Add(name);
      if (early_.Size() < kFirstPageRows) return !cancel_;
      // A whole page: the next rows wait until Begin has taken it.
      changed_.notify_all();
      changed_.wait(lock, [this] { return pageTaken_ || cancel_; });
      return !cancel_;
    }
  }
  later_.Add(name);
  if (later_.Size() >= kBatchRows || Clock::now() - handed_ >= std::chrono::milliseconds(kBatchEveryMs)) {
    Hand(std::move(later_));
    later_ = NameBatch();
    handed_ = Clock::now();
  }
  return !cancel_;
}

void ListLoader::Hand(NameBatch names) {
  {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [this] { return handedOver_ || cancel_; });
    if (!handedOver_) return;
  }
  batch_(std::move(names));
}

void ListLoader::Cancel() {
  const std::lock_guard<std::mutex> lock(mutex_);
  cancel_ = true;
  changed_.notify_all();
}

void ListLoader::Stop() {
  Cancel();
  if (thread_.joinable()) thread_.join();
  connection_.Close();
  const std::lock_guard<std::mutex> lock(mutex_);
  cancel_ = false;
  early_ = NameBatch();
  later_ = NameBatch();
  pageTaken_ = false;
  finished_ = readAll_ = handedOver_ = false;
  batch_ = nullptr;
  ended_ = nullptr;
}

}  // namespace qv
