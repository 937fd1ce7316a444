#include "support/process_memory.h"

#include <chrono>
#include <fstream>
#include <sstream>
#include <string>

namespace qvtest {
namespace {

// VmRSS (resident now) or VmHWM (the most resident since start or the last
// reset) in KiB; -1 when it could not be read.
long StatusKiB(const std::string& field) {
  std::ifstream in("/proc/self/status");
  std::string line, name;
  long kib = -1;
  while (std::getline(in, line))
    if (std::istringstream(line) >> name >> kib && name == field) return kib;
  return -1;
}

}  // namespace

WorkCost MeasureWork(const std::function<void()>& work) {
  // "5" sets the peak back to what is resident now (Linux 4.0 and later;
  // elsewhere the peak counts from the start of the process).
  std::ofstream("/proc/self/clear_refs") << "5";
  const long before = StatusKiB("VmRSS:");
  const auto start = std::chrono::steady_clock::now();
  work();
  WorkCost cost;
  cost.ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
  cost.grownKiB = StatusKiB("VmHWM:") - before;
  return cost;
}

}  // namespace qvtest
