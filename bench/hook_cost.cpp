// What one call of each hook procedure costs, under Wine, beside what a hook
// cannot avoid, measured in the same run: CallNextHookEx for every call, and
// one PostMessage more for a call that reports a move. One open, map, copy,
// unmap and close of a cell (the way the cells were once read on every
// access) is printed as a yardstick. The machine is shared and noisy: each
// figure is the median of several rounds taken in turn with the floors.
// Run it from the folder that holds nivlet2.dll; prints microseconds per call.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "app/hook_library.h"
#include "app/mm_file.h"
#include "base/settings.h"
#include "cells/shared_cells.h"

namespace {

constexpr int kCalls = 4000;
constexpr int kRounds = 5;
// Posted messages are taken from the queue between batches, outside the timing.
constexpr int kBatch = 100;
using HookProc = LRESULT(CALLBACK*)(int, WPARAM, LPARAM);

// The program's side, as this benchmark plays it: its window and its cells.
HWND mainWindow = nullptr;
ProgramCells programCells;

LARGE_INTEGER Now() {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return now;
}

double Microseconds(LONGLONG ticks) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(ticks) * 1e6 / static_cast<double>(frequency.QuadPart);
}

void DrainQueue() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
}

// Microseconds per call of `call(i)`, timed in batches; between batches the
// queue is emptied, as the program would take the posted messages.
template <typename Call>
double PerCall(Call call) {
  LONGLONG ticks = 0;
  for (int done = 0; done < kCalls; done += kBatch) {
    LARGE_INTEGER start = Now();
    for (int i = done; i < done + kBatch; ++i) call(i);
    ticks += Now().QuadPart - start.QuadPart;
    DrainQueue();
  }
  return Microseconds(ticks) / kCalls;
}

struct Moves {
  HookProc procedure;
  HWND target;
};

// Mouse moves whose x alternates by `step`: 2 pixels stay below the movement
// rule, 40 pixels make every step report PWM_HOOK_MOVE (to a window of this
// thread). After each call the report is taken, as the program takes it, so
// that every call of a reporting round posts.
double MouseMoveCost(const Moves& moves, int32_t step) {
  MOUSEHOOKSTRUCT record{};
  record.hwnd = moves.target;
  record.pt = POINT{400, 300};
  moves.procedure(HC_ACTION, WM_MOUSEMOVE, reinterpret_cast<LPARAM>(&record));
  return PerCall([&](int i) {
    record.pt.x = 400 + ((i & 1) != 0 ? 0 : step);
    moves.procedure(HC_ACTION, WM_MOUSEMOVE, reinterpret_cast<LPARAM>(&record));
    programCells.ClearHookPending();
  });
}

// Each key report is taken at once, as the program takes it, so a reporting
// round posts on every call.
double KeyCost(HookProc procedure, WPARAM key) {
  return PerCall([&](int) {
    procedure(HC_ACTION, key, 0x001C0001);
    programCells.ClearKeyPending();
  });
}

double NextHookFloor() {
  MOUSEHOOKSTRUCT record{};
  return PerCall([&](int) { CallNextHookEx(nullptr, HC_ACTION, WM_MOUSEMOVE, reinterpret_cast<LPARAM>(&record)); });
}

double NextHookAndPostFloor() {
  MOUSEHOOKSTRUCT record{};
  return PerCall([&](int i) {
    PostMessageA(mainWindow, WM_APP, 0, i);
    CallNextHookEx(nullptr, HC_ACTION, WM_MOUSEMOVE, reinterpret_cast<LPARAM>(&record));
  });
}

double OneCellRead() {
  SharedCells cells;
  int32_t value = 0;
  return PerCall([&](int) { cells.ReadCellInt(&value, cellNames[CELL_MOUSEX]); });
}

void SetReactions(int32_t click, int32_t move, int32_t key, int32_t enterOnly) {
  SettingsRecord settings{};
  settings.reactMouseClick = click;
  settings.reactMouseMove = move;
  settings.reactKey = key;
  settings.reactEnterKey = enterOnly;
  programCells.UpdateMMFile(settings);
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// One line of the table: a figure measured in each round.
struct Row {
  const char* label;
  int floor;  // 0: CallNextHookEx, 1: CallNextHookEx + PostMessage, -1: none
  double (*measure)(const Moves& moves, HookProc key);
  std::vector<double> figures;
};

LRESULT CALLBACK QuietProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(window, message, wParam, lParam);
}

HookProc Entry(HMODULE library, const char* name) {
  return reinterpret_cast<HookProc>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

}  // namespace

