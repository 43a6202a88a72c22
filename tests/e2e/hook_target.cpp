// Another program for the hooks to watch: a visible window with an edit
// control, in its own Wine process. It prints what the scenario compares with
// the hook library's reports, one line each, flushed at once:
//   target=0xHWND edit=0xHWND rect=L,T,R,B editrect=L,T,R,B   (at start, screen)
//   mousemove X Y                     every movement message it takes, screen point
//   keydown VK X Y                    every key press it takes, with the caret's
//                                     screen point as it stands when the hooks run
//   hooked                            once, with the first message it takes after
//                                     the system mapped the hook library into it
// It ends on WM_CLOSE.
#include <windows.h>

#include <cstdio>

namespace {

constexpr char kClassName[] = "Tovik2HookTarget";

LRESULT CALLBACK TargetProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
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

int main() {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = TargetProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  windowClass.lpszClassName = kClassName;
  if (!RegisterClassA(&windowClass)) return 1;
  HWND window = CreateWindowExA(0, kClassName, "hook target", WS_POPUP | WS_VISIBLE | WS_BORDER, 100,
                                100, 400, 300, nullptr, nullptr, instance, nullptr);
  if (window == nullptr) return 1;
  HWND edit = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, 20,
                              20, 300, 24, window, nullptr, instance, nullptr);
  if (edit == nullptr) return 1;
  UpdateWindow(window);

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
      std::printf("mousemove %ld %ld\n", message.pt.x, message.pt.y);
      std::fflush(stdout);
    } else if (message.message == WM_KEYDOWN) {
      ReportCaret(message);
    }
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return 0;
}
