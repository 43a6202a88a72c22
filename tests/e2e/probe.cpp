// The end-to-end tests' eyes and hands inside the Wine session.
//   probe list CLASS    one line per top-level window of the class:
//                       hwnd=0x... visible=0|1 rect=L,T,R,B exstyle=0x...
//   probe close CLASS   posts WM_CLOSE to every top-level window of the class
//   probe item CLASS ID one line per top-level window of the class that has a
//                       control of that id:
//                       hwnd=0x... item=0x... visible=0|1 enabled=0|1 rect=L,T,R,B text=...
//                       (the control's text in UTF-8, last on the line)
//   probe command TARGET ID
//                       posts WM_COMMAND with the id to TARGET: a window handle
//                       (0x...) or every top-level window of a class
//   probe foreground    hwnd=0x... class=... of the foreground window
// Exit code 0; 64 for a wrong call.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

enum class Verb { kList, kClose, kItem, kCommand };

struct Search {
  const char* className;
  Verb verb;
  int id;
  int found;
};

unsigned long long HandleValue(HWND window) {
  return static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(window));
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

void PrintItem(HWND window, HWND item) {
  RECT rect{};
  GetWindowRect(item, &rect);
  std::printf("hwnd=0x%llx item=0x%llx visible=%d enabled=%d rect=%ld,%ld,%ld,%ld ", HandleValue(window),
              HandleValue(item), IsWindowVisible(item) ? 1 : 0, IsWindowEnabled(item) ? 1 : 0, rect.left, rect.top,
              rect.right, rect.bottom);
  PrintText(item);
}

BOOL CALLBACK VisitWindow(HWND window, LPARAM lParam) {
  Search* search = reinterpret_cast<Search*>(lParam);
  char className[256];
  if (GetClassNameA(window, className, sizeof className) == 0) return TRUE;
  if (std::strcmp(className, search->className) != 0) return TRUE;
  switch (search->verb) {
    case Verb::kClose:
      ++search->found;
      PostMessageA(window, WM_CLOSE, 0, 0);
      return TRUE;
    case Verb::kCommand:
      ++search->found;
      PostMessageA(window, WM_COMMAND, static_cast<WPARAM>(search->id), 0);
      return TRUE;
    case Verb::kItem:
      if (HWND item = GetDlgItem(window, search->id)) {
        ++search->found;
        PrintItem(window, item);
      }
      return TRUE;
    case Verb::kList:
      break;
  }
  ++search->found;
  RECT rect{};
  GetWindowRect(window, &rect);
  std::printf("hwnd=0x%llx visible=%d rect=%ld,%ld,%ld,%ld exstyle=0x%lx\n", HandleValue(window),
              IsWindowVisible(window) ? 1 : 0, rect.left, rect.top, rect.right, rect.bottom,
              static_cast<unsigned long>(GetWindowLongPtrA(window, GWL_EXSTYLE)));
  return TRUE;
}

int Foreground() {
  HWND window = GetForegroundWindow();
  char className[256] = {};
  if (window != nullptr) GetClassNameA(window, className, sizeof className);
  std::printf("hwnd=0x%llx class=%s\n", HandleValue(window), className);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[1], "foreground") == 0) {
    Foreground();
    std::fflush(stdout);
    return 0;
  }
  if (argc < 3) return 64;
  Search search{argv[2], Verb::kList, 0, 0};
  if (std::strcmp(argv[1], "close") == 0 && argc == 3) {
    search.verb = Verb::kClose;
  } else if (std::strcmp(argv[1], "item") == 0 && argc == 4) {
    search.verb = Verb::kItem;
    search.id = std::atoi(argv[3]);
  } else if (std::strcmp(argv[1], "command") == 0 && argc == 4) {
    search.verb = Verb::kCommand;
    search.id = std::atoi(argv[3]);
  } else if (std::strcmp(argv[1], "list") != 0 || argc != 3) {
    return 64;
  }
  if (search.verb == Verb::kCommand && std::strncmp(argv[2], "0x", 2) == 0) {
    HWND window = reinterpret_cast<HWND>(static_cast<uintptr_t>(std::strtoull(argv[2], nullptr, 16)));
    search.found = PostMessageA(window, WM_COMMAND, static_cast<WPARAM>(search.id), 0) ? 1 : 0;
  } else {
    EnumWindows(VisitWindow, reinterpret_cast<LPARAM>(&search));
  }
  if (search.verb == Verb::kClose || search.verb == Verb::kCommand) std::printf("%s=%d\n",
      search.verb == Verb::kClose ? "closed" : "posted", search.found);
  std::fflush(stdout);
  return 0;
}