int main() {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = QuietProc;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = "Tovik2HookCost";
  RegisterClassA(&windowClass);
  mainWindow = CreateWindowExA(0, windowClass.lpszClassName, "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                               windowClass.hInstance, nullptr);
  HWND target = CreateWindowExA(0, windowClass.lpszClassName, "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                windowClass.hInstance, nullptr);
  if (mainWindow == nullptr || target == nullptr) return 1;

  // Before the program has made the cells: the procedures only pass on, and
  // try to find the cells again at most once a second.
  double withoutCells = 0;
  double floorWithoutCells = NextHookFloor();
  {
    HMODULE bare = LoadLibraryW(L"nivlet2.dll");
    HookProc mouse = bare != nullptr ? Entry(bare, "MyHookProcM") : nullptr;
    if (mouse == nullptr) {
      std::printf("nivlet2.dll could not be loaded beside this program\n");
      return 1;
    }
    withoutCells = MouseMoveCost(Moves{mouse, target}, 40);
    FreeLibrary(bare);
  }

  programCells.SetUpMMFile(mainWindow);
  HookLibrary hooks;
  if (hooks.LoadHookLibrary() != 1) {
    std::printf("nivlet2.dll could not be loaded beside this program\n");
    return 1;
  }
  Moves moves{Entry(hooks.Module(), "MyHookProcM"), target};
  HookProc key = Entry(hooks.Module(), "MyHookProcK");
  if (moves.procedure == nullptr || key == nullptr) return 1;

  // One unmeasured round first, so the first figure pays no start-up costs.
  SetReactions(1, 1, 0, 0);
  MouseMoveCost(moves, 2);

  std::vector<double> floors[2];
  Row rows[] = {
      {"one cell read:", -1, [](const Moves&, HookProc) { return OneCellRead(); }, {}},
      {"MyHookProcM move, move reaction off:", 0,
       [](const Moves& m, HookProc) { SetReactions(1, 0, 0, 0); return MouseMoveCost(m, 2); }, {}},
      {"MyHookProcM move, move reaction on:", 0,
       [](const Moves& m, HookProc) { SetReactions(1, 1, 0, 0); return MouseMoveCost(m, 2); }, {}},
      {"MyHookProcM move, on, PWM_HOOK_MOVE sent:", 1,
       [](const Moves& m, HookProc) { SetReactions(1, 1, 0, 0); return MouseMoveCost(m, 40); }, {}},
      {"MyHookProcM move, both reactions off:", 0,
       [](const Moves& m, HookProc) { SetReactions(0, 0, 0, 0); return MouseMoveCost(m, 2); }, {}},
      {"MyHookProcK letter, Enter only:", 0,
       [](const Moves&, HookProc k) { SetReactions(0, 0, 1, 1); return KeyCost(k, 'A'); }, {}},
      {"MyHookProcK letter, all keys, no caret:", 0,
       [](const Moves&, HookProc k) { SetReactions(0, 0, 1, 0); return KeyCost(k, 'A'); }, {}},
      {"MyHookProcK letter, key reaction off:", 0,
       [](const Moves&, HookProc k) { SetReactions(0, 0, 0, 0); return KeyCost(k, 'A'); }, {}},
  };
  for (int round = 0; round < kRounds; ++round) {
    floors[0].push_back(NextHookFloor());
    floors[1].push_back(NextHookAndPostFloor());
    for (Row& row : rows) row.figures.push_back(row.measure(moves, key));
  }

  const double floor[2] = {Median(floors[0]), Median(floors[1])};
  const char* floorName[2] = {"CallNextHookEx", "CallNextHookEx + PostMessage"};
  std::printf("floor: CallNextHookEx:                      %7.2f us\n", floor[0]);
  std::printf("floor: CallNextHookEx + PostMessage:        %7.2f us\n", floor[1]);
  for (const Row& row : rows) {
    double figure = Median(row.figures);
    if (row.floor < 0) {
      std::printf("%-43s %7.2f us   (open, map, copy, unmap, close: the yardstick)\n", row.label, figure);
    } else {
      std::printf("%-43s %7.2f us   %5.2f x floor (%s)\n", row.label, figure, figure / floor[row.floor],
                  floorName[row.floor]);
    }
  }
  std::printf("%-43s %7.2f us   %5.2f x floor (CallNextHookEx, measured beside it)\n",
              "MyHookProcM move, no cells yet:", withoutCells, withoutCells / floorWithoutCells);

  hooks.FreeHookLibrary();
  DestroyWindow(target);
  DestroyWindow(mainWindow);
  return 0;
}
