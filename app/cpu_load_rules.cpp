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

int CounterGivesUp(CounterSilence* silence, int yieldedValue) {
  silence->silentSamples = yieldedValue ? 0 : silence->silentSamples + 1;
  return silence->silentSamples >= kSilentCounterSamples ? 1 : 0;
}

double ProcessorPercent(uint64_t processorTime, uint64_t wallTime) {
  if (wallTime == 0) return 0.0;
  return 100.0 * static_cast<double>(processorTime) / static_cast<double>(wallTime);
}
