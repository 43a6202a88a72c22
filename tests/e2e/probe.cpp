// The end-to-end tests' eyes and hands inside the Wine session.
//   probe list CLASS     one line per top-level window of the class:
//                        hwnd=0x... visible=0|1 rect=L,T,R,B exstyle=0x...
//   probe close CLASS    posts WM_CLOSE to every top-level window of the class
//   probe watch CLASS MS [STOPFILE]
//                        watches the class for MS milliseconds, or until
//                        STOPFILE exists (then looks once more); prints
//                        "watching" at once, then at the end max_visible=N and
//                        one line per window seen visible,
//                        with the rectangle it had when first seen
//   probe catch CLASS MS [HWND...]
//                        clicks a flying window of the class that is not among
//                        the given handles, at its centre while its program waits,
//                        until a press takes (within MS, or until every one
//                        has come to rest uncaught); prints caught=0x...
//                        rect=... where it stands two ticks later; prints
//                        "catching" first, once it watches, and
//                        missed=X,Y took=0x... for each press that caught
//                        nothing new (took=0x0: no window stepped under it)
//   probe item CLASS ID  one line per top-level window of the class that has a
//                        control of that id:
//                        hwnd=0x... item=0x... visible=0|1 enabled=0|1 rect=L,T,R,B text=...
//                        (the control's text in UTF-8, last on the line)
//   probe controls HWND  one line per control of the window, in their order:
//                        id=N class=... visible=0|1 checked=0|1|2 rect=L,T,R,B text=...
//   probe command TARGET ID
//                        posts WM_COMMAND with the id to TARGET: a window handle
//                        (0x...) or every top-level window of a class
//   probe command_on_flight CLASS TARGET ID MS
//                        prints "watching", then posts the command as probe
//                        command does as soon as a window of CLASS moves
//                        (within MS; exit 1 when none did)
//   probe foreground     hwnd=0x... focus=0x... class=... of the foreground window and
//                        its thread's focused window
//   probe ready CLASS MS waits (up to MS) until the first window of the class is
//                        the one the shared cells name and both hook cells are
//                        set, then until that window answers a sent message;
//                        prints ready=0x... hook_mouse=0x... hook_key=0x... priority=0x...
//                        (exit 1 when the time runs out)
//   probe track MS HWND...
//                        follows the given windows for MS milliseconds (or
//                        until all are gone); prints "tracking" at once, then
//                        a line whenever one changes:
//                        t=MS hwnd=0x... visible=0|1 rect=L,T,R,B, or
//                        t=MS hwnd=0x... gone ticks=LOW-HIGH (the motion ticks of
//                        the program in one of which it went; "unknown" without
//                        an answer)
//   probe sample CLASS OWNER MS STOPFILE
//                        samples the windows of CLASS until STOPFILE exists (or
//                        MS pass) and pings the first OWNER window (WM_NULL,
//                        5 s timeout) every 100 ms meanwhile; prints "sampling"
//                        at once, then a report (see Sample below)
//   probe pings OWNER STOPFILE [COUNT]
//                        sends the first OWNER window WM_NULL (5 s timeout) every
//                        20 ms until STOPFILE exists (or COUNT pings went); prints "pinging" at once,
//                        then pings=N failed=N p50_us=N p95_us=N max_us=N: how
//                        long the window took to answer from its queue
//   probe census CLASS LIBRARY
//                        the process of the first CLASS window: its working
//                        set and top-level windows, and the live GDI objects
//                        and heap bytes that LIBRARY (census.cpp), loaded
//                        into it, counts from the inside (Wine answers
//                        GetGuiResources with 0, and private bytes and handle
//                        counts of another process with 0 too):
//                        gdi=N dc=N memdc=N bitmap=N brush=N pen=N font=N
//                        region=N other=N heap_bytes=N heap_blocks=N
//                        working_set=N windows=N
//   probe menu CLASS LIBRARY
//                        the items of the popup menu that the process of the
//                        first CLASS window shows, read by LIBRARY inside it:
//                        one line each, "-" for a separator (exit 1 when it
//                        shows none)
//   probe chase CLASS MS ROUNDS [HWND...]
//                        prints "chasing" once it watches, then
//                        plays the chase game: presses the first window of the
//                        class that moves (within MS), right after a move (the
//                        caught one is whichever took the press); then ROUNDS
//                        times the window that the last press showed and that
//                        stands still while another one it showed moves twice
//                        (so two or more windows per press are needed); at last
//                        it follows the still window of the last press until
//                        that moves. Each press is let go at once. A window
//                        that, let go, could join one of the pressed or the
//                        given kept windows is not pressed. Prints
//                        caught=0x... from=L,T,R,B rect=L,T,R,B (after the
//                        release), chased=0x... from=... rect=... steps=N per
//                        round, and held=0x... steps=N, where N counts the moves
//                        of its fellow windows seen while the still one stood,
//                        before it was pressed or moved; lost=... why=WHY when
//                        a step did not happen; gave_up=0x... why=WHY when the
//                        still window was not pressed, since it lay too near a
//                        kept one (would_join) or could not be reached (covered).
// probe status / quiet / still / ticks: see probe_status.h.
// Exit code 0; 1 when catch or chase found nothing to press (or the chase's
// first press missed) or a census failed; 2 when the chase lost its way later;
// 3 when it gave up;
// 64 for a wrong call.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <utility>
#include <vector>

#include "base/owned_handles.h"
#include "cells/cell_names.h"
#include "census_record.h"
#include "probe_status.h"
#include "thread_hold.h"

namespace {

constexpr char kProgramClass[] = "Pipwink2";  // the main window, which answers status queries

struct Found {
  HWND window;
  bool visible;
  RECT rect;
  LONG_PTR exStyle;
};

struct Search {
  const char* className;
  std::vector<Found> windows;
};

BOOL CALLBACK VisitWindow(HWND window, LPARAM lParam) {
  Search* search = reinterpret_cast<Search*>(lParam);
  char className[256];
  if (GetClassNameA(window, className, sizeof className) == 0) return TRUE;
  if (std::strcmp(className, search->className) != 0) return TRUE;
  Found found{window, IsWindowVisible(window) != FALSE, {}, GetWindowLongPtrA(window, GWL_EXSTYLE)};
  GetWindowRect(window, &found.rect);
  search->windows.push_back(found);
  return TRUE;
}

std::vector<Found> WindowsOf(const char* className) {
  Search search{className, {}};
  EnumWindows(VisitWindow, reinterpret_cast<LPARAM>(&search));
  return search.windows;
}

unsigned long long Handle(HWND window) {
  return static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(window));
}

