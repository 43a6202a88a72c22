#include "probe_status.h"

#include <cstdint>
#include <cstdio>

#include "cells/private_messages.h"
#include "cells/program_status.h"

namespace {

constexpr DWORD kPollMs = 10;

bool Ask(const char* className, ProgramStatus* status) {
  HWND window = FindWindowA(className, nullptr);
  DWORD_PTR answer = 0;
  if (window == nullptr ||
      !SendMessageTimeoutA(window, PWM_QUERY_STATUS, 0, 0, SMTO_NORMAL, 5000, &answer)) {
    return false;
  }
  *status = UnpackStatus(answer);
  return true;
}

void Print(const ProgramStatus& s) {
  std::printf("moving=%d inside=%d loading=%d queued=%d telling=%d fullscreen=%d settings=%d ticks=%u\n",
              s.moving ? 1 : 0, s.insideHandler ? 1 : 0, s.loading ? 1 : 0, s.queued ? 1 : 0, s.telling ? 1 : 0,
              s.fullScreen ? 1 : 0, s.settingsOpen ? 1 : 0, s.ticks);
}

// Polls the status until `done` holds for it (up to MS); leaves the last in
// *status (answered: whether any came).
template <typename Done>
bool PollFor(const char* className, DWORD ms, Done done, ProgramStatus* status, bool* answered) {
  *answered = false;
  DWORD start = GetTickCount();
  for (;;) {
    if (Ask(className, status)) {
      *answered = true;
      if (done(*status)) return true;
    }
    if (GetTickCount() - start >= ms) return false;
    Sleep(kPollMs);
  }
}

// The same, printing the status it last saw.
template <typename Done>
int WaitFor(const char* className, DWORD ms, Done done) {
  ProgramStatus status{};
  bool answered = false;
  bool met = PollFor(className, ms, done, &status, &answered);
  if (!answered) {
    std::printf("no_answer\n");
    return 1;
  }
  if (!met) std::printf("not_yet ");
  Print(status);
  return met ? 0 : 1;
}

// Holds once n ticks have passed since its first call, or nothing moves.
struct TicksPassed {
  unsigned n;
  bool known = false;
  uint32_t first = 0;
  bool operator()(const ProgramStatus& s) {
    if (!known) {
      first = s.ticks;
      known = true;
    }
    return !s.moving || s.ticks - first >= n;
  }
};

}  // namespace

int Status(const char* className) {
  ProgramStatus status{};
  if (!Ask(className, &status)) {
    std::printf("no_answer\n");
    return 1;
  }
  Print(status);
  return 0;
}

int Quiet(const char* className, DWORD ms) {
  return WaitFor(className, ms, [](const ProgramStatus& s) { return !s.moving && !s.insideHandler && !s.loading && !s.queued && !s.telling;
  });
}

int Still(const char* className, DWORD ms) {
  return WaitFor(className, ms, [](const ProgramStatus& s) { return !s.moving && !s.queued; });
}

int Ticks(const char* className, unsigned n, DWORD ms) { return WaitFor(className, ms, TicksPassed{n}); }

bool ProgramTicks(const char* className, uint32_t* ticks) {
  ProgramStatus status{};
  if (!Ask(className, &status)) return false;
  *ticks = status.ticks;
  return true;
}

bool TicksPass(const char* className, unsigned n, DWORD ms) {
  ProgramStatus status{};
  bool answered = false;
  return PollFor(className, ms, TicksPassed{n}, &status, &answered);
}
