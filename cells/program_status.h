// What the main window answers to PWM_QUERY_STATUS, for observers that wait
// on the program's state rather than on time (the end-to-end probe): whether
// a star moves or bombs (the motion timer runs), whether the main thread is
// inside a handler (a menu or a box of a handler shows), whether it tells the
// user something (a message box shows, on any thread), whether a full-screen
// program in front holds input from making stars (as the program last
// looked), whether the settings dialog is open (input makes nothing then),
// whether posted messages (moves
// and keys of the hook) wait in its queue, whether a picture folder still
// loads, and how many motion ticks it has handled so far.
#pragma once
#include <cstdint>

struct ProgramStatus {
  bool moving;
  bool insideHandler;
  bool loading;
  bool queued;
  bool telling;
  bool fullScreen;
  bool settingsOpen;
  uint32_t ticks;  // wraps
};

constexpr uint64_t PackStatus(const ProgramStatus& status) {
  return (status.moving ? 1u : 0u) | (status.insideHandler ? 2u : 0u) | (status.loading ? 4u : 0u) |
         (status.queued ? 8u : 0u) | (status.telling ? 16u : 0u) |
         (status.fullScreen ? 32u : 0u) | (status.settingsOpen ? 64u : 0u) |
         (static_cast<uint64_t>(status.ticks) << 8);
}

constexpr ProgramStatus UnpackStatus(uint64_t packed) {
  return ProgramStatus{(packed & 1u) != 0, (packed & 2u) != 0, (packed & 4u) != 0, (packed & 8u) != 0,
                       (packed & 16u) != 0, (packed & 32u) != 0, (packed & 64u) != 0,
                       static_cast<uint32_t>(packed >> 8)};
}