void PrintRect(const RECT& r) { std::printf("rect=%ld,%ld,%ld,%ld", r.left, r.top, r.right, r.bottom); }

int List(const char* className) {
  for (const Found& f : WindowsOf(className)) {
    std::printf("hwnd=0x%llx visible=%d ", Handle(f.window), f.visible ? 1 : 0);
    PrintRect(f.rect);
    std::printf(" exstyle=0x%lx\n", static_cast<unsigned long>(f.exStyle));
  }
  return 0;
}

int Close(const char* className) {
  std::vector<Found> windows = WindowsOf(className);
  for (const Found& f : windows) PostMessageA(f.window, WM_CLOSE, 0, 0);
  std::printf("closed=%d\n", static_cast<int>(windows.size()));
  return 0;
}

// One shared cell's 32-bit value; 0 when the cell does not exist (yet).
int32_t ReadCell(CellKey key) {
  HANDLE mapping = OpenFileMappingA(FILE_MAP_READ, FALSE, cellNames[key]);
  if (mapping == nullptr) return 0;
  int32_t value = 0;
  if (void* view = MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, sizeof value)) {
    std::memcpy(&value, view, sizeof value);
    UnmapViewOfFile(view);
  }
  CloseHandle(mapping);
  return value;
}

// The priority class of the window's process; 0 when it cannot be read.
DWORD PriorityClassOf(HWND window) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  UniqueHandle handle(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, process));
  return handle ? GetPriorityClass(handle.Get()) : 0;
}

// The program posts itself the start of its star field while its window is
// made and sets the hook cells afterwards, just before its message loop; the
// cells are cleared when a window is made. So once the cells name this window
// and hold both hooks, the window's answer to a sent message comes from the
// loop, after the star field's start (a start that shows a message box
// answers from inside the box, once the star field reacts).
int Ready(const char* className, DWORD ms) {
  DWORD start = GetTickCount();
  while (GetTickCount() - start < ms) {
    std::vector<Found> windows = WindowsOf(className);
    int32_t mouse = ReadCell(CELL_HHOOKMOUSE);
    int32_t key = ReadCell(CELL_HHOOKKEY);
    if (!windows.empty() && mouse != 0 && key != 0 &&
        ReadCell(CELL_MAINHWND) == static_cast<int32_t>(Handle(windows.front().window))) {
      HWND window = windows.front().window;
      DWORD_PTR answer = 0;
      UINT left = static_cast<UINT>(ms - (GetTickCount() - start));
      if (!SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, left > 0 ? left : 1, &answer)) break;
      std::printf("ready=0x%llx hook_mouse=0x%x hook_key=0x%x priority=0x%lx\n", Handle(window),
                  static_cast<unsigned>(mouse), static_cast<unsigned>(key), PriorityClassOf(window));
      return 0;
    }
    Sleep(20);
  }
  std::printf("not_ready\n");
  return 1;
}

// One look at the class's windows for Watch.
void LookOnce(const char* className, std::vector<Found>* seen, size_t* maxVisible) {
  size_t visible = 0;
  for (const Found& f : WindowsOf(className)) {
    if (!f.visible) continue;
    ++visible;
    bool known = false;
    for (const Found& s : *seen) known = known || s.window == f.window;
    if (!known) seen->push_back(f);
  }
  if (visible > *maxVisible) *maxVisible = visible;
}

int Watch(const char* className, DWORD ms, const char* stopFile) {
  std::vector<Found> seen;
  size_t maxVisible = 0;
  std::printf("watching\n");  // the caller may act from here on
  std::fflush(stdout);
  DWORD start = GetTickCount();
  while (GetTickCount() - start < ms) {
    bool stop = stopFile != nullptr && GetFileAttributesA(stopFile) != INVALID_FILE_ATTRIBUTES;
    LookOnce(className, &seen, &maxVisible);
    if (stop) break;
    Sleep(5);
  }
  std::printf("max_visible=%d\n", static_cast<int>(maxVisible));
  for (const Found& f : seen) {
    std::printf("seen=0x%llx ", Handle(f.window));
    PrintRect(f.rect);
    std::printf("\n");
  }
  return 0;
}

void SendButton(DWORD flags) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = flags;
  SendInput(1, &input, sizeof input);
}

// The windows of one class as the chase sees them, poll by poll: when each
// came into view and how often it moved since.
struct Followed {
  HWND window;
  bool visible;
  RECT rect;
  long shownAt;  // the poll in which it last came into view
  int moves;     // rectangle changes seen since then
  bool movedNow; // changed in the latest poll
  long movedAt;  // the poll of its latest move
  POINT step;    // how far the corner went in it
};

class Follower {
 public:
  explicit Follower(const char* className) : className_(className) {}

  // One look at the windows; true when any came, went or moved.
  bool Poll() { return Update(WindowsOf(className_), true); }

  // A quicker look at the shown windows that came into view after poll
  // `since` only: two moves a few milliseconds apart are seen apart.
  bool PollShownAfter(long since) {
    std::vector<Found> windows;
    for (const Followed& f : followed_) {
      if (f.shownAt <= since || !f.visible) continue;
      Found w{f.window, IsWindow(f.window) && IsWindowVisible(f.window), {}, 0};
      if (w.visible) GetWindowRect(f.window, &w.rect);
      windows.push_back(w);
    }
    return Update(windows, false);
  }

  // Polls until nothing has changed for a few milliseconds, so that a tick
  // that is under way has finished (at most MS).
  void PollUntilQuiet(DWORD ms) {
    DWORD start = GetTickCount(), lastChange = start;
    while (GetTickCount() - start < ms && GetTickCount() - lastChange < 8) {
      if (Poll()) lastChange = GetTickCount();
      Sleep(1);
    }
  }

