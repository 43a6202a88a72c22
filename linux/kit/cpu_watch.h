// The watchdog's rule over its readings of the process clock: the program
// ends after ten samples in a row above 90 % of one processor. Samples taken
// while pictures load never count, and a pause (no sample while nothing ran)
// starts the measurement afresh.
#pragma once
#include "app/cpu_load_rules.h"
#include "linux/kit/process_time.h"

class CpuWatch {
 public:
  // Starts measuring from this reading.
  explicit CpuWatch(const ProcessClock& start) : last_(start) {}

  // One sample at this reading; loading tells whether a picture load was
  // under way since the last one. true when the program is to end.
  bool Sample(const ProcessClock& now, bool loading);

  // Nothing ran since the last sample: measure from here next time.
  void Skip(const ProcessClock& now) { last_ = now; }

  // The processor use the last sample saw, in percent of one processor.
  double LastPercent() const { return lastPercent_; }

 private:
  ProcessClock last_;
  HighLoadCount count_;
  double lastPercent_ = 0.0;
};
