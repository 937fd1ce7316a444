// How much memory a piece of work made this process hold, from
// /proc/self/status, for tests that bound what a hostile peer can make the
// program keep.
//
//   const qvtest::WorkCost cost = qvtest::MeasureWork([&] { ... });
#pragma once

#include <functional>

namespace qvtest {

// What one piece of work cost: its wall time and how far the resident memory
// rose above what it was before (the peak during the work, not the end).
struct WorkCost {
  long long ms = 0;
  long grownKiB = 0;
};
WorkCost MeasureWork(const std::function<void()>& work);

}  // namespace qvtest