  // Takes in what a look saw; `complete` when it saw every window of the
  // class, so that one it missed is gone.
  bool Update(const std::vector<Found>& windows, bool complete) {
    ++polls_;
    bool changed = false;
    for (Followed& f : followed_) {
      f.movedNow = false;
      if (!complete) continue;
      bool present = false;
      for (const Found& w : windows) present = present || w.window == f.window;
      if (!present && f.visible) {  // destroyed
        f.visible = false;
        changed = true;
      }
    }
    for (const Found& w : windows) {
      Followed* f = Find(w.window);
      if (f == nullptr) {
        followed_.push_back(Followed{w.window, false, w.rect, 0, 0, false, 0, POINT{0, 0}});
        f = &followed_.back();
      }
      if (w.visible != f->visible) changed = true;
      if (w.visible && !f->visible) {
        f->shownAt = polls_;
        f->moves = 0;
        f->rect = w.rect;
      } else if (w.visible && !EqualRect(&w.rect, &f->rect)) {
        ++f->moves;
        f->movedNow = true;
        f->movedAt = polls_;
        f->step = POINT{w.rect.left - f->rect.left, w.rect.top - f->rect.top};
        f->rect = w.rect;
        changed = true;
      }
      f->visible = w.visible;
    }
    return changed;
  }

  Followed* Find(HWND window) {
    for (Followed& f : followed_) {
      if (f.window == window) return &f;
    }
    return nullptr;
  }

  long polls() const { return polls_; }
  std::vector<Followed>& all() { return followed_; }

 private:
  const char* className_;
  std::vector<Followed> followed_;
  long polls_ = 0;
};

// Among the windows shown after poll `since`: one that has not moved while
// another has moved at least twice; null if none does yet.
Followed* StillAmongMoving(Follower& follower, long since, int* fellowMoves) {
  Followed* still = nullptr;
  int most = 0;
  for (Followed& f : follower.all()) {
    if (f.shownAt <= since) continue;
    if (f.moves == 0 && f.visible) still = &f;
    if (f.moves > most) most = f.moves;
  }
  *fellowMoves = most;
  return most >= 2 ? still : nullptr;
}

bool Inside(const RECT& r, LONG x, LONG y) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; }

// A point of the window's part on the screen where it is the top window, the
// middle if it is; rather one that no other shown window of the class covers
// at all, since the X server may stack the windows otherwise than Wine does.
bool PointOnTop(Follower& follower, HWND window, const RECT& whole, POINT* point) {
  RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  RECT rect{};  // the part on the screen
  if (!IntersectRect(&rect, &whole, &screen)) return false;
  LONG w = rect.right - rect.left, h = rect.bottom - rect.top;
  static const int kFifths[] = {2, 1, 3, 0, 4};  // middle first
  bool found = false;
  for (int row : kFifths) {
    for (int column : kFifths) {
      POINT p{rect.left + w * (2 * column + 1) / 10, rect.top + h * (2 * row + 1) / 10};
      if (WindowFromPoint(p) != window) continue;
      bool alone = true;
      for (const Followed& f : follower.all()) {
        alone = alone && (f.window == window || !f.visible || !Inside(f.rect, p.x, p.y));
      }
      if (alone) {
        *point = p;
        return true;
      }
      if (!found) *point = p;
      found = true;
    }
  }
  return found;
}

// Polls until the window's corner is at `corner` (within MS).
bool WaitCorner(Follower& follower, HWND window, POINT corner, DWORD ms) {
  DWORD start = GetTickCount();
  while (GetTickCount() - start < ms) {
    follower.Poll();
    RECT rect{};
    if (GetWindowRect(window, &rect) && rect.left == corner.x && rect.top == corner.y) return true;
    Sleep(1);
  }
  return false;
}

// Whether the window, let go where it is, could join a kept one: their
// middles lie within a third of its size (and a few pixels) on both axes.
bool NearKept(HWND window, const std::vector<HWND>& kept) {
  RECT rect{};
  if (!GetWindowRect(window, &rect)) return false;
  LONG nearX = (rect.right - rect.left) / 3 + 6, nearY = (rect.bottom - rect.top) / 3 + 6;
  for (HWND other : kept) {
    RECT k{};
    if (other == window || !GetWindowRect(other, &k)) continue;
    LONG dx = (k.left + k.right - rect.left - rect.right) / 2;
    LONG dy = (k.top + k.bottom - rect.top - rect.bottom) / 2;
    if (std::labs(dx) < nearX && std::labs(dy) < nearY) return true;
  }
  return false;
}

// The shown window that took the press at `point` after poll `since`: a
// pressed window steps 2 pixels down and right until the release. Null if
// none did within MS.
HWND WaitPressed(Follower& follower, long since, POINT point, DWORD ms) {
  DWORD start = GetTickCount();
  while (GetTickCount() - start < ms) {
    follower.Poll();
    for (const Followed& f : follower.all()) {
      if (f.visible && f.movedAt > since && f.step.x == 2 && f.step.y == 2 && Inside(f.rect, point.x, point.y)) {
        return f.window;
      }
    }
    Sleep(1);
  }
  return nullptr;
}

// Presses the window where it is on top and lets it go there: a pressed
// window steps 2 pixels down and right until the release. The press is made
// at once from here (the held window stands still for three ticks only), and
// the only pointer move after it goes back to the press.
// *window becomes the window that took the press: a flying one may have come
// over the point meanwhile. Sets *why when a step did not happen.
bool PressAndRelease(Follower& follower, HWND* window, RECT* from, const char** why) {
  RECT rect{};
  POINT press{};
  if (!GetWindowRect(*window, &rect) || !PointOnTop(follower, *window, rect, &press)) {
    *why = "covered";
    return false;
  }
  *from = rect;
  long mark = follower.polls();
  SetCursorPos(press.x, press.y);
  SendButton(MOUSEEVENTF_LEFTDOWN);
  HWND pressedWindow = WaitPressed(follower, mark, press, 1000);
  if (pressedWindow == nullptr) {
    SendButton(MOUSEEVENTF_LEFTUP);
    *why = "not_pressed";
    return false;
  }
  *window = pressedWindow;
  rect = follower.Find(pressedWindow)->rect;  // as the press left it
  *from = RECT{rect.left - 2, rect.top - 2, rect.right - 2, rect.bottom - 2};
  // The pointer warps of this probe reach the program as X motion, and on a
  // busy machine the program may read one late, after a later press: it then
  // drags the pressed window to where the pointer was. The release is queued
  // while the program's thread is held, after a move back to the press, so no
  // late motion can come between the two; the move brings the window back.
  {
    ThreadHold hold(*window);
    SetCursorPos(press.x, press.y);
    SendButton(MOUSEEVENTF_LEFTUP);
  }
  if (WaitCorner(follower, *window, POINT{from->left, from->top}, 2000)) return true;
  *why = "not_released";
  return false;
}

