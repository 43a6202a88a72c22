#include "stars/win32/pupil_window.h"

#include "base/app_state.h"
#include "base/foreground_loan.h"
#include "cells/packed_point.h"
#include "cells/private_messages.h"
#include "images/win32/alpha_bitmap.h"
#include "stars/motion_rules.h"

PupilWindow::PupilWindow()
    : instance(GetModuleHandleA(nullptr)),
      width(0),
      height(0),
      menuTexts(nullptr),
      menu(nullptr),
      hwnd(nullptr),
      sourceDC(nullptr),
      grabbed(0),
      menuEnabled(1),
      dragging(0),
      raisedInDrag(0),
      dragAnchor{0, 0},
      releaseMessage(0),
      closeRequested(0),
      frameCount(1),
      frameIndex(0),
      framesSideBySide(1) {}

PupilWindow::~PupilWindow() {
  if (!closeRequested) PostClose();
  if (hwnd != nullptr && StillOwns(hwnd, this)) SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
}

bool PupilWindow::StillOwns(HWND window, const PupilWindow* record) {
  return IsWindow(window) &&
         GetWindowLongPtrA(window, GWLP_USERDATA) == reinterpret_cast<LONG_PTR>(record);
}

int PupilWindow::Create(HWND owner, HCURSOR cursor) {
  // Registered once: only the first registration takes effect, and a failed
  // one still asks the system each time.
  static const ATOM registered = [&] {
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = cursor;
    windowClass.lpszClassName = kPupilClassName;
    return RegisterClassExA(&windowClass);
  }();
  (void)registered;

  // Layered from the start: a window made layered later is set up twice.
  // Never activated: catching a star must leave the focus where the user types.
  hwnd = CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_LAYERED | WS_EX_NOACTIVATE, kPupilClassName, nullptr, WS_POPUP | WS_CHILD, -1,
                         -1, 1, 1, owner, nullptr, instance, this);
  return hwnd != nullptr ? 1 : 0;
}

void PupilWindow::SetMenuTexts(UiTextBlock* texts) { menuTexts = texts; }

int PupilWindow::SetImage(HDC dc, int newWidth, int newHeight) {
  if (hwnd == nullptr) return 0;
  sourceDC = dc;
  width = newWidth;
  height = newHeight;
  if (IsWindowVisible(hwnd)) {
    // A shown window (a star turning into its poof) changes size where it is:
    // parking it off the screen would flash it away, and Wine stalls the
    // thread for seconds on every such round trip.
    SetWindowPos(hwnd, nullptr, 0, 0, newWidth, newHeight,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
  } else {
    MoveWindow(hwnd, -newWidth, -newHeight, newWidth, newHeight, FALSE);
  }
  InvalidateRect(hwnd, nullptr, FALSE);
  SendMessageA(hwnd, WM_PAINT, 0, 0);
  return 1;
}

void PupilWindow::Paint(HWND window) {
  PAINTSTRUCT paint;
  HDC paintDC = BeginPaint(window, &paint);
  FrameOrigin origin = FrameSourcePoint(frameCount, frameIndex, width, height, framesSideBySide);
  POINT source{origin.x, origin.y};
  SIZE size{width, height};
  BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  UpdateLayeredWindow(window, paintDC, nullptr, &size, sourceDC, &source, 0, &blend, ULW_ALPHA);
  EndPaint(window, &paint);
}

int PupilWindow::MoveTo(POINT point) {
  if (hwnd == nullptr) return 0;
  // A restack costs far more than the move, and grows with the number of windows.
  return SetWindowPos(hwnd, nullptr, point.x, point.y, width, height,
                      SWP_NOSIZE | SWP_NOREDRAW | SWP_NOACTIVATE | SWP_NOZORDER)
             ? 1
             : 0;
}

bool PupilWindow::AdvanceFrame() {
  if (frameCount <= 1) return false;
  frameIndex = NextFrameIndex(frameIndex, frameCount);
  if (hwnd != nullptr) RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE);
  return true;
}

HDC PupilWindow::MakeOwnPicture(int32_t pictureWidth, int32_t pictureHeight) {
  if (!ownPicture) {
    BITMAPV5HEADER header;
    if (!ownPicture.Adopt(CreateBitmapV5(&header, pictureWidth, pictureHeight))) return nullptr;
  }
  return ownPicture.DC();
}

void PupilWindow::ReleaseOwnPicture() {
  if (!ownPicture) return;
  if (sourceDC == ownPicture.DC()) sourceDC = nullptr;
  ownPicture.Reset();
}

POINT PupilWindow::GetPosition() const {
  RECT rect{};
  if (hwnd != nullptr) GetWindowRect(hwnd, &rect);
  return POINT{rect.left, rect.top};
}

SIZE PupilWindow::GetSize() const { return SIZE{width, height}; }

void PupilWindow::ShowTopmost() {
  if (hwnd == nullptr) return;
  SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, 0, 0,
               SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE);
}

void PupilWindow::ShowTopmostAt(POINT point) {
  if (hwnd == nullptr) return;
  SetWindowPos(hwnd, HWND_TOPMOST, point.x, point.y, 0, 0, SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOSIZE);
}

void PupilWindow::Hide() {
  if (hwnd == nullptr) return;
  SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE);
}

