// Timing harness for the star field under Wine: real star windows over a
// hidden owner window, timed with the performance counter. Prints the median
// and the fastest of several rounds for each case.
//   wine star_bench.exe [rounds]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "base/app_state.h"
#include "base/settings.h"
#include "cells/private_messages.h"
#include "images/alpha_bitmap.h"
#include "images/image_set.h"
#include "stars/pupil_window.h"
#include "stars/random_source.h"
#include "stars/star_field.h"

namespace {

double TicksPerMicrosecond() {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(frequency.QuadPart) / 1e6;
}

LONGLONG Now() {
  LARGE_INTEGER counter;
  QueryPerformanceCounter(&counter);
  return counter.QuadPart;
}

void Pump() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
}

HBITMAP MakePicture(int side) {
  BITMAPV5HEADER header;
  HBITMAP bitmap = CreateBitmapV5(&header, side, side);
  auto* pixels = static_cast<uint32_t*>(AlphaBitmapBits(bitmap));
  if (pixels == nullptr) return bitmap;
  for (int i = 0; i < side * side; ++i) pixels[i] = 0xC0604020u;
  return bitmap;
}

// Ends the star field's windows and starts an empty list.
void RestartList() {
  FreeStarList();
  Pump();
  CreateStarList();
}

// Every star comes to rest and waits in the pool.
void RestAll() {
  for (int tick = 0; tick < 8; ++tick) MoveStar();
}

// Sets every star flying again without touching its window.
void Relaunch() {
  for (Star* s = starListHead->next; s != starListTail; s = s->next) {
    s->inUse = 1;
    s->delay = 0;
    s->vx = 32;
    s->vy = -32;
  }
}

struct Result {
  double median;
  double fastest;
};

Result Summarise(std::vector<double> samples) {
  std::sort(samples.begin(), samples.end());
  return Result{samples[samples.size() / 2], samples.front()};
}

void Print(const char* what, Result r, const char* unit) {
  std::printf("%-44s median %9.2f %s   fastest %9.2f %s\n", what, r.median, unit, r.fastest, unit);
}

}  // namespace

int main(int argc, char** argv) {
  int rounds = argc > 1 ? std::atoi(argv[1]) : 15;
  if (rounds < 1) rounds = 1;
  double perMicro = TicksPerMicrosecond();

  mainWindow = CreateWindowExA(WS_EX_TOOLWINDOW, "STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr,
                               nullptr, GetModuleHandleA(nullptr), nullptr);
  HBITMAP picture = MakePicture(72);
  if (mainWindow == nullptr || StockStarImage(picture, &StarImageList) == nullptr) {
    std::printf("no owner window or picture\n");
    return 1;
  }
  Settings.moveRange = 70;
  SeedRandomSource(GetTickCount());
  CreateStarList();

  const int perEvent = 100;
  Settings.quantity = perEvent;
  std::vector<double> created, recycled;
  for (int round = 0; round < rounds; ++round) {
    RestartList();
    LONGLONG start = Now();
    GenerateStars(PWM_HOOK_CLICK, 640, 512);
    created.push_back((Now() - start) / perMicro / perEvent);
    RestAll();
    start = Now();
    GenerateStars(PWM_HOOK_CLICK, 640, 512);
    recycled.push_back((Now() - start) / perMicro / perEvent);
    Pump();
  }
  Print("GenerateStars, per new star (new window)", Summarise(created), "us");
  Print("GenerateStars, per recycled star", Summarise(recycled), "us");

  for (int moving : {100, 1000}) {
    RestartList();
    Settings.quantity = moving;
    GenerateStars(PWM_HOOK_CLICK, 640, 512);
    std::vector<double> ticks;
    for (int round = 0; round < rounds * 4; ++round) {
      Relaunch();
      LONGLONG start = Now();
      MoveStar();
      ticks.push_back((Now() - start) / perMicro / 1000.0);
      Pump();
    }
    char label[64];
    std::snprintf(label, sizeof label, "MoveStar, one tick with %d moving stars", moving);
    Print(label, Summarise(ticks), "ms");
  }

  FreeStarList();
  Pump();
  ReleaseImageList(&StarImageList);
  DestroyWindow(mainWindow);
  return 0;
}