// Presses the window in its middle while its program is held (see
// ThreadHold): where it is then, not where the poll saw it (SEEN), since this
// process may have run late since. The pointer is moved before the hold when
// the point still lies inside: a pointer move that reaches a held program is
// placed by where the window is once it runs again. False, pressing nothing,
// when the window has come to rest (hidden) meanwhile.
bool PressHeld(HWND window, const RECT& seen, POINT* press) {
  *press = POINT{(seen.left + seen.right) / 2, (seen.top + seen.bottom) / 2};
  SetCursorPos(press->x, press->y);
  ThreadHold hold(window);
  RECT now = seen;
  if (!IsWindowVisible(window) || !GetWindowRect(window, &now)) return false;
  if (!Inside(now, press->x, press->y)) {
    *press = POINT{(now.left + now.right) / 2, (now.top + now.bottom) / 2};
    SetCursorPos(press->x, press->y);
  }
  SendButton(MOUSEEVENTF_LEFTDOWN);
  return true;
}

// How far the window went in its latest move (on both axes together).
long Speed(const Followed& f) { return std::labs(f.step.x) + std::labs(f.step.y); }

// The window handles given on the command line (0x...).
std::vector<HWND> HandlesOf(char** handles, int count) {
  std::vector<HWND> windows;
  for (int i = 0; i < count; ++i) {
    windows.push_back(reinterpret_cast<HWND>(static_cast<uintptr_t>(std::strtoull(handles[i], nullptr, 16))));
  }
  return windows;
}

bool Among(HWND window, const std::vector<HWND>& windows) {
  return std::find(windows.begin(), windows.end(), window) != windows.end();
}

// Presses the fastest flying window in its middle, its thread held meanwhile
// (see ThreadHold), unless, let go there, it could join one of the given kept
// windows; and lets go once the press has taken (the pressed window steps 2
// pixels down and right); a press that missed is let go and another tried,
// until MS pass. Prints where the caught window stands once two more ticks
// have passed.
int Catch(const char* className, DWORD ms, char** keptHandles, int keptCount) {
  const std::vector<HWND> kept = HandlesOf(keptHandles, keptCount);
  Follower follower(className);
  follower.Poll();
  std::printf("catching\n");  // the caller may click from here on
  std::fflush(stdout);
  bool seenFlying = false;
  POINT lastPress{};
  DWORD start = GetTickCount();
  while (GetTickCount() - start < ms) {
    Sleep(1);
    follower.Poll();
    HWND pressed = nullptr;
    bool tried = false, flying = false;
    // The fastest of the flying windows: the furthest from coming to rest.
    const Followed* chosen = nullptr;
    for (const Followed& f : follower.all()) {
      if (!f.visible || Among(f.window, kept)) continue;
      flying = true;
      // Let go near a kept window of its picture, it would join that one.
      if (f.moves == 0 || NearKept(f.window, kept)) continue;
      if (chosen == nullptr || Speed(f) > Speed(*chosen)) chosen = &f;
    }
    if (chosen != nullptr) {
      long mark = follower.polls();
      POINT press{};
      if (PressHeld(chosen->window, chosen->rect, &press)) {
        pressed = WaitPressed(follower, mark, press, 1000);
        SendButton(MOUSEEVENTF_LEFTUP);
        lastPress = press;
        tried = true;
      }
    }
    // Every window the click showed has come to rest uncaught.
    if (flying) seenFlying = true;
    if (seenFlying && !flying) return 1;
    if (!tried) continue;
    if (pressed == nullptr || Among(pressed, kept)) {
      // Said, so that a caller that catches nothing can tell what was tried.
      std::printf("missed=%ld,%ld took=0x%llx\n", lastPress.x, lastPress.y, Handle(pressed));
      continue;
    }
    TicksPass(kProgramClass, 2, 5000);
    RECT now{};
    GetWindowRect(pressed, &now);
    std::printf("caught=0x%llx ", Handle(pressed));
    PrintRect(now);
    std::printf("\n");
    return 0;
  }
  return 1;
}

void PrintPress(const char* what, HWND window, const RECT& from) {
  RECT now{};
  GetWindowRect(window, &now);
  std::printf("%s=0x%llx from=%ld,%ld,%ld,%ld ", what, Handle(window), from.left, from.top, from.right,
              from.bottom);
  PrintRect(now);
}

int Chase(const char* className, DWORD ms, int rounds, char** keptHandles, int keptCount) {
  std::vector<HWND> kept = HandlesOf(keptHandles, keptCount);
  Follower follower(className);
  follower.Poll();
  std::printf("chasing\n");  // the caller may click from here on
  std::fflush(stdout);

  // A flying window, pressed right after a move (the next one is a tick
  // away) where it could join no kept one.
  HWND pressed = nullptr;
  DWORD start = GetTickCount();
  while (pressed == nullptr && GetTickCount() - start < ms) {
    Sleep(1);
    follower.Poll();
    for (const Followed& f : follower.all()) {
      if (f.visible && f.movedNow && !NearKept(f.window, kept)) pressed = f.window;
    }
  }
  if (pressed == nullptr) return 1;
  long pressedAt = follower.polls();
  RECT from{};
  const char* why = "";
  if (!PressAndRelease(follower, &pressed, &from, &why)) {
    PrintPress("lost", pressed, from);
    std::printf(" why=%s\n", why);
    // A flying window may get away from the press: then nothing was caught
    // and the caller may try again.
    return std::strcmp(why, "covered") == 0 || std::strcmp(why, "not_pressed") == 0 ? 1 : 2;
  }
  kept.push_back(pressed);
  PrintPress("caught", pressed, from);
  std::printf("\n");
  std::fflush(stdout);

  for (int round = 1; round <= rounds + 1; ++round) {
    // The press showed its windows before the pressed window took it: they
    // are known, and from here on only they are looked at.
    follower.Poll();
    Followed* still = nullptr;
    int fellowMoves = 0;
    start = GetTickCount();
    while (still == nullptr && GetTickCount() - start < ms) {
      Sleep(1);
      follower.PollShownAfter(pressedAt);
      still = StillAmongMoving(follower, pressedAt, &fellowMoves);
    }
    if (still == nullptr) {
      std::printf("lost=nothing_stood_still round=%d\n", round);
      return 2;
    }
    HWND target = still->window;
    if (round > rounds) {
      // The last one is only watched: how long does it stand still?
      start = GetTickCount();
      while (GetTickCount() - start < ms) {
        Sleep(1);
        follower.PollShownAfter(pressedAt);
        Followed* f = follower.Find(target);
        if (f->moves > 0 || !f->visible) break;
        StillAmongMoving(follower, pressedAt, &fellowMoves);
      }
      std::printf("held=0x%llx steps=%d\n", Handle(target), fellowMoves);
      return 0;
    }
    // Let the tick that was seen finish, so that every window it hid is seen
    // hidden before the press shows windows again.
    follower.PollUntilQuiet(40);
    StillAmongMoving(follower, pressedAt, &fellowMoves);
    if (follower.Find(target)->moves > 0) {
      std::printf("lost=moved_before_the_press round=%d\n", round);
      return 2;
    }
    if (NearKept(target, kept)) {
      // Caught, it would join a kept window where it stands: it is left to
      // get away.
      std::printf("gave_up=0x%llx why=would_join round=%d\n", Handle(target), round);
      return 3;
    }
    pressedAt = follower.polls();
    HWND took = target;
    bool released = PressAndRelease(follower, &took, &from, &why);
    if (!released && std::strcmp(why, "covered") == 0) {
      // Not pressed: it gets away as well.
      std::printf("gave_up=0x%llx why=covered round=%d\n", Handle(target), round);
      return 3;
    }
    if (!released || took != target) {
      PrintPress("lost", took, from);
      std::printf(" why=%s round=%d\n", took != target ? "another_took_the_press" : why, round);
      return 2;
    }
    kept.push_back(target);
    PrintPress("chased", target, from);
    std::printf(" steps=%d\n", fellowMoves);
    std::fflush(stdout);
  }
  return 0;
}

