// What the benches share: timing, the temporary home their settings and data
// go to, and the numbers given on their command line.
#pragma once

#include <QByteArray>
#include <QTemporaryDir>
#include <chrono>
#include <cstdlib>
#include <ctime>

namespace qvbench {

using Clock = std::chrono::steady_clock;

inline double SecondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

inline double MsSince(Clock::time_point start) { return SecondsSince(start) * 1e3; }

// The CPU time the calling thread has used.
inline double ThreadCpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

// The number given as argument `i`, or `fallback` when there is none.
inline long Arg(int argc, char** argv, int i, long fallback) {
  return argc > i ? std::atol(argv[i]) : fallback;
}

// Points the program's settings and data into `dir`; call it before the
// application object is made.
inline void UseTemporaryHome(const QTemporaryDir& dir) {
  qputenv("XDG_CONFIG_HOME", (dir.path() + "/config").toLocal8Bit());
  qputenv("XDG_DATA_HOME", (dir.path() + "/data").toLocal8Bit());
}

}  // namespace qvbench
