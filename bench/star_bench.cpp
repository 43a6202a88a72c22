// Timing harness for the star field under Wine: real star windows over a
// hidden owner window, timed with the performance counter. Prints the median
// and the fastest of several rounds for each case, and beside it the same
// figures for what the platform itself needs to do the job with bare layered
// windows (the floor), with the ratio of the medians.
//   wine star_bench.exe [rounds]
//   wine star_bench.exe mimic [count] [spacing ms] [ticks each] [left] [top]   (see MimicSweep)
//   wine star_bench.exe parts [count]   (see WindowParts)
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <cstdlib>
#include <vector>

#include "base/owned_handles.h"
#include "base/settings.h"
#include "base/ui_texts.h"
#include "cells/private_messages.h"
#include "images/win32/alpha_bitmap.h"
#include "images/win32/image_set.h"
#include "stars/win32/pupil_window.h"
#include "stars/random_source.h"
#include "stars/win32/win32_star_field.h"

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

UniqueBitmap MakePicture(int side) {
  BITMAPV5HEADER header;
  UniqueBitmap bitmap = CreateBitmapV5(&header, side, side);
  auto* pixels = static_cast<uint32_t*>(AlphaBitmapBits(bitmap.Get()));
  if (pixels == nullptr) return bitmap;
  for (int i = 0; i < side * side; ++i) pixels[i] = 0xC0604020u;
  return bitmap;
}

// Ends the star field's windows and starts an empty list.
void RestartList(Win32StarField& field) {
  field.Pool().FreeStarList();
  Pump();
  field.Pool().CreateStarList();
}

// Every star comes to rest and waits in the pool.
void RestAll(Win32StarField& field) {
  for (int tick = 0; tick < 8; ++tick) field.MoveStar();
}

// Sets every star flying again without touching its window.
void Relaunch(Win32StarField& field) {
  for (Star* s = field.Pool().starListHead->next; s != field.Pool().starListTail; s = s->next) {
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

void Print(const char* what, Result r, Result floor, const char* unit) {
  std::printf("%-44s median %9.2f %s   fastest %9.2f %s   floor median %9.2f %s   fastest %9.2f %s   x%.2f\n",
              what, r.median, unit, r.fastest, unit, floor.median, unit, floor.fastest, unit,
              floor.median > 0 ? r.median / floor.median : 0.0);
}

// The floor: bare layered windows of the same picture, made, shown, moved
// and hidden with the calls a star window cannot do without.
class BareWindows {
 public:
  explicit BareWindows(HWND owner, HDC picture, int side) : owner_(owner), picture_(picture), side_(side) {}
  ~BareWindows() { Clear(); }

  HWND MakeAndShow(int x, int y) {
    HWND window = CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_LAYERED, "STATIC", nullptr, WS_POPUP, x, y, side_,
                                  side_, owner_, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (window == nullptr) return nullptr;
    POINT source{0, 0};
    SIZE size{side_, side_};
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    ScreenDC screen(nullptr);
    UpdateLayeredWindow(window, screen.Get(), nullptr, &size, picture_, &source, 0, &blend, ULW_ALPHA);
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE);
    windows_.push_back(window);
    return window;
  }
  void MoveAllBy(int dx, int dy) {
    x_ += dx;
    y_ += dy;
    for (HWND window : windows_) {
      SetWindowPos(window, nullptr, x_, y_, 0, 0, SWP_NOSIZE | SWP_NOREDRAW | SWP_NOACTIVATE | SWP_NOZORDER);
    }
  }
  static void Hide(HWND window) {
    SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE);
  }
  static void Show(HWND window) {
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE);
  }
  void Clear() {
    for (HWND window : windows_) DestroyWindow(window);
    windows_.clear();
    Pump();
  }

 private:
  HWND owner_;
  HDC picture_;
  int side_;
  std::vector<HWND> windows_;
  int x_ = 640;
  int y_ = 512;
};