// The control's text, asked of its own thread (an edit keeps what was typed
// to itself), wide as the window holds it, in UTF-8.
void PrintText(HWND control) {
  wchar_t wide[1024] = {};
  DWORD_PTR copied = 0;
  SendMessageTimeoutW(control, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(wide), SMTO_ABORTIFHUNG, 2000, &copied);
  wide[1023] = L'\0';
  char utf8[4096] = {};
  WideCharToMultiByte(CP_UTF8, 0, wide, -1, utf8, sizeof utf8, nullptr, nullptr);
  std::printf("text=%s\n", utf8);
}

// Every control of a window, in their order: its id, class, whether it is
// visible, its rectangle and its text.
int Controls(const char* target) {
  HWND window = reinterpret_cast<HWND>(static_cast<uintptr_t>(std::strtoull(target, nullptr, 16)));
  if (!IsWindow(window)) return 1;
  for (HWND child = GetWindow(window, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    char className[64] = {};
    GetClassNameA(child, className, sizeof className);
    RECT rect{};
    GetWindowRect(child, &rect);
    DWORD_PTR checked = 0;
    if (std::strcmp(className, "Button") == 0) {
      SendMessageTimeoutW(child, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 2000, &checked);
    }
    std::printf("id=%d class=%s visible=%d checked=%d ", static_cast<int>(static_cast<short>(GetDlgCtrlID(child))),
                className, IsWindowVisible(child) ? 1 : 0, static_cast<int>(checked));
    PrintRect(rect);
    std::printf(" ");
    PrintText(child);
  }
  return 0;
}

int Item(const char* className, int id) {
  for (const Found& f : WindowsOf(className)) {
    HWND item = GetDlgItem(f.window, id);
    if (item == nullptr) continue;
    RECT rect{};
    GetWindowRect(item, &rect);
    std::printf("hwnd=0x%llx item=0x%llx visible=%d enabled=%d ", Handle(f.window), Handle(item),
                IsWindowVisible(item) ? 1 : 0, IsWindowEnabled(item) ? 1 : 0);
    PrintRect(rect);
    std::printf(" ");
    PrintText(item);
  }
  return 0;
}

int Command(const char* target, int id) {
  int posted = 0;
  if (std::strncmp(target, "0x", 2) == 0) {
    HWND window = reinterpret_cast<HWND>(static_cast<uintptr_t>(std::strtoull(target, nullptr, 16)));
    posted = PostMessageA(window, WM_COMMAND, static_cast<WPARAM>(id), 0) ? 1 : 0;
  } else {
    for (const Found& f : WindowsOf(target)) posted += PostMessageA(f.window, WM_COMMAND, static_cast<WPARAM>(id), 0) ? 1 : 0;
  }
  std::printf("posted=%d\n", posted);
  return 0;
}

// Posts the command as soon as a window of the class moves: a star flies.
int CommandOnFlight(const char* className, const char* target, int id, DWORD ms) {
  Follower follower(className);
  follower.Poll();
  std::printf("watching\n");  // the caller may click from here on
  std::fflush(stdout);
  DWORD start = GetTickCount();
  while (GetTickCount() - start < ms) {
    Sleep(1);
    follower.Poll();
    for (const Followed& f : follower.all()) {
      if (f.visible && f.movedNow) return Command(target, id);
    }
  }
  std::printf("nothing_flew\n");
  return 1;
}

// The window in front and, from its thread, the window with the keyboard focus.
int Foreground() {
  HWND window = GetForegroundWindow();
  char className[256] = {};
  if (window != nullptr) GetClassNameA(window, className, sizeof className);
  GUITHREADINFO thread{};
  thread.cbSize = sizeof thread;
  if (window != nullptr) GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &thread);
  std::printf("hwnd=0x%llx focus=0x%llx class=%s\n", Handle(window), Handle(thread.hwndFocus), className);
  return 0;
}

struct Tracked {
  HWND window;
  bool gone;
  bool visible;
  RECT rect;
};

// Track's look at one window; true when it is gone now.
bool TrackLook(Tracked& t, DWORD now) {
  if (!IsWindow(t.window)) return true;
  bool visible = IsWindowVisible(t.window) != FALSE;
  RECT rect{};
  GetWindowRect(t.window, &rect);
  if (visible == t.visible && EqualRect(&rect, &t.rect)) return false;
  t.visible = visible;
  t.rect = rect;
  std::printf("t=%lu hwnd=0x%llx visible=%d ", static_cast<unsigned long>(now), Handle(t.window), visible ? 1 : 0);
  PrintRect(rect);
  std::printf("\n");
  return false;
}

