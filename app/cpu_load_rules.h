// The watchdog's decision over its stream of processor-use samples, and the
// scale of its measurement.
#pragma once
#include <cstdint>

constexpr double kHighLoadThreshold = 90.0;  // a sample must be strictly above it
constexpr int32_t kHighLoadSamples = 10;     // in a row
constexpr uint32_t kSampleIntervalMs = 1000;

// Consecutive samples above the threshold so far.
struct HighLoadCount {
  int32_t highSamples = 0;
};

// Counts one sample: a high one adds to the run, any other ends it. 1 once
// the run has reached ten samples, else 0.
int CountLoadSample(HighLoadCount* count, double percent);

// Work the watchdog counts (picture loads, the main thread's message
// handlers) as it saw it at its last sample.
struct ActivitySeen {
  int32_t done = 0;
};

// 1 when such work was under way at any time since the last sample (some
// runs now, or some ended since), else 0; notes what it saw for the next
// sample.
int ActiveSinceLastSample(ActivitySeen* seen, int32_t running, int32_t done);

// Processor use in percent of one processor over
// the wall time, so two busy processors read 200. 0 when no time passed.
double ProcessorPercent(uint64_t processorTime, uint64_t wallTime);