// The display work of a sweep's stars without Tovik2: `count` bare layered
// windows shown one every `spacingMs`, each moved once per motion period for
// `ticksEach` periods and then hidden, by a plain program without hooks. The
// move flood bench runs it beside a sweep as the floor of showing stars.
int MimicSweep(int count, int spacingMs, int ticksEach, int x0, int y0) {
  HWND owner = CreateWindowExA(WS_EX_TOOLWINDOW, "STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
  UniqueBitmap bitmap = MakePicture(48);
  UniqueDC picture(CreateCompatibleDC(nullptr));  // goes before the bitmap selected into it
  if (owner == nullptr || !bitmap || !picture) return 1;
  SelectObject(picture.Get(), bitmap.Get());
  BareWindows bare(owner, picture.Get(), 48);
  std::vector<HWND> shown;
  std::vector<int> ticksLeft;
  ULONGLONG start = GetTickCount64(), nextTick = start + STAR_TIMER_INTERVAL;
  int made = 0;
  std::printf("mimicking\n");
  std::fflush(stdout);
  for (;;) {
    ULONGLONG now = GetTickCount64();
    if (made < count && now >= start + static_cast<ULONGLONG>(made) * spacingMs) {
      shown.push_back(bare.MakeAndShow(x0 + made * 37 % 300, y0 + made * 13 % 40));
      ticksLeft.push_back(ticksEach);
      ++made;
    }
    if (now >= nextTick) {
      nextTick += STAR_TIMER_INTERVAL;
      bool moving = false;
      for (size_t k = 0; k < shown.size(); ++k) {
        if (ticksLeft[k] == 0) continue;
        RECT rect{};
        GetWindowRect(shown[k], &rect);
        SetWindowPos(shown[k], nullptr, rect.left + 3, rect.top + 2, 0, 0,
                     SWP_NOSIZE | SWP_NOREDRAW | SWP_NOACTIVATE | SWP_NOZORDER);
        if (--ticksLeft[k] == 0) BareWindows::Hide(shown[k]);
        moving = moving || ticksLeft[k] > 0;
      }
      if (!moving && made == count) break;
    }
    Pump();
    Sleep(2);
  }
  bare.Clear();
  DestroyWindow(owner);
  return 0;
}

// Where a new star window's time goes: making the hidden window, giving it
// its picture, showing it, then hiding and showing it again (a reuse), each
// over `count` windows of a 72 x 72 picture; microseconds per window.
int WindowParts(int count) {
  HWND owner = CreateWindowExA(WS_EX_TOOLWINDOW, "STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
  UniqueBitmap bitmap = MakePicture(72);
  UniqueDC picture(CreateCompatibleDC(nullptr));
  if (owner == nullptr || !bitmap || !picture) return 1;
  SelectObject(picture.Get(), bitmap.Get());
  double perMicro = TicksPerMicrosecond();
  std::vector<PupilWindow> windows(count);
  auto time = [&](const char* what, auto&& step) {
    LONGLONG start = Now();
    for (int k = 0; k < count; ++k) step(windows[k], k);
    std::printf("%-40s %9.1f us per window\n", what, (Now() - start) / perMicro / count);
    Pump();
  };
  time("create hidden", [&](PupilWindow& w, int) { w.Create(owner, nullptr); });
  time("give the picture (hidden)", [&](PupilWindow& w, int) { w.SetImage(picture.Get(), 72, 72); });
  time("show topmost at a point", [&](PupilWindow& w, int k) { w.ShowTopmostAt(POINT{200 + k * 7, 300}); });
  time("move", [&](PupilWindow& w, int k) { w.MoveTo(POINT{210 + k * 7, 305}); });
  time("hide", [&](PupilWindow& w, int) { w.Hide(); });
  time("show again (a reuse)", [&](PupilWindow& w, int k) { w.ShowTopmostAt(POINT{200 + k * 7, 300}); });
  time("hide again", [&](PupilWindow& w, int) { w.Hide(); });
  windows.clear();
  Pump();
  DestroyWindow(owner);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && std::strcmp(argv[1], "mimic") == 0) {
    return MimicSweep(argc > 2 ? std::atoi(argv[2]) : 26, argc > 3 ? std::atoi(argv[3]) : 58,
                      argc > 4 ? std::atoi(argv[4]) : 12, argc > 5 ? std::atoi(argv[5]) : 400,
                      argc > 6 ? std::atoi(argv[6]) : 300);
  }
  if (argc > 1 && std::strcmp(argv[1], "parts") == 0) return WindowParts(argc > 2 ? std::atoi(argv[2]) : 40);
  int rounds = argc > 1 ? std::atoi(argv[1]) : 15;
  if (rounds < 1) rounds = 1;
  double perMicro = TicksPerMicrosecond();

  HWND owner = CreateWindowExA(WS_EX_TOOLWINDOW, "STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
  SettingsRecord settings{};
  settings.moveRange = 70;
  Win32StarField field(StarFieldHost{owner, nullptr, &UiTexts, &settings});
  if (owner == nullptr || StockStarImage(MakePicture(72), &field.StarImageList) == nullptr) {
    std::printf("no owner window or picture\n");
    return 1;
  }
  HDC picture = field.StarImageList.Get(0)->DC();
  SeedRandomSource(GetTickCount());
  field.Pool().CreateStarList();
  BareWindows bare(owner, picture, 72);

  // One event makes at most 99 stars: 90 a round keeps to one event.
  const int perEvent = 90;
  settings.quantity = perEvent;
  std::vector<double> created, recycled, bareCreated, bareReshown;
  for (int round = 0; round < rounds; ++round) {
    RestartList(field);
    LONGLONG start = Now();
    field.GenerateStars(InputKind::kClick, 640, 512);
    created.push_back((Now() - start) / perMicro / perEvent);
    RestAll(field);
    start = Now();
    field.GenerateStars(InputKind::kClick, 640, 512);
    recycled.push_back((Now() - start) / perMicro / perEvent);
    Pump();

    bare.Clear();
    std::vector<HWND> made;
    start = Now();
    for (int k = 0; k < perEvent; ++k) made.push_back(bare.MakeAndShow(640, 512));
    bareCreated.push_back((Now() - start) / perMicro / perEvent);
    for (HWND window : made) BareWindows::Hide(window);
    start = Now();
    for (HWND window : made) BareWindows::Show(window);
    bareReshown.push_back((Now() - start) / perMicro / perEvent);
    Pump();
  }
  bare.Clear();
  Print("GenerateStars, per new star (new window)", Summarise(created), Summarise(bareCreated), "us");
  Print("GenerateStars, per recycled star", Summarise(recycled), Summarise(bareReshown), "us");

  for (int moving : {100, 1000}) {
    RestartList(field);
    while (field.StarCount() < moving) {
      settings.quantity = std::min(99, moving - field.StarCount());
      field.GenerateStars(InputKind::kClick, 640, 512);
    }
    bare.Clear();
    for (int k = 0; k < moving; ++k) bare.MakeAndShow(640, 512);
    std::vector<double> ticks, bareTicks;
    for (int round = 0; round < rounds * 4; ++round) {
      Relaunch(field);
      LONGLONG start = Now();
      field.MoveStar();
      ticks.push_back((Now() - start) / perMicro / 1000.0);
      Pump();
      int step = round % 2 == 0 ? 16 : -16;
      start = Now();
      bare.MoveAllBy(step, -step);
      bareTicks.push_back((Now() - start) / perMicro / 1000.0);
      Pump();
    }
    char label[64];
    std::snprintf(label, sizeof label, "MoveStar, one tick with %d moving stars", moving);
    Print(label, Summarise(ticks), Summarise(bareTicks), "ms");
  }

  bare.Clear();
  field.StopPipwink();
  Pump();
  DestroyWindow(owner);
  return 0;
}