int Track(DWORD ms, char** handles, int count) {
  std::vector<Tracked> tracked;
  for (int i = 0; i < count; ++i) {
    HWND window = reinterpret_cast<HWND>(static_cast<uintptr_t>(std::strtoull(handles[i], nullptr, 16)));
    tracked.push_back(Tracked{window, false, false, RECT{-1, -1, -1, -1}});
  }
  std::printf("tracking\n");
  std::fflush(stdout);
  DWORD start = GetTickCount();
  size_t goneCount = 0;
  // The program's motion ticks asked before the last look: a window seen
  // there went in that tick (a tick that waits on the window system answers
  // queries meanwhile) or a later one, and one gone in this look went in a
  // tick no later than the count asked after it.
  uint32_t ticksBefore = 0;
  bool known = ProgramTicks(kProgramClass, &ticksBefore);
  while (GetTickCount() - start < ms && goneCount < tracked.size()) {
    uint32_t ticksNow = 0, ticksAfter = 0;
    bool knownNow = ProgramTicks(kProgramClass, &ticksNow);
    DWORD now = GetTickCount() - start;
    std::vector<Tracked*> gone;
    for (Tracked& t : tracked) {
      if (!t.gone && TrackLook(t, now)) gone.push_back(&t);
    }
    bool knownAfter = !gone.empty() && ProgramTicks(kProgramClass, &ticksAfter);
    for (Tracked* t : gone) {
      t->gone = true;
      ++goneCount;
      std::printf("t=%lu hwnd=0x%llx gone ticks=", static_cast<unsigned long>(now), Handle(t->window));
      if (known && knownAfter) {
        std::printf("%lu-%lu\n", static_cast<unsigned long>(ticksBefore), static_cast<unsigned long>(ticksAfter));
      } else {
        std::printf("unknown\n");
      }
    }
    ticksBefore = ticksNow;
    known = knownNow;
    std::fflush(stdout);
    Sleep(2);
  }
  return 0;
}

// Sample: the pool rule seen from outside. A star window belongs to the
// picture whose size it had when first seen (a poof later resizes it, but it
// stays the same star). For each picture the sampler keeps the windows there
// were at the start (a pool from before), the most windows ever seen visible
// at once (live stars: moving, caught or going off) and the most windows of it
// that exist; a star is made only when no resting star of its picture is
// left, so the windows of a picture should never outnumber the larger of its
// start and its most live stars. "excess" is the largest overshoot seen in one
// sample; "bound" the sum of those larger numbers.
// Windows whose star is gone but whose WM_CLOSE is still queued are counted
// apart (closing), not as windows.
// Report, after a line a second (t=MS windows=N visible=N closing=N ...):
//   samples=N max_gap_ms=N max_windows=N max_visible=N max_closing=N bound=N excess=N
//   picture=WxH start=N peak_live=N peak_windows=N windows=N excess=N   (one per picture)
//   pings=N failed=N max_ping_ms=N
// Shared by the sampling thread and the pinging one: one writes, the other
// only reads the counts for its report.
// One round trip of WM_NULL to the first OWNER window (looked up again once
// *owner is gone): whether it answered within 5 s, and how many microseconds
// the try took either way.
bool PingOnce(const char* ownerClass, HWND* owner, LONGLONG* tookUs) {
  if (*owner == nullptr || !IsWindow(*owner)) *owner = FindWindowA(ownerClass, nullptr);
  LARGE_INTEGER frequency, start, end;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  DWORD_PTR answer = 0;
  bool answered =
      *owner != nullptr && SendMessageTimeoutA(*owner, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer) != 0;
  QueryPerformanceCounter(&end);
  *tookUs = (end.QuadPart - start.QuadPart) * 1000000 / frequency.QuadPart;
  return answered;
}

struct PingState {
  const char* ownerClass;
  std::atomic<bool> stop{false};
  std::atomic<LONG> pings{0};
  std::atomic<LONG> failed{0};
  std::atomic<LONG> maxMs{0};
};

DWORD WINAPI PingLoop(LPVOID parameter) {
  PingState* state = static_cast<PingState*>(parameter);
  HWND owner = nullptr;
  while (!state->stop) {
    LONGLONG took = 0;
    if (!PingOnce(state->ownerClass, &owner, &took)) ++state->failed;
    LONG ms = static_cast<LONG>(took / 1000);
    if (ms > state->maxMs) state->maxMs = ms;
    ++state->pings;
    Sleep(100);
  }
  return 0;
}

struct PictureStats {
  int start = -1;  // windows when the sampling began: a pool from before
  int peakLive = 0;
  int peakWindows = 0;
  int windows = 0;
  int excess = 0;  // most windows seen beyond the most live stars seen so far
};

// What the sampler remembers of a window: a window's class never changes
// and a star's picture is fixed by its first size, so a known window costs
// one question (its style) per sample; Wine asks its server for each, and
// hundreds of windows asked about every few milliseconds would slow the
// whole session down.
struct Known {
  bool ours;
  std::pair<LONG, LONG> picture;  // (0, 0) until the window has a size
};

// The round trips of a sent message to the first OWNER window, every 20 ms,
// timed with the performance counter, until the stop file exists.
int Pings(const char* ownerClass, const char* stopFile, int count) {
  std::printf("pinging\n");
  std::fflush(stdout);
  std::vector<LONGLONG> took;
  int failed = 0;
  HWND owner = nullptr;
  while (GetFileAttributesA(stopFile) == INVALID_FILE_ATTRIBUTES &&
         (count <= 0 || static_cast<int>(took.size()) + failed < count)) {
    LONGLONG us = 0;
    if (PingOnce(ownerClass, &owner, &us)) {
      took.push_back(us);
    } else {
      ++failed;
    }
    Sleep(20);
  }
  std::sort(took.begin(), took.end());
  auto at = [&](size_t per100) { return took.empty() ? 0LL : took[took.size() * per100 / 100]; };
  std::printf("pings=%zu failed=%d p50_us=%lld p95_us=%lld max_us=%lld\n", took.size() + failed, failed, at(50),
              at(95), took.empty() ? 0LL : took.back());
  return took.empty() ? 1 : 0;
}

