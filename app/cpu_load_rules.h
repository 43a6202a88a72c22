// The watchdog's decision over its stream of processor-use samples, and the
// scale its fallback measurement shares with the performance counter.
#pragma once
#include <cstdint>

constexpr double kHighLoadThreshold = 90.0;  // a sample must be strictly above it
constexpr int32_t kHighLoadSamples = 10;     // in a row
constexpr uint32_t kSampleIntervalMs = 1000;
// The performance counter needs two collections before it has a rate; after
// this many samples in a row without a value it is given up for the
// process's own times.
constexpr int32_t kSilentCounterSamples = 3;

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

// Consecutive samples the performance counter gave no value.
struct CounterSilence {
  int32_t silentSamples = 0;
};

// Notes whether the counter gave a value this sample. 1 once it has been
// silent for kSilentCounterSamples in a row (never set up for this process,
// or no instance of its name), else 0.
int CounterGivesUp(CounterSilence* silence, int yieldedValue);

// Processor use in the counter's own scale: percent of one processor over
// the wall time, so two busy processors read 200. 0 when no time passed.
double ProcessorPercent(uint64_t processorTime, uint64_t wallTime);
