// The star field on X11: the platform-free StarField with its Linux host and
// picture shelf, and what the star windows report, on the main thread. The
// program hands it input already taken from the listener's queue.
#pragma once
#include <cstdint>
#include <vector>

#include "base/settings.h"
#include "linux/linux_field_host.h"
#include "linux/plain/status_text.h"
#include "linux/star_window_events.h"
#include "linux/x_display.h"
#include "linux/x_picture_shelf.h"
#include "stars/star_field.h"

class FieldShell final : private StarWindowEvents {
 public:
  // The display outlives the shell; the settings are its own copy.
  FieldShell(XDisplay& display, const SettingsRecord& settings);
  ~FieldShell();
  FieldShell(const FieldShell&) = delete;
  FieldShell& operator=(const FieldShell&) = delete;

  // The built-in star and artwork, the settings' picture folder; false when
  // not even the built-in star could be made.
  bool Start();
  void Click(int32_t x, int32_t y);
  void Move(int32_t x, int32_t y);
  void Figures(StatusFigures* figures) const;
  void Stars(std::vector<StarLine>* stars) const;

 private:
  void OnStarGrabbed(uintptr_t handle) override { field_.GrabStar(handle); }
  void OnStarDropped(uintptr_t handle) override { field_.ConnectStar(handle); }
  bool ManyStarsGrabbed() const override { return field_.EnsureManyStars() != 0; }
  void OnStarMenu(uintptr_t handle, StarMenuChoice choice) override;
  void Input(InputKind kind, int32_t x, int32_t y);

  XDisplay& display_;
  SettingsRecord settings_;
  XPictureShelf shelf_;
  LinuxFieldHost host_;
  StarField field_;
  uint64_t ticks_ = 0;
  int32_t lastMoveX_ = 0;
  int32_t lastMoveY_ = 0;
  int32_t lastDistance_ = 0;
};
