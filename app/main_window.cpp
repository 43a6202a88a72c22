#include "app/main_window.h"

#include "base/app_state.h"
#include "base/ui_texts.h"
#include "cells/private_messages.h"

MainWindow::MainWindow(const MainWindowOptions& options)
    : starCursor_(options.starCursor),
      watch_(options.watchdog),
      watchSource_(options.watchdogSource),
      tray_(options.trayNotify),
      signIn_(options.runValueName),
      caret_(options.caretQuestion != nullptr ? *options.caretQuestion
                                              : CaretQueryOptions{StandardCaretSources()}) {
  store_.UseIniPath(options.iniPath);
  if (!options.iniWritable) store_.NoteUnwritable();
  singleCopy_.Reset(options.singleCopy);
}

MainWindow::~MainWindow() {
  if (window_ != nullptr && IsWindow(window_)) DestroyWindow(window_);
  // The watch reads the session's flag: it ends first.
  watchdog_.Stop();
  if (session_ != nullptr) session_->LetGo();
}

ATOM MainWindow::RegisterMainWindowClass(HINSTANCE instance) {
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

HWND MainWindow::CreateMainWindow(HINSTANCE instance) {
  if (window_ != nullptr) return nullptr;
  // Layered but never given content, so it never shows.
  return CreateWindowExA(WS_EX_LAYERED, kMainClassName, "", WS_POPUP | WS_VISIBLE, -1, -1, 1, 1, nullptr, nullptr,
                         instance, this);
}

// The texts in the language the settings choose; the menus and messages
// read them as they show, so they follow at once.
void MainWindow::ApplyLanguage() {
  LoadUiTexts(ResolveLanguage(store_.Current().language, GetUserDefaultUILanguage()));
}

const wchar_t* MainWindow::Tip() const { return Reacting() ? kTipEnabled : kTipDisabled; }

// The object comes with WM_NCCREATE and is forgotten at WM_NCDESTROY, so no
// message after the window's end reaches it.
LRESULT CALLBACK MainWindow::MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  HandlerRunning running;  // sent messages (the hook's clicks) come here without the loop
  if (message == WM_NCCREATE) {
    auto* made = static_cast<MainWindow*>(reinterpret_cast<const CREATESTRUCTA*>(lParam)->lpCreateParams);
    made->window_ = window;
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(made));
  }
  auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (self == nullptr) return DefWindowProcA(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    self->window_ = nullptr;
    return DefWindowProcA(window, message, wParam, lParam);
  }
  return self->HandleMessage(message, wParam, lParam);
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: return OnCreate();
    case WM_CLOSE: return OnClose();
    case WM_DESTROY: return OnDestroy();
    case WM_TIMER:
      if (wParam == kHeldReportTimerId) return OnHeldReportLook();
      if (wParam == kTrayRetryTimerId) return OnTrayRetry();
      return OnTimer();
    case WM_HOTKEY: return OnHotkey(wParam);
    case WM_COMMAND: return OnCommand(wParam);
    case PWM_HOOK_CLICK: return OnHookClick(wParam, lParam);
    case PWM_HOOK_MOVE:
    case PWM_HOOK_KEY: return OnHookInput(message, lParam);
    case PWM_HOOK_KEY_NO_CARET: return OnKeyWithoutCaret();
    case PWM_CARET_FOUND: return OnCaretFound(lParam);
    case PWM_START: return OnStart();
    case PWM_ABOUT_CLOSED: return OnAboutClosed();
    case PWM_STAR_GRABBED: return OnStarGrabbed(lParam);
    case PWM_HOOK_BUTTONUP: return OnButtonUp(lParam);
    case PWM_STAR_TIDY: return OnStarTidy(lParam);
    case PWM_STAR_ERASE_ALL: return OnStarEraseAll();
    case PWM_STAR_ERASE: return OnStarErase(lParam);
    case PWM_QUERY_MANY_STARS: return OnQueryManyStars();
    case PWM_QUERY_STATUS: return OnQueryStatus();
    case PWM_SETTINGS_CHOSEN: return OnSettingsChosen();
    case PWM_PICTURES_LOADED: return OnPicturesLoaded(wParam);
    case PWM_TRAY: return OnTray(lParam);
    case PWM_ANOTHER_START: return OnAnotherStart();
    case WM_DPICHANGED:
      // The display's scale changed: the tray icon is made again at its new size.
      tray_.Modify(kTrayIconArt, nullptr);
      return 0;
    default:
      if (message != 0 && message == taskbarCreated_) return OnTaskbarCreated();
      return DefWindowProcA(window_, message, wParam, lParam);
  }
}

LRESULT MainWindow::OnCreate() {
  stopped_ = false;
  TrimWorkingSet();
  taskbarCreated_ = RegisterWindowMessageA("TaskbarCreated");
  trayRetriesLeft_ = kTrayAddRetries;
  AddTrayIcon();
  cells_.SetUpMMFile(window_);
  AllowHookMessages(window_);  // from ordinary programs too, when this copy runs elevated
  LetTaskbarCreatedThrough(window_, taskbarCreated_);
  foreground_.Start();
  store_.GetIniInfo();  // after the cells: loading mirrors the switches into them
  ApplyLanguage();
  caret_.AskWebEngines(store_.Current().webCaret != 0);
  field_ = std::make_unique<Win32StarField>(StarFieldHost{window_, starCursor_, &UiTexts, &store_.Current()});
  session_ = SettingsSession::Make(window_, starCursor_);
  caret_.Start(window_, PWM_CARET_FOUND);
  if (watch_) watchdog_.Start(window_, session_ != nullptr ? &session_->OpenFlag() : nullptr, watchSource_);
  PostMessageA(window_, PWM_START, 0, 0);
  // No taskbar button for the hidden window.
  LONG_PTR exStyle = GetWindowLongPtrA(window_, GWL_EXSTYLE);
  SetWindowLongPtrA(window_, GWL_EXSTYLE, exStyle | WS_EX_TOOLWINDOW);
  return 0;
}

// Exit ends the input and the star field before the window goes: the star
// windows it owns are destroyed first, and a message handled meanwhile (a
// wait inside the window system runs sent messages) must find nothing to
// make stars with.
LRESULT MainWindow::OnClose() {
  StopInputAndField();
  DestroyWindow(window_);
  return 0;
}

LRESULT MainWindow::OnDestroy() {
  StopInputAndField();  // the window destroyed without a close
  PostQuitMessage(0);
  return 0;
}

// What brings input goes first (the hooks, the hotkey, the tray icon, whose
// removal may wait and run sent messages meanwhile), the star field last; it
// is let go of before it stops, so no handler reaches it while it stops.
void MainWindow::StopInputAndField() {
  if (stopped_) return;
  stopped_ = true;
  hooks_.FreeHookLibrary();
  caret_.Stop();
  hotkey_.Unregister();
  foreground_.Stop();
  tray_.Remove();
  // Nothing a new copy shares is used from here on: it may start.
  singleCopy_.Reset();
  versionBox_.DestroyAboutBox();
  std::unique_ptr<Win32StarField> stopping = std::move(field_);
  stopping.reset();  // stops it: timer, stars, windows, pictures
}
