// How much memory this process holds, from /proc/self/status, for tests that
// bound what a hostile peer can make the program keep.
//
//   qvtest::ResetPeakMemory();
//   const long before = qvtest::ReadProcessMemory().residentKiB;
//   ... the work ...
//   const long grown = qvtest::ReadProcessMemory().peakKiB - before;
#pragma once

#include <functional>

namespace qvtest {

struct ProcessMemory {
  long residentKiB = -1;  // VmRSS; -1 when it could not be read
  long peakKiB = -1;      // VmHWM, the most resident since start or the last reset
};

ProcessMemory ReadProcessMemory();
// Sets the peak back to what is resident now; false where the kernel does not
// allow it (the peak then counts from the start of the process).
bool ResetPeakMemory();

// What one piece of work cost: its wall time and how far the resident memory
// rose above what it was before (the peak during the work, not the end).
struct WorkCost {
  long long ms = 0;
  long grownKiB = 0;
};
WorkCost MeasureWork(const std::function<void()>& work);

}  // namespace qvtest
