// Another program for the hooks to watch: a visible window with an edit
// control, in its own Wine process, at (100,100)-(500,400) or with its top
// left corner at the point given on the command line (hook_target.exe X Y).
// It prints what the scenario compares with the hook library's reports, one
// line each, flushed at once:
//   target=0xHWND edit=0xHWND rect=L,T,R,B editrect=L,T,R,B   (at start, screen)
//   mousemove X Y                     every movement message it takes, screen point
//   buttondown X Y                    every left press it takes, screen point
//   keydown VK X Y                    every key press it takes, with the caret's
//                                     screen point as it stands when the hooks run
//   hooked                            once, with the first message it takes after
//                                     the system mapped the hook library into it
//   held max_us=N p95_us=N calls=N moves=N late_p50_ms=N late_p95_ms=N late_max_ms=N
//                                     on WM_COMMAND kReportCommand (probe command):
//                                     since the last report, the longest time (and the
//                                     95th percentile) its input thread spent in the
//                                     other programs' mouse hooks for one message and
//                                     how many it timed,
//                                     the movement messages it took and how late they
//                                     came (their input time to their arrival: median,
//                                     95th percentile, largest)
//   fullscreen rect=L,T,R,B           on WM_COMMAND kFullScreenCommand: it covers its
//                                     whole monitor without a border, as a game or a
//                                     slideshow does, and has come to the front
//   windowed rect=L,T,R,B             on WM_COMMAND kWindowedCommand: back at its place
// It ends on WM_CLOSE.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

constexpr char kClassName[] = "Tovik2HookTarget";
constexpr WPARAM kReportCommand = 7001;
constexpr WPARAM kFullScreenCommand = 7002;
constexpr WPARAM kWindowedCommand = 7003;
constexpr int kWidth = 400;
constexpr int kHeight = 300;

// Where the window stands when not full screen.
POINT home{100, 100};
// The edit control: it takes the keyboard whenever the window does, as a
// text editor's window hands its focus on to its text.
HWND editControl = nullptr;

// Since the last report.
std::vector<LONGLONG> heldTicks;
std::vector<DWORD> lateMs;

// A hook of this thread alone runs before the global ones: the time its call
// of CallNextHookEx takes is the time the global hooks (nivlet2.dll among
// them) hold this program's input thread.
LRESULT CALLBACK TimingHook(int code, WPARAM wParam, LPARAM lParam) {
  LARGE_INTEGER start, end;
  QueryPerformanceCounter(&start);
  LRESULT result = CallNextHookEx(nullptr, code, wParam, lParam);
  QueryPerformanceCounter(&end);
  heldTicks.push_back(end.QuadPart - start.QuadPart);
  return result;
}

// The 95th percentile and the largest of the values (0, 0 for none).
template <typename T>
void Spread(std::vector<T>& values, T* p95, T* largest) {
  std::sort(values.begin(), values.end());
  *p95 = values.empty() ? 0 : values[values.size() * 95 / 100];
  *largest = values.empty() ? 0 : values.back();
}

void ReportHeld() {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  LONGLONG heldP95 = 0, heldMax = 0;
  Spread(heldTicks, &heldP95, &heldMax);
  DWORD lateP95 = 0, lateMax = 0;
  Spread(lateMs, &lateP95, &lateMax);
  DWORD lateP50 = lateMs.empty() ? 0 : lateMs[lateMs.size() / 2];  // sorted by Spread
  std::printf("held max_us=%lld p95_us=%lld calls=%zu moves=%zu late_p50_ms=%lu late_p95_ms=%lu late_max_ms=%lu\n",
              heldMax * 1000000 / frequency.QuadPart, heldP95 * 1000000 / frequency.QuadPart, heldTicks.size(),
              lateMs.size(), static_cast<unsigned long>(lateP50), static_cast<unsigned long>(lateP95),
              static_cast<unsigned long>(lateMax));
  std::fflush(stdout);
  heldTicks.clear();
  lateMs.clear();
}

void PrintRect(const char* what, HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  std::printf("%s rect=%ld,%ld,%ld,%ld\n", what, rect.left, rect.top, rect.right, rect.bottom);
  std::fflush(stdout);
}

