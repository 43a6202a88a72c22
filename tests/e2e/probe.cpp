// The end-to-end tests' eyes and hands inside the Wine session.
//   probe list CLASS     one line per top-level window of the class:
//                        hwnd=0x... visible=0|1 rect=L,T,R,B exstyle=0x...
//   probe close CLASS    posts WM_CLOSE to every top-level window of the class
//   probe watch CLASS MS watches the class for MS milliseconds; prints
//                        "watching" at once, then at the end max_visible=N and
//                        one line per window seen visible,
//                        with the rectangle it had when first seen
//   probe catch CLASS MS [HWND...]
//                        clicks the first visible window of the class that is
//                        not among the given handles, at its centre, as soon as
//                        one shows (within MS); prints caught=0x... rect=...
//   probe item CLASS ID  one line per top-level window of the class that has a
//                        control of that id:
//                        hwnd=0x... item=0x... visible=0|1 enabled=0|1 rect=L,T,R,B text=...
//                        (the control's text in UTF-8, last on the line)
//   probe command TARGET ID
//                        posts WM_COMMAND with the id to TARGET: a window handle
//                        (0x...) or every top-level window of a class
//   probe foreground     hwnd=0x... class=... of the foreground window
//   probe track MS HWND...
//                        follows the given windows for MS milliseconds (or
//                        until all are gone); prints "tracking" at once, then
//                        a line whenever one changes:
//                        t=MS hwnd=0x... visible=0|1 rect=L,T,R,B, or
//                        t=MS hwnd=0x... gone
// Exit code 0; 1 when catch found nothing; 64 for a wrong call.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

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

int Watch(const char* className, DWORD ms) {
  std::vector<Found> seen;
  size_t maxVisible = 0;
  std::printf("watching\n");  // the caller may act from here on
  std::fflush(stdout);
  DWORD start = GetTickCount();
  while (GetTickCount() - start < ms) {
    size_t visible = 0;
    for (const Found& f : WindowsOf(className)) {
      if (!f.visible) continue;
      ++visible;
      bool known = false;
      for (const Found& s : seen) known = known || s.window == f.window;
      if (!known) seen.push_back(f);
    }
    if (visible > maxVisible) maxVisible = visible;
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

int Catch(const char* className, DWORD ms, char** excluded, int excludedCount) {
  DWORD start = GetTickCount();
  while (GetTickCount() - start < ms) {
    for (const Found& f : WindowsOf(className)) {
      if (!f.visible) continue;
      bool skip = false;
      for (int i = 0; i < excludedCount; ++i) skip = skip || std::strtoull(excluded[i], nullptr, 0) == Handle(f.window);
      if (skip) continue;
      SetCursorPos((f.rect.left + f.rect.right) / 2, (f.rect.top + f.rect.bottom) / 2);
      SendButton(MOUSEEVENTF_LEFTDOWN);
      Sleep(30);
      SendButton(MOUSEEVENTF_LEFTUP);
      Sleep(200);
      RECT now{};
      GetWindowRect(f.window, &now);
      std::printf("caught=0x%llx ", Handle(f.window));
      PrintRect(now);
      std::printf("\n");
      return 0;
    }
    Sleep(2);
  }
  return 1;
}

// The control's text, asked of its own thread (an edit keeps what was typed
// to itself), in UTF-8.
void PrintText(HWND control) {
  char text[1024] = {};
  DWORD_PTR copied = 0;
  SendMessageTimeoutA(control, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000,
                      &copied);
  wchar_t wide[1024] = {};
  int length = MultiByteToWideChar(CP_ACP, 0, text, -1, wide, 1024);
  char utf8[4096] = {};
  if (length > 0) WideCharToMultiByte(CP_UTF8, 0, wide, -1, utf8, sizeof utf8, nullptr, nullptr);
  std::printf("text=%s\n", utf8);
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

int Foreground() {
  HWND window = GetForegroundWindow();
  char className[256] = {};
  if (window != nullptr) GetClassNameA(window, className, sizeof className);
  std::printf("hwnd=0x%llx class=%s\n", Handle(window), className);
  return 0;
}

struct Tracked {
  HWND window;
  bool gone;
  bool visible;
  RECT rect;
};

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
  while (GetTickCount() - start < ms && goneCount < tracked.size()) {
    DWORD now = GetTickCount() - start;
    for (Tracked& t : tracked) {
      if (t.gone) continue;
      if (!IsWindow(t.window)) {
        t.gone = true;
        ++goneCount;
        std::printf("t=%lu hwnd=0x%llx gone\n", static_cast<unsigned long>(now), Handle(t.window));
        continue;
      }
      bool visible = IsWindowVisible(t.window) != FALSE;
      RECT rect{};
      GetWindowRect(t.window, &rect);
      if (visible == t.visible && EqualRect(&rect, &t.rect)) continue;
      t.visible = visible;
      t.rect = rect;
      std::printf("t=%lu hwnd=0x%llx visible=%d ", static_cast<unsigned long>(now), Handle(t.window), visible ? 1 : 0);
      PrintRect(rect);
      std::printf("\n");
    }
    std::fflush(stdout);
    Sleep(2);
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  int result = 64;
  if (argc == 3 && std::strcmp(argv[1], "list") == 0) {
    result = List(argv[2]);
  } else if (argc == 3 && std::strcmp(argv[1], "close") == 0) {
    result = Close(argv[2]);
  } else if (argc == 4 && std::strcmp(argv[1], "watch") == 0) {
    result = Watch(argv[2], static_cast<DWORD>(std::strtoul(argv[3], nullptr, 10)));
  } else if (argc == 4 && std::strcmp(argv[1], "item") == 0) {
    result = Item(argv[2], std::atoi(argv[3]));
  } else if (argc == 4 && std::strcmp(argv[1], "command") == 0) {
    result = Command(argv[2], std::atoi(argv[3]));
  } else if (argc == 2 && std::strcmp(argv[1], "foreground") == 0) {
    result = Foreground();
  } else if (argc >= 4 && std::strcmp(argv[1], "track") == 0) {
    result = Track(static_cast<DWORD>(std::strtoul(argv[2], nullptr, 10)), argv + 3, argc - 3);
  } else if (argc >= 4 && std::strcmp(argv[1], "catch") == 0) {
    result = Catch(argv[2], static_cast<DWORD>(std::strtoul(argv[3], nullptr, 10)), argv + 4, argc - 4);
  }
  std::fflush(stdout);
  return result;
}
