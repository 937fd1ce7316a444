#include "support/process_memory.h"

#include <chrono>
#include <fstream>
#include <sstream>
#include <string>

namespace qvtest {

ProcessMemory ReadProcessMemory() {
  ProcessMemory m;
  std::ifstream in("/proc/self/status");
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    std::string name;
    long kib = -1;
    fields >> name >> kib;
    if (name == "VmRSS:") m.residentKiB = kib;
    if (name == "VmHWM:") m.peakKiB = kib;
  }
  return m;
}

bool ResetPeakMemory() {
  // "5" clears the peak resident size (Linux 4.0 and later).
  std::ofstream out("/proc/self/clear_refs");
  out << "5";
  out.flush();
  return bool(out);
}

WorkCost MeasureWork(const std::function<void()>& work) {
  ResetPeakMemory();
  const long before = ReadProcessMemory().residentKiB;
  const auto start = std::chrono::steady_clock::now();
  work();
  WorkCost cost;
  cost.ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
  cost.grownKiB = ReadProcessMemory().peakKiB - before;
  return cost;
}

}  // namespace qvtest