// Full screen as such programs do it: no border, the monitor's whole
// rectangle, in front of the others.
void ShowFullScreen(HWND window, bool fullScreen) {
  LONG style = GetWindowLongA(window, GWL_STYLE);
  if (fullScreen) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoA(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor);
    SetWindowLongA(window, GWL_STYLE, style & ~WS_BORDER);
    const RECT& r = monitor.rcMonitor;
    SetWindowPos(window, HWND_TOP, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_FRAMECHANGED);
    SetForegroundWindow(window);
    PrintRect("fullscreen", window);
  } else {
    SetWindowLongA(window, GWL_STYLE, style | WS_BORDER);
    SetWindowPos(window, nullptr, home.x, home.y, kWidth, kHeight, SWP_FRAMECHANGED | SWP_NOZORDER);
    PrintRect("windowed", window);
  }
}

LRESULT CALLBACK TargetProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  if (message == WM_SETFOCUS && editControl != nullptr) {
    SetFocus(editControl);
    return 0;
  }
  if (message == WM_COMMAND && wParam == kReportCommand && lParam == 0) {
    ReportHeld();
    return 0;
  }
  if (message == WM_COMMAND && (wParam == kFullScreenCommand || wParam == kWindowedCommand) && lParam == 0) {
    ShowFullScreen(window, wParam == kFullScreenCommand);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

unsigned long long HandleValue(HWND window) {
  return static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(window));
}

void ReportCaret(const MSG& message) {
  HWND focus = GetFocus();
  POINT caret{};
  if (focus == nullptr || !GetCaretPos(&caret)) {
    std::printf("keydown %u none\n", static_cast<unsigned>(message.wParam));
  } else {
    ClientToScreen(focus, &caret);
    std::printf("keydown %u %ld %ld\n", static_cast<unsigned>(message.wParam), caret.x, caret.y);
  }
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3) {
    home.x = std::atoi(argv[1]);
    home.y = std::atoi(argv[2]);
  }
  HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = TargetProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  windowClass.lpszClassName = kClassName;
  if (!RegisterClassA(&windowClass)) return 1;
  HWND window = CreateWindowExA(0, kClassName, "hook target", WS_POPUP | WS_VISIBLE | WS_BORDER, home.x,
                                home.y, kWidth, kHeight, nullptr, nullptr, instance, nullptr);
  if (window == nullptr) return 1;
  HWND edit = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, 20,
                              20, 300, 24, window, nullptr, instance, nullptr);
  if (edit == nullptr) return 1;
  editControl = edit;
  UpdateWindow(window);
  HHOOK timing = SetWindowsHookExA(WH_MOUSE, TimingHook, nullptr, GetCurrentThreadId());
  if (timing == nullptr) return 1;

  RECT rect{}, editRect{};
  GetWindowRect(window, &rect);
  GetWindowRect(edit, &editRect);
  std::printf("target=0x%llx edit=0x%llx rect=%ld,%ld,%ld,%ld editrect=%ld,%ld,%ld,%ld\n",
              HandleValue(window), HandleValue(edit), rect.left, rect.top, rect.right, rect.bottom,
              editRect.left, editRect.top, editRect.right, editRect.bottom);
  std::fflush(stdout);

  MSG message;
  bool hooked = false;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    // The system maps the library at the first input whose hooks run here:
    // the scenarios wait for this line before they count on the hooks.
    if (!hooked && GetModuleHandleA("nivlet2.dll") != nullptr) {
      hooked = true;
      std::printf("hooked\n");
      std::fflush(stdout);
    }
    if (message.message == WM_MOUSEMOVE) {
      lateMs.push_back(GetTickCount() - message.time);
      std::printf("mousemove %ld %ld\n", message.pt.x, message.pt.y);
      std::fflush(stdout);
    } else if (message.message == WM_LBUTTONDOWN) {
      // The hook has told the program of this press before it came here:
      // once this line shows, the program has made the press's stars.
      std::printf("buttondown %ld %ld\n", message.pt.x, message.pt.y);
      std::fflush(stdout);
    } else if (message.message == WM_KEYDOWN) {
      ReportCaret(message);
    }
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  UnhookWindowsHookEx(timing);
  return 0;
}