int Sample(const char* className, const char* ownerClass, DWORD ms, const char* stopFile) {
  PingState ping{ownerClass};
  UniqueHandle pinger(CreateThread(nullptr, 0, PingLoop, &ping, 0, nullptr));
  std::printf("sampling\n");
  std::fflush(stdout);
  std::map<HWND, Known> known;
  std::map<std::pair<LONG, LONG>, PictureStats> pictures;
  int samples = 0, maxWindows = 0, maxVisible = 0, maxClosing = 0, excess = 0;
  DWORD maxGap = 0, start = GetTickCount(), last = start, nextLine = start;
  while (GetTickCount() - start < ms && GetFileAttributesA(stopFile) == INVALID_FILE_ATTRIBUTES) {
    std::vector<HWND> all;
    EnumWindows(
        [](HWND window, LPARAM lParam) -> BOOL {
          reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(window);
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&all));
    std::map<std::pair<LONG, LONG>, std::pair<int, int>> now;  // picture -> live, windows
    int windows = 0, visible = 0, closing = 0;
    for (HWND window : all) {
      Known& k = known[window];
      if (k.picture.first == 0 && !k.ours) {
        char name[256];
        if (GetClassNameA(window, name, sizeof name) == 0 || std::strcmp(name, className) != 0) {
          k.picture = {-1, -1};  // not ours: never asked again
          continue;
        }
        k.ours = true;
      }
      if (!k.ours) continue;
      if (k.picture.first == 0) {
        RECT r{};
        GetWindowRect(window, &r);
        LONG w = r.right - r.left, h = r.bottom - r.top;
        if (w <= 1 && h <= 1) continue;  // created, no picture yet
        k.picture = {w, h};
      }
      LONG style = GetWindowLongA(window, GWL_STYLE);
      if (style == 0) continue;  // gone meanwhile (a star window always has WS_POPUP)
      bool shown = (style & WS_VISIBLE) != 0;
      // A destroyed star's window is hidden and waits for its posted
      // WM_CLOSE; its record, already freed, has cleared the window's slot.
      if (!shown && GetWindowLongPtrA(window, GWLP_USERDATA) == 0) {
        ++closing;
        continue;
      }
      std::pair<int, int>& counts = now[k.picture];
      ++counts.second;
      ++windows;
      if (shown) {
        ++counts.first;
        ++visible;
      }
    }
    for (auto& [picture, stats] : pictures) stats.windows = 0;
    for (const auto& [picture, counts] : now) {
      PictureStats& stats = pictures[picture];
      if (stats.start < 0) stats.start = samples == 0 ? counts.second : 0;
      stats.peakLive = std::max(stats.peakLive, counts.first);
      stats.windows = counts.second;
      stats.peakWindows = std::max(stats.peakWindows, counts.second);
      stats.excess = std::max(stats.excess, counts.second - std::max(stats.start, stats.peakLive));
      excess = std::max(excess, stats.excess);
    }
    maxWindows = std::max(maxWindows, windows);
    maxClosing = std::max(maxClosing, closing);
    maxVisible = std::max(maxVisible, visible);
    ++samples;
    DWORD tick = GetTickCount();
    maxGap = std::max(maxGap, tick - last);
    last = tick;
    if (tick >= nextLine) {  // a line a second: how the run went
      std::printf("t=%lu windows=%d visible=%d closing=%d pings=%ld max_ping_ms=%ld\n",
                  static_cast<unsigned long>(tick - start), windows, visible, closing, ping.pings.load(),
                  ping.maxMs.load());
      std::fflush(stdout);
      nextLine = tick + 1000;
    }
    Sleep(50);
  }
  ping.stop = true;
  WaitForSingleObject(pinger.Get(), 10000);
  int bound = 0;
  for (const auto& [picture, stats] : pictures) bound += std::max(stats.start, stats.peakLive);
  std::printf("samples=%d max_gap_ms=%lu max_windows=%d max_visible=%d max_closing=%d bound=%d excess=%d\n",
              samples, static_cast<unsigned long>(maxGap), maxWindows, maxVisible, maxClosing, bound, excess);
  for (const auto& [picture, stats] : pictures) {
    std::printf("picture=%ldx%ld start=%d peak_live=%d peak_windows=%d windows=%d excess=%d\n", picture.first,
                picture.second, stats.start, stats.peakLive, stats.peakWindows, stats.windows, stats.excess);
  }
  std::printf("pings=%ld failed=%ld max_ping_ms=%ld\n", ping.pings.load(), ping.failed.load(), ping.maxMs.load());
  return 0;
}

int WindowsOfProcess(DWORD processId) {
  struct Counter {
    DWORD processId;
    int count;
  } counter{processId, 0};
  EnumWindows(
      [](HWND window, LPARAM lParam) -> BOOL {
        Counter* c = reinterpret_cast<Counter*>(lParam);
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == c->processId) ++c->count;
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&counter));
  return counter.count;
}

// Loads the census library into the process through a thread of its own that
// runs LoadLibraryA (kernel32 lies at the same address in every process).
bool RunCensusIn(HANDLE process, const char* library) {
  size_t length = std::strlen(library) + 1;
  void* remotePath = VirtualAllocEx(process, nullptr, length, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  if (remotePath == nullptr) return false;
  bool ran = false;
  if (WriteProcessMemory(process, remotePath, library, length, nullptr)) {
    auto loadLibrary = reinterpret_cast<LPTHREAD_START_ROUTINE>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "LoadLibraryA")));
    HANDLE thread = CreateRemoteThread(process, nullptr, 0, loadLibrary, remotePath, 0, nullptr);
    if (thread != nullptr) {
      ran = WaitForSingleObject(thread, 20000) == WAIT_OBJECT_0;
      CloseHandle(thread);
    }
  }
  if (ran) VirtualFreeEx(process, remotePath, 0, MEM_RELEASE);
  return ran;
}

// Opens the process of the first CLASS window, runs the census library in it
// with the request and hands the process, its id and the answer to `use`.
// False, with the reason on stderr, when there is no answer.
template <typename Use>
bool AskInside(const char* className, const char* library, CensusRequest request, Use use) {
  std::vector<Found> windows = WindowsOf(className);
  if (windows.empty()) {
    std::fprintf(stderr, "census: no window of class %s\n", className);
    return false;
  }
  DWORD processId = 0;
  GetWindowThreadProcessId(windows[0].window, &processId);
  HANDLE process = OpenProcess(PROCESS_CREATE_THREAD | PROCESS_QUERY_INFORMATION | PROCESS_VM_OPERATION |
                                   PROCESS_VM_WRITE | PROCESS_VM_READ | SYNCHRONIZE,
                               FALSE, processId);
  if (process == nullptr) {
    std::fprintf(stderr, "census: cannot open process %lu\n", static_cast<unsigned long>(processId));
    return false;
  }
  HANDLE mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(CensusRecord),
                                      kCensusMappingName);
  auto* record = mapping ? static_cast<CensusRecord*>(MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, 0)) : nullptr;
  bool answered = false;
  if (record != nullptr) {
    std::memset(record, 0, sizeof *record);
    record->request = request;
    if (!RunCensusIn(process, library)) {
      std::fprintf(stderr, "census: the library could not be run in the process\n");
    } else if (record->done != kCensusDone) {
      std::fprintf(stderr, "census: the library wrote nothing (not loaded?)\n");
    } else {
      use(process, processId, *record);
      answered = true;
    }
    UnmapViewOfFile(record);
  }
  if (mapping != nullptr) CloseHandle(mapping);
  CloseHandle(process);
  return answered;
}

