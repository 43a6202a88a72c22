#include "app/main_window.h"

#include <cwchar>
#include <optional>

#include "app/fullscreen.h"
#include "app/fullscreen_rules.h"
#include "app/hook_library.h"
#include "app/message_out.h"
#include "app/picture_messages.h"
#include "app/mm_file.h"
#include "app/pause_hotkey.h"
#include "app/settings_dialog.h"
#include "app/settings_store.h"
#include "app/tray_icon.h"
#include "app/tray_menu.h"
#include "app/version_box.h"
#include "base/app_state.h"
#include "base/resource_ids.h"
#include "base/settings.h"
#include "base/ui_texts.h"
#include "cells/packed_point.h"
#include "cells/program_status.h"
#include "cells/private_messages.h"
#include "stars/star_field.h"

namespace {

constexpr int kTrayIconArt = IDR_TRAY_ART;
constexpr wchar_t kTipEnabled[] = L"Pipwink2";
constexpr wchar_t kTipDisabled[] = L"Pipwink2 (Disabled)";

// The shell announces a new taskbar (after Explorer restarted) with this
// registered message; the icon must then be added again.
UINT taskbarCreatedMessage = 0;

// Whether a full-screen program is in front, looked at now and then.
FullScreenWatch fullScreen{ForegroundIsFullScreen};

// The star field, made with the window and stopped with it; messages reach
// the window only in between.
std::optional<StarField> starField;

// Motion ticks handled, whether the stars moved in them or stood (the settings
// dialog open), from the timer or due on the input path: observers wait for
// ticks instead of time.
uint32_t motionTicks = 0;

// The state an observer waits on. A query that comes while the thread waits
// in its own loop finds only its own handler running; one that comes while a
// message box or menu shows finds the handler that showed it too.
LRESULT AnswerStatusQuery() {
  ProgramStatus status{};
  status.moving = starField && starField->TimerRunning();
  status.insideHandler = handlersRunning > 1;
  status.loading = starField && starField->PicturesPending();
  status.queued = (HIWORD(GetQueueStatus(QS_POSTMESSAGE)) & QS_POSTMESSAGE) != 0;
  status.telling = MessageShowing();
  status.fullScreen = Settings.fullscreenPause != 0 && fullScreen.InFront(GetTickCount());
  status.ticks = motionTicks;
  return static_cast<LRESULT>(PackStatus(status));
}

void TrimWorkingSet() {
  SetProcessWorkingSetSize(GetCurrentProcess(), static_cast<SIZE_T>(-1), static_cast<SIZE_T>(-1));
}

void OnCreate(HWND window) {
  TrimWorkingSet();
  mainWindow = window;
  taskbarCreatedMessage = RegisterWindowMessageA("TaskbarCreated");
  trayIcon.Add(window, kTrayIconArt, PWM_TRAY, kTipEnabled);
  SetUpMMFile();
  GetIniInfo();  // after the cells: loading mirrors the switches into them
  starField.emplace(StarFieldHost{window, starCursor, &UiTexts, &Settings, &reactionEnabled});
  fullScreen = FullScreenWatch{ForegroundIsFullScreen};  // a new window looks afresh
  PostMessageA(window, PWM_START, 0, 0);
  // No taskbar button for the hidden window.
  LONG_PTR exStyle = GetWindowLongPtrA(window, GWL_EXSTYLE);
  SetWindowLongPtrA(window, GWL_EXSTYLE, exStyle | WS_EX_TOOLWINDOW);
}

void OnDestroy(HWND window) {
  UnregisterPauseHotkey(window);
  starField.reset();  // stops it: timer, stars, windows, pictures
  FreeHookLibrary();
  trayIcon.Remove();
  if (instanceMutex != nullptr) ReleaseMutex(instanceMutex);
  PostQuitMessage(0);
}

// Tells the user what the star field's start, or the load of its picture
// folder when that ends, found; a start without any star picture ends the
// program. The user may choose exit from the tray while a
// box shows: the window is then gone, and nothing more is told.
void TellStartReport(HWND window, const StartReport& report) {
  if ((report.someUnreadable || report.folderUnusable) && IsWindow(window)) {
    wchar_t text[kFolderMessageSize];
    if (ComposeFolderMessage(text, kFolderMessageSize, UiTexts, Settings.imageFolder, report.folder,
                             !report.folderUnusable, 1, AnsiPathToWide)) {
      MessageOut(text);
    }
  }
  if (report.noStarPicture && IsWindow(window)) {
    MessageOut(UiTexts.slot[TEXT_START_FAILED]);
    PostMessageA(window, WM_CLOSE, 0, 0);
  }
}

// The pause hotkey, once the star field runs; a combination another program
// holds is reported once, and the program goes on without it.
void RegisterHotkeyOrTell(HWND window) {
  if (RegisterPauseHotkey(window, Settings.hotkey) != PAUSE_HOTKEY_TAKEN) return;
  wchar_t hotkey[kHotkeyTextSize] = {};
  MultiByteToWideChar(CP_ACP, 0, Settings.hotkey, -1, hotkey, kHotkeyTextSize);
  hotkey[kHotkeyTextSize - 1] = L'\0';
  wchar_t text[kTextSize * 2] = {};
  std::swprintf(text, kTextSize * 2, UiTexts.slot[TEXT_HOTKEY_TAKEN], hotkey);
  MessageOut(text);
}

// Clicks, moves and keys make stars only while the star field reacts, the
// settings dialog is closed and no full-screen program is in front.
void OnHookInput(UINT kind, LPARAM lParam) {
  // The hook posts moves one at a time: taking this one lets the next come.
  if (kind == PWM_HOOK_MOVE) ClearHookPending();
  // A click is sent, so it overtakes a move posted just before it: that move
  // is handled first, and the click's stars stay the last ones made.
  MSG earlier;
  if (kind == PWM_HOOK_CLICK && PeekMessageA(&earlier, mainWindow, PWM_HOOK_MOVE, PWM_HOOK_MOVE, PM_REMOVE)) {
    OnHookInput(PWM_HOOK_MOVE, earlier.lParam);
  }
  if (settingsDialogOpen != 0) return;
  // Input that never lets the queue run empty would starve WM_TIMER.
  DWORD now = GetTickCount();
  // Counted before it runs, as a timer tick is: a status query answered while
  // the tick waits on the window system already counts it.
  if (starField->TickDue(now)) ++motionTicks;
  starField->RunDueTick(now);
  if (reactionEnabled != 1) return;
  if (Settings.fullscreenPause != 0 && fullScreen.InFront(now)) return;
  ScreenPoint point = UnpackPoint(static_cast<uint64_t>(lParam));
  starField->GenerateStars(kind, point.x, point.y);
}

void OnToggleReaction() {
  if (reactionEnabled) {
    starField->DisablePipwink();
    trayIcon.Modify(kTrayIconArt, kTipDisabled);
    TrimWorkingSet();
  } else {
    starField->EnablePipwink();
    trayIcon.Modify(kTrayIconArt, kTipEnabled);
  }
}

void OnCommand(HWND window, WPARAM wParam) {
  switch (LOWORD(wParam)) {
    case IDM_TRAY_EXIT:
      SendMessageA(window, WM_CLOSE, 0, 0);
      break;
    case IDM_TRAY_ENABLE:
      OnToggleReaction();
      break;
    case IDM_TRAY_VERSION:
      if (!versionBoxOpen) {
        versionBoxOpen = 1;
        // A box that could not be built must not block the command for good.
        if (!ViewAboutBox()) versionBoxOpen = 0;
      }
      break;
    case IDM_TRAY_SETTINGS:
      if (!settingsDialogOpen) {
        settingsDialogOpen = 1;
        HANDLE thread = CreateThread(nullptr, 0, SettingDialogThread, mainWindow, 0, nullptr);
        // Without its thread the dialog would never clear the flag, and the
        // stars would stand still for good.
        if (thread == nullptr) {
          settingsDialogOpen = 0;
        } else {
          CloseHandle(thread);
        }
      }
      break;
    default:
      break;
  }
}

void ShowTrayMenu(HWND window) {
  SetForegroundWindow(window);
  POINT cursor{};
  GetCursorPos(&cursor);
  InitMenu();
  if (trayMenu == nullptr) return;
  TrackPopupMenu(trayMenu, TPM_BOTTOMALIGN | TPM_RIGHTALIGN | TPM_RIGHTBUTTON, cursor.x, cursor.y, 0, window,
                 nullptr);
  // A menu of the notification area closes properly only once its owner has
  // had a message after it.
  PostMessageA(window, WM_NULL, 0, 0);
  DestroyMenu(trayMenu);
  trayMenu = nullptr;
}

void OnTray(HWND window, LPARAM lParam) {
  switch (static_cast<UINT>(lParam)) {
    case WM_RBUTTONUP:
      ShowTrayMenu(window);
      break;
    case WM_LBUTTONDOWN:
      if (settingsDialogOpen) SetForegroundWindow(settingsDialog);
      break;
    default:
      break;
  }
}

}  // namespace

