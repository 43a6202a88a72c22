#include "linux/kit/process_time.h"

#include <ctime>

namespace {

bool ReadNs(clockid_t id, uint64_t* ns) {
  timespec value{};
  if (clock_gettime(id, &value) != 0) return false;
  *ns = static_cast<uint64_t>(value.tv_sec) * 1000000000ull + static_cast<uint64_t>(value.tv_nsec);
  return true;
}

}  // namespace

bool ReadProcessClock(ProcessClock* clock) {
  return ReadNs(CLOCK_PROCESS_CPUTIME_ID, &clock->processorNs) && ReadNs(CLOCK_MONOTONIC, &clock->wallNs);
}
