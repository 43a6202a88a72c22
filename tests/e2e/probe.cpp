// The end-to-end tests' eyes and hands inside the Wine session.
//   probe list CLASS    one line per top-level window of the class:
//                       hwnd=0x... visible=0|1 rect=L,T,R,B exstyle=0x...
//   probe close CLASS   posts WM_CLOSE to every top-level window of the class
// Exit code 0; 64 for a wrong call.
#include <windows.h>

#include <cstdio>
#include <cstring>

namespace {

struct Search {
  const char* className;
  bool close;
  int found;
};

BOOL CALLBACK VisitWindow(HWND window, LPARAM lParam) {
  Search* search = reinterpret_cast<Search*>(lParam);
  char className[256];
  if (GetClassNameA(window, className, sizeof className) == 0) return TRUE;
  if (std::strcmp(className, search->className) != 0) return TRUE;
  ++search->found;
  if (search->close) {
    PostMessageA(window, WM_CLOSE, 0, 0);
    return TRUE;
  }
  RECT rect{};
  GetWindowRect(window, &rect);
  std::printf("hwnd=0x%llx visible=%d rect=%ld,%ld,%ld,%ld exstyle=0x%lx\n",
              static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(window)),
              IsWindowVisible(window) ? 1 : 0, rect.left, rect.top, rect.right, rect.bottom,
              static_cast<unsigned long>(GetWindowLongPtrA(window, GWL_EXSTYLE)));
  return TRUE;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) return 64;
  Search search{argv[2], false, 0};
  if (std::strcmp(argv[1], "close") == 0) {
    search.close = true;
  } else if (std::strcmp(argv[1], "list") != 0) {
    return 64;
  }
  EnumWindows(VisitWindow, reinterpret_cast<LPARAM>(&search));
  if (search.close) std::printf("closed=%d\n", search.found);
  std::fflush(stdout);
  return 0;
}
