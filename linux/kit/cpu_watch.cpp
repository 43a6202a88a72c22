#include "linux/kit/cpu_watch.h"

namespace {

uint64_t Since(uint64_t now, uint64_t before) { return now >= before ? now - before : 0; }

}  // namespace

bool CpuWatch::Sample(const ProcessClock& now, bool loading) {
  lastPercent_ = ProcessorPercent(Since(now.processorNs, last_.processorNs), Since(now.wallNs, last_.wallNs));
  last_ = now;
  if (loading) {
    count_.highSamples = 0;  // loading pictures is no runaway
    return false;
  }
  return CountLoadSample(&count_, lastPercent_) != 0;
}