StarField* MainStarField() { return starField ? &*starField : nullptr; }

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  HandlerRunning running;  // sent messages (the hook's clicks) come here without the loop
  switch (message) {
    case WM_CREATE:
      OnCreate(window);
      break;
    case WM_CLOSE:
      DestroyWindow(window);
      return 0;
    case WM_DESTROY:
      OnDestroy(window);
      break;
    case WM_TIMER:
      ++motionTicks;
      // The stars stand still while the settings dialog is open.
      if (!settingsDialogOpen) starField->MoveStar();
      break;
    case WM_HOTKEY:
      if (wParam == kPauseHotkeyId) OnToggleReaction();
      break;
    case WM_COMMAND:
      OnCommand(window, wParam);
      break;
    case PWM_HOOK_CLICK:
    case PWM_HOOK_MOVE:
    case PWM_HOOK_KEY:
      OnHookInput(message, lParam);
      break;
    case PWM_START: {
      // The folder's pictures load on a worker meanwhile; what they give is
      // told when they come (PWM_PICTURES_LOADED).
      StartReport report = starField->StartPipwink();
      trayIcon.Modify(kTrayIconArt, kTipEnabled);
      TellStartReport(window, report);
      TellUnsavedSettings();  // the first start could not write its settings file
      RegisterHotkeyOrTell(window);
      break;
    }
    case PWM_ABOUT_CLOSED:
      DestroyAboutBox();
      versionBoxOpen = 0;
      break;
    case PWM_STAR_GRABBED:
      starField->GrabStar(reinterpret_cast<HWND>(lParam));
      break;
    case PWM_HOOK_BUTTONUP:
      starField->ConnectStar(reinterpret_cast<HWND>(lParam));
      break;
    case PWM_STAR_TIDY:
      starField->AllTogetherStar(reinterpret_cast<HWND>(lParam));
      break;
    case PWM_STAR_ERASE_ALL:
      starField->BeginBomb();
      break;
    case PWM_STAR_ERASE:
      starField->BombStar(starField->GetStarByHWND(reinterpret_cast<HWND>(lParam)));
      break;
    case PWM_QUERY_MANY_STARS:
      return starField->EnsureManyStars() ? 1 : 0;
    case PWM_QUERY_STATUS:
      return AnswerStatusQuery();
    case PWM_RESTART_STAR_FIELD: {
      StartReport report = starField->RestartPipwink();
      // The new star field reacts, whatever the old one did; the tip says so.
      trayIcon.Modify(kTrayIconArt, reactionEnabled ? kTipEnabled : kTipDisabled);
      TellStartReport(window, report);
      break;
    }
    case PWM_PICTURES_LOADED: {
      // A load that a restart or stop has ended since is passed over.
      StartReport report{};
      if (starField && starField->TakeLoadedPictures(wParam, &report)) TellStartReport(window, report);
      break;
    }
    case PWM_TRAY:
      OnTray(window, lParam);
      break;
    default:
      if (message != 0 && message == taskbarCreatedMessage) {
        trayIcon.Add(window, kTrayIconArt, PWM_TRAY, reactionEnabled ? kTipEnabled : kTipDisabled);
      }
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

void RequestStarFieldRestart() { SendMessageA(mainWindow, PWM_RESTART_STAR_FIELD, 0, 0); }

ATOM RegisterMainWindowClass(HINSTANCE instance) {
  WNDCLASSEXA windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.style = CS_HREDRAW | CS_VREDRAW;
  windowClass.lpfnWndProc = MainWndProc;
  windowClass.hInstance = instance;
  windowClass.hIcon = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_PROGRAM), IMAGE_ICON, 32, 32, 0));
  windowClass.hIconSm = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_PROGRAM), IMAGE_ICON, 16, 16, 0));
  windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  windowClass.lpszClassName = kMainClassName;
  return RegisterClassExA(&windowClass);
}

HWND CreateMainWindow(HINSTANCE instance) {
  // Layered but never given content, so it never shows.
  return CreateWindowExA(WS_EX_LAYERED, kMainClassName, "", WS_POPUP | WS_VISIBLE, -1, -1, 1, 1,
                         nullptr, nullptr, instance, nullptr);
}
