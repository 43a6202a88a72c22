// The star field on X11: the platform-free StarField with its Linux host and
// picture shelf, and what the star windows report, on the main thread. The
// program hands it input already taken from the listener's queue. Only the
// implementation sees the field's headers: its input words and the kit
// queue's share a name.
#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "base/settings.h"
#include "linux/plain/status_text.h"
#include "linux/x_display.h"

class FieldShell {
 public:
  virtual ~FieldShell() = default;
  // The built-in star and artwork, the settings' picture folder; false when
  // not even the built-in star could be made.
  virtual bool Start() = 0;
  virtual void Click(int32_t x, int32_t y) = 0;
  virtual void Move(int32_t x, int32_t y) = 0;
  virtual void Key(int32_t x, int32_t y) = 0;
  virtual void Figures(StatusFigures* figures) const = 0;
  virtual void Stars(std::vector<StarLine>* stars) const = 0;
};

// The field on that display with those settings; the display outlives it.
std::unique_ptr<FieldShell> MakeFieldShell(XDisplay& display, const SettingsRecord& settings);
