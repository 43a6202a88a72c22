// The process's processor time beside the wall clock, for the watchdog.
#pragma once
#include <cstdint>

struct ProcessClock {
  uint64_t processorNs = 0;  // every thread of this process, user and system
  uint64_t wallNs = 0;       // a monotonic clock
};

// false when a clock cannot be read.
bool ReadProcessClock(ProcessClock* clock);
