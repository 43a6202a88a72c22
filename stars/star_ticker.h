// The motion timer of the star field: it runs only while something moves or
// bombs, and remembers when the last tick ran so that the input path can run
// a tick that is due (a flood of input keeps the queue from ever being empty).
#pragma once
#include <cstdint>

#include "stars/field_host.h"
#include "stars/motion_rules.h"

class StarTicker {
 public:
  explicit StarTicker(FieldHost& host) : host_(host) {}

  // Starts the ticks unless they run: something moves or bombs again. A timer
  // that starts afresh is not due at once: the first tick comes a period
  // after the star was shown.
  void Start() {
    if (running_) return;
    lastTick_ = host_.Now();
    running_ = host_.StartTicks();
  }
  void Stop() {
    if (!running_) return;
    host_.StopTicks();
    running_ = false;
  }
  // A tick runs now.
  void Ticked() { lastTick_ = host_.Now(); }
  // Whether a tick is due at `now`: the ticks run and the last is a period old.
  bool Due(uint32_t now) const { return running_ && now - lastTick_ >= STAR_TIMER_INTERVAL; }

  bool Running() const { return running_; }
  uint32_t LastTick() const { return lastTick_; }

 private:
  FieldHost& host_;
  bool running_ = false;
  uint32_t lastTick_ = 0;
};
