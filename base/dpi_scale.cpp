#include "base/dpi_scale.h"

#include <atomic>

namespace {

// Written by the main thread at a start of the star field, read by the
// folder loader's worker too.
std::atomic<int32_t> processDpi{kBaseDpi};

bool Usable(int32_t dpi) { return dpi >= kMinDpi && dpi <= kMaxDpi; }

}  // namespace

int32_t ScaleToDpi(int32_t value, int32_t dpi) {
  if (dpi == kBaseDpi || !Usable(dpi)) return value;
  const int64_t product = static_cast<int64_t>(value) * dpi;
  const int64_t half = kBaseDpi / 2;
  const int64_t rounded = product >= 0 ? (product + half) / kBaseDpi : -((-product + half) / kBaseDpi);
  return static_cast<int32_t>(rounded);
}

int32_t ProcessDpi() { return processDpi.load(std::memory_order_relaxed); }

void SetProcessDpi(int32_t dpi) { processDpi.store(Usable(dpi) ? dpi : kBaseDpi, std::memory_order_relaxed); }
