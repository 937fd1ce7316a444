#include "store/list_loader.h"

#include <chrono>

namespace qv {
namespace {

using Clock = std::chrono::steady_clock;

constexpr const char* kInterruptedText = "Error: Creating Recordset\r\ninterrupted";

}  // namespace

ListLoader::~ListLoader() { Stop(); }

bool ListLoader::Begin(const std::string& path, std::string_view jetSql, const std::function<bool()>& cancelled,
                       NameBatch& firstPage, bool& done) {
  Stop();
  cancel_ = false;
  done = false;
  if (connection_.OpenDatabase(path, true) != kDbOk) return false;
  connection_.SetCancelCheck(cancelled);
  const Clock::time_point started = Clock::now();
  const auto fill = [&firstPage, started](std::string_view name) {
    firstPage.Add(name);
    return firstPage.Size() < kFirstPageRows && Clock::now() - started < std::chrono::milliseconds(kFirstPageMs);
  };
  const bool ok = OpenListNames(connection_, jetSql) && StepListNames(connection_, fill, &done);
  connection_.SetCancelCheck({});
  // Nothing is left to read: the connection goes (its error text stays).
  if (!ok || done) connection_.Close();
  return ok;
}

void ListLoader::Continue(std::function<void(NameBatch)> batch, std::function<void(bool, std::string)> ended) {
  // The engine asks this every thousand steps, on the loader's thread.
  connection_.SetCancelCheck([this] { return cancel_.load(); });
  thread_ = std::thread([this, batch = std::move(batch), ended = std::move(ended)] { ReadRest(batch, ended); });
}

void ListLoader::ReadRest(const std::function<void(NameBatch)>& batch,
                          const std::function<void(bool, std::string)>& ended) {
  const auto every = std::chrono::milliseconds(kBatchEveryMs);
  NameBatch names;
  Clock::time_point handed = Clock::now();
  bool done = false;
  const bool ok = StepListNames(
      connection_,
      [&](std::string_view name) {
        names.Add(name);
        if (names.Size() >= kBatchRows || Clock::now() - handed >= every) {
          batch(std::move(names));
          names = NameBatch();
          handed = Clock::now();
        }
        return !cancel_;
      },
      &done);
  if (names.Size() > 0) batch(std::move(names));
  if (ok && done)
    ended(true, {});
  else
    ended(false, ok ? std::string(kInterruptedText) : connection_.GetLastError());
}

void ListLoader::Stop() {
  cancel_ = true;
  if (thread_.joinable()) thread_.join();
  connection_.Close();
}

}  // namespace qv
