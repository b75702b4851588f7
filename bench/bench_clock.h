#pragma once
// A clock read in milliseconds, for the benchmarks that time single steps
// themselves (wall time of a key, thread CPU time of a frame).

#include <time.h>

namespace brantel {

inline double ClockMs(clockid_t clock) {
  timespec ts{};
  clock_gettime(clock, &ts);
  return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) / 1e6;
}

}  // namespace brantel