int Census(const char* className, const char* library) {
  bool answered = AskInside(className, library, CENSUS_COUNT,
                            [](HANDLE process, DWORD processId, const CensusRecord& record) {
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof memory;
    GetProcessMemoryInfo(process, &memory, sizeof memory);
    const int32_t* t = record.gdiByType;
    int other = record.gdiObjects - t[OBJ_DC] - t[OBJ_MEMDC] - t[OBJ_BITMAP] - t[OBJ_BRUSH] - t[OBJ_PEN] -
                t[OBJ_FONT] - t[OBJ_REGION];
    std::printf("gdi=%d dc=%d memdc=%d bitmap=%d brush=%d pen=%d font=%d region=%d other=%d heap_bytes=%llu "
                "heap_blocks=%llu working_set=%llu windows=%d\n",
                record.gdiObjects, t[OBJ_DC], t[OBJ_MEMDC], t[OBJ_BITMAP], t[OBJ_BRUSH], t[OBJ_PEN], t[OBJ_FONT],
                t[OBJ_REGION], other, static_cast<unsigned long long>(record.heapBusyBytes),
                static_cast<unsigned long long>(record.heapBusyBlocks),
                static_cast<unsigned long long>(memory.WorkingSetSize), WindowsOfProcess(processId));
  });
  return answered ? 0 : 1;
}

int Menu(const char* className, const char* library) {
  bool shown = false;
  bool answered = AskInside(className, library, CENSUS_MENU, [&shown](HANDLE, DWORD, const CensusRecord& record) {
    char items[kCensusMenuText + 1] = {};
    std::memcpy(items, record.menuItems, kCensusMenuText);
    std::fputs(items, stdout);
    shown = items[0] != '\0';
  });
  if (answered && !shown) std::fprintf(stderr, "menu: the process shows no menu\n");
  return answered && shown ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  int result = 64;
  if (argc == 3 && std::strcmp(argv[1], "list") == 0) {
    result = List(argv[2]);
  } else if (argc == 3 && std::strcmp(argv[1], "close") == 0) {
    result = Close(argv[2]);
  } else if ((argc == 4 || argc == 5) && std::strcmp(argv[1], "watch") == 0) {
    result = Watch(argv[2], static_cast<DWORD>(std::strtoul(argv[3], nullptr, 10)), argc == 5 ? argv[4] : nullptr);
  } else if (argc == 3 && std::strcmp(argv[1], "status") == 0) {
    result = Status(argv[2]);
  } else if (argc == 4 && std::strcmp(argv[1], "quiet") == 0) {
    result = Quiet(argv[2], static_cast<DWORD>(std::strtoul(argv[3], nullptr, 10)));
  } else if (argc == 4 && std::strcmp(argv[1], "still") == 0) {
    result = Still(argv[2], static_cast<DWORD>(std::strtoul(argv[3], nullptr, 10)));
  } else if (argc == 5 && std::strcmp(argv[1], "ticks") == 0) {
    result = Ticks(argv[2], static_cast<unsigned>(std::strtoul(argv[3], nullptr, 10)),
                   static_cast<DWORD>(std::strtoul(argv[4], nullptr, 10)));
  } else if (argc == 4 && std::strcmp(argv[1], "item") == 0) {
    result = Item(argv[2], std::atoi(argv[3]));
  } else if (argc == 3 && std::strcmp(argv[1], "controls") == 0) {
    result = Controls(argv[2]);
  } else if (argc == 6 && std::strcmp(argv[1], "command_on_flight") == 0) {
    result = CommandOnFlight(argv[2], argv[3], std::atoi(argv[4]), static_cast<DWORD>(std::strtoul(argv[5], nullptr, 10)));
  } else if (argc == 4 && std::strcmp(argv[1], "command") == 0) {
    result = Command(argv[2], std::atoi(argv[3]));
  } else if (argc == 4 && std::strcmp(argv[1], "ready") == 0) {
    result = Ready(argv[2], static_cast<DWORD>(std::strtoul(argv[3], nullptr, 10)));
  } else if (argc == 2 && std::strcmp(argv[1], "moveposted") == 0) {
    // 0 while a move the hook posted waits for the program; 1 once it is taken.
    result = ReadCell(CELL_HOOKPENDING) == 0 ? 0 : 1;
  } else if (argc == 2 && std::strcmp(argv[1], "foreground") == 0) {
    result = Foreground();
  } else if (argc >= 4 && std::strcmp(argv[1], "track") == 0) {
    result = Track(static_cast<DWORD>(std::strtoul(argv[2], nullptr, 10)), argv + 3, argc - 3);
  } else if ((argc == 4 || argc == 5) && std::strcmp(argv[1], "pings") == 0) {
    result = Pings(argv[2], argv[3], argc == 5 ? std::atoi(argv[4]) : 0);
  } else if (argc == 6 && std::strcmp(argv[1], "sample") == 0) {
    result = Sample(argv[2], argv[3], static_cast<DWORD>(std::strtoul(argv[4], nullptr, 10)), argv[5]);
  } else if (argc == 4 && std::strcmp(argv[1], "census") == 0) {
    result = Census(argv[2], argv[3]);
  } else if (argc == 4 && std::strcmp(argv[1], "menu") == 0) {
    result = Menu(argv[2], argv[3]);
  } else if (argc >= 5 && std::strcmp(argv[1], "chase") == 0) {
    result = Chase(argv[2], static_cast<DWORD>(std::strtoul(argv[3], nullptr, 10)), std::atoi(argv[4]), argv + 5,
                   argc - 5);
  } else if (argc >= 4 && std::strcmp(argv[1], "catch") == 0) {
    result = Catch(argv[2], static_cast<DWORD>(std::strtoul(argv[3], nullptr, 10)), argv + 4, argc - 4);
  }
  std::fflush(stdout);
  return result;
}