UniqueMenu PupilWindow::BuildMenu() {
  UniqueMenu built(CreatePopupMenu());
  if (!built) return built;
  // Wide texts: the menu reads in Japanese whatever the ANSI code page.
  static wchar_t empty[1] = L"";
  auto text = [&](int slot) { return menuTexts != nullptr ? menuTexts->slot[slot] : empty; };
  AppendMenuW(built.Get(), MF_STRING, IDM_STAR_ERASE, text(TEXT_ERASE));
  LRESULT many = SendMessageA(GetWindow(hwnd, GW_OWNER), PWM_QUERY_MANY_STARS, 0, 0);
  if (many != 0) {
    AppendMenuW(built.Get(), MF_SEPARATOR, 0, nullptr);
    AppendMenuW(built.Get(), MF_STRING, IDM_STAR_ERASE_ALL, text(TEXT_ERASE_ALL));
    AppendMenuW(built.Get(), MF_STRING, IDM_STAR_TIDY, text(TEXT_TIDY));
  }
  return built;
}

void PupilWindow::PostClose() {
  closeRequested = 1;
  if (hwnd != nullptr) PostMessageA(hwnd, WM_CLOSE, 0, 0);
}

void PupilWindow::ShiftBy(int dx, int dy) {
  POINT position = GetPosition();
  MoveTo(POINT{position.x + dx, position.y + dy});
}

void PupilWindow::OnLeftDown(HWND window, LPARAM lParam) {
  ScreenPoint at = UnpackPoint(static_cast<uint64_t>(lParam));
  POINT cursor{at.x, at.y};
  ClientToScreen(window, &cursor);  // before the shift moves the client area
  dragging = 1;
  raisedInDrag = 0;
  SetCapture(window);
  ShiftBy(2, 2);
  ScreenToClient(window, &cursor);
  dragAnchor = cursor;
  if (!grabbed) {
    grabbed = 1;
    SendMessageA(GetParent(window), PWM_STAR_GRABBED, 0, reinterpret_cast<LPARAM>(window));
  }
}

void PupilWindow::OnLeftUp(HWND window) {
  dragging = 0;
  ReleaseCapture();
  ShiftBy(-2, -2);
  if (grabbed) {
    SendMessageA(GetParent(window), PWM_HOOK_BUTTONUP, 0, reinterpret_cast<LPARAM>(window));
    if (!StillOwns(window, this)) return;  // joined into another star and freed
  }
  if (releaseMessage != 0) {
    PostMessageA(GetParent(window), releaseMessage, 0, reinterpret_cast<LPARAM>(window));
  }
}

void PupilWindow::OnRightDown(HWND window) {
  if (dragging) {
    dragging = 0;
    ReleaseCapture();
    SendMessageA(GetParent(window), PWM_HOOK_BUTTONUP, 0, reinterpret_cast<LPARAM>(window));
    if (!StillOwns(window, this)) return;
  }
  if (!grabbed || !menuEnabled) return;
  POINT cursor{};
  GetCursorPos(&cursor);
  UniqueMenu shown = BuildMenu();
  if (!shown) return;
  menu = shown.Get();
  TrackMenuOnLoan(shown.Get(), TPM_RIGHTBUTTON, cursor, window);
  // The menu's own message loop runs timer ticks, and a bomb that ends in one
  // of them frees this record: only the menu's owner kept here is still ours.
  if (StillOwns(window, this)) menu = nullptr;
}

void PupilWindow::OnMouseMove(HWND window, LPARAM lParam) {
  if (!dragging) return;
  ScreenPoint at = UnpackPoint(static_cast<uint64_t>(lParam));
  POINT cursor{at.x, at.y};
  ClientToScreen(window, &cursor);
  // The first step of a drag raises the star above the flying ones, which
  // never restack; raising it at the press itself lost the press under Wine.
  UINT keepOrder = raisedInDrag ? SWP_NOZORDER : 0;
  raisedInDrag = 1;
  SetWindowPos(window, HWND_TOPMOST, cursor.x - dragAnchor.x, cursor.y - dragAnchor.y, 0, 0,
               SWP_NOSIZE | SWP_NOREDRAW | SWP_NOACTIVATE | keepOrder);
}

void PupilWindow::OnCommand(HWND window, WPARAM wParam) {
  HWND owner = GetParent(window);
  LPARAM self = reinterpret_cast<LPARAM>(window);
  switch (LOWORD(wParam)) {
    case IDM_STAR_ERASE:
      PostMessageA(owner, PWM_STAR_ERASE, 0, self);
      break;
    case IDM_STAR_ERASE_ALL:
      PostMessageA(owner, PWM_STAR_ERASE_ALL, 0, 0);
      break;
    case IDM_STAR_TIDY:
      PostMessageA(owner, PWM_STAR_TIDY, 0, self);
      break;
    default:
      break;
  }
}

void PupilWindow::OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      Paint(window);
      break;
    case WM_CLOSE:
      if (closeRequested) DestroyWindow(window);
      break;
    case WM_COMMAND:
      OnCommand(window, wParam);
      break;
    case WM_MOUSEMOVE:
      OnMouseMove(window, lParam);
      break;
    case WM_LBUTTONDOWN:
      OnLeftDown(window, lParam);
      break;
    case WM_LBUTTONUP:
      OnLeftUp(window);
      break;
    case WM_RBUTTONDOWN:
      OnRightDown(window);
      break;
    case WM_NCDESTROY:
      // The record may outlive its window; it must not keep a dead handle.
      SetWindowLongPtrA(window, GWLP_USERDATA, 0);
      hwnd = nullptr;
      break;
    default:
      break;
  }
}

LRESULT CALLBACK PupilWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  HandlerRunning running;  // for the watchdog
  auto* record = reinterpret_cast<PupilWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (record != nullptr) record->OnMessage(window, message, wParam, lParam);
  // A close from outside (Alt+F4, another program) must not leave a star
  // record without its window: the record decides (OnMessage).
  if (message == WM_CLOSE && record != nullptr) return 0;
  // A press on a star (or the version box) leaves the program in front where it is.
  if (message == WM_MOUSEACTIVATE) return MA_NOACTIVATE;
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  return DefWindowProcA(window, message, wParam, lParam);
}
