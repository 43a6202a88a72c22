#include "app/cpu_load_rules.h"

int CountLoadSample(HighLoadCount* count, double percent) {
  if (percent > kHighLoadThreshold) {
    ++count->highSamples;
  } else {
    count->highSamples = 0;
  }
  return count->highSamples >= kHighLoadSamples ? 1 : 0;
}

int ActiveSinceLastSample(ActivitySeen* seen, int32_t running, int32_t done) {
  int active = running > 0 || done != seen->done ? 1 : 0;
  seen->done = done;
  return active;
}

double ProcessorPercent(uint64_t processorTime, uint64_t wallTime) {
  if (wallTime == 0) return 0.0;
  return 100.0 * static_cast<double>(processorTime) / static_cast<double>(wallTime);
}
