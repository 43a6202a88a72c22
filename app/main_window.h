// The hidden main window, the program's switchboard: hook events, star
// windows, the tray icon, the motion timer and the settings dialog all report
// here. One object owns the shell's parts, each as a member: the tray icon
// and its menu, the star field, the settings store and the shared cells, the
// pause hotkey, the full-screen watch, the version box, the settings
// dialog's session, the watchdog and the hold on the hook library. Its
// window procedure forwards each message to one small member handler, which
// returns that message's result. All of it runs on the main thread; the
// settings dialog's thread and the watchdog's reach it only through the
// session and posted or sent messages.
#pragma once
#include <windows.h>

#include <memory>

#include "app/caret_query.h"
#include "app/cpu_monitor.h"
#include "app/fullscreen.h"
#include "app/fullscreen_rules.h"
#include "app/hook_library.h"
#include "app/mm_file.h"
#include "app/pause_hotkey.h"
#include "app/settings_session.h"
#include "app/settings_store.h"
#include "app/told_once.h"
#include "app/sign_in_start.h"
#include "app/tray_icon.h"
#include "app/version_box.h"
#include "base/foreground_loan.h"
#include "base/owned_handles.h"
#include "base/resource_ids.h"
#include "stars/win32/win32_star_field.h"

// What a main window is given when it is made.
struct MainWindowOptions {
  const wchar_t* iniPath = L"";      // the settings file, read when the object is made; empty: in memory only
  bool iniWritable = true;           // false: the file can be written nowhere, the first start says so
  HCURSOR starCursor = nullptr;      // the star windows' cursor
  bool watchdog = false;             // watch the processor use, as the program does
  const CpuMonitorSource* watchdogSource = nullptr;  // what the watch samples; null: the process's own use
  const wchar_t* runValueName = kRunValueName;       // the Run key's value of the start at sign-in
  // How a key without Win32 caret finds its caret; null: the standard ways,
  // about the input in front.
  const CaretQueryOptions* caretQuestion = nullptr;
  // The single-copy mutex, which the window owns from then on and lets go as
  // soon as it has stopped taking input: a new start then runs at once.
  HANDLE singleCopy = nullptr;
  NotifyIconCall trayNotify = nullptr;  // how the tray icon reaches the shell; null: the system's
};

// One object per window, which its window's user slot points at; the owners
// it holds keep it from being copied.
class MainWindow {
 public:
  // The timer that runs while the shell has not taken the tray icon yet (at sign-in).
  static constexpr UINT_PTR kTrayRetryTimerId = 3;

  explicit MainWindow(const MainWindowOptions& options);
  // Destroys the window if it still exists, then stops the watchdog.
  ~MainWindow();

  // Registers the main window class "Pipwink2"; 0 on failure (and when it is
  // registered already).
  static ATOM RegisterMainWindowClass(HINSTANCE instance);
  // Creates the hidden main window (one per object); its WM_CREATE adds the
  // tray icon, sets up the shared cells, loads the settings, starts the
  // watchdog and posts PWM_START. Null on failure.
  HWND CreateMainWindow(HINSTANCE instance);
  // Loads the hook library and installs the hooks, once the window (and so
  // the cells) exists; what HookLibrary::LoadHookLibrary returns.
  int LoadHookLibrary() { return hooks_.LoadHookLibrary(); }

  // The one writer of the settings, on the main thread: takes a record the
  // settings dialog chose, saves the keys that changed, mirrors the switches
  // into the cells, tells a failed save, and restarts the star field when
  // the folder changed. What changed, as CompairIniInfo says (0, 1 or 2).
  int TakeChosenSettings(const SettingsRecord& chosen);

  // What the window holds, for the program's start and for the tests.
  HWND Window() const { return window_; }  // null before creation and once destroyed
  Win32StarField* Field() { return field_.get(); }  // null outside WM_CREATE .. WM_DESTROY, and while it stops
  const SettingsRecord& Settings() const { return store_.Current(); }
  TrayIcon& Tray() { return tray_; }
  HMENU TrayMenu() const { return trayMenu_.Get(); }  // null except while it is shown
  bool SettingsDialogOpen() const { return session_ != nullptr && session_->IsOpen(); }
  HWND SettingsDialog() const { return session_ != nullptr ? session_->Dialog() : nullptr; }
  const VersionBox& Version() const { return versionBox_; }
  HMODULE HookModule() const { return hooks_.Module(); }
  const Watchdog& Watch() const { return watchdog_; }
  // Questions about a caret settled so far, for observers.
  uint32_t CaretQuestionsSettled() const { return caret_.Settled(); }
  // Whether input makes stars: the star field reacts (none: no).
  bool Reacting() const { return field_ && field_->Reacting(); }

 private:
  static constexpr int kTrayIconArt = IDR_TRAY_ART;
  static constexpr wchar_t kTipEnabled[] = L"Pipwink2";
  static constexpr wchar_t kTipDisabled[] = L"Pipwink2 (Disabled)";
  // While a load's report is held back, whether the full-screen program in
  // front has left is looked at this often, on a timer of its own.
  static constexpr UINT_PTR kHeldReportTimerId = 2;
  static constexpr UINT kHeldReportLookMs = 500;

  static LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  // The tip that says whether the star field reacts.
  const wchar_t* Tip() const;

  // The window's life (main_window.cpp).
  LRESULT OnCreate();
  LRESULT OnClose();
  LRESULT OnDestroy();
  void StopInputAndField();
  // The star field's start and the settings (main_window_run.cpp).
  LRESULT OnStart();
  LRESULT OnPicturesLoaded(WPARAM serial);
  LRESULT OnHeldReportLook();
  LRESULT OnSettingsChosen();
  // held: the report waited for a full-screen program to leave.
  void TellStartReport(const StartReport& report, bool held = false);
  void RegisterHotkeyOrTell();
  void TellRefusedHotkey();
  void TellDroppedExcludeEntry();
  // Input and the stars' own messages (main_window_input.cpp).
  LRESULT OnHookInput(UINT kind, LPARAM lParam);
  LRESULT OnHookClick(WPARAM serial, LPARAM lParam);
  LRESULT OnKeyWithoutCaret();
  LRESULT OnCaretFound(LPARAM lParam);
  LRESULT MakeInputStars(UINT kind, LPARAM lParam);
  LRESULT OnTimer();
  LRESULT OnHotkey(WPARAM id);
  LRESULT OnStarGrabbed(LPARAM star);
  LRESULT OnButtonUp(LPARAM window);
  LRESULT OnStarTidy(LPARAM star);
  LRESULT OnStarEraseAll();
  LRESULT OnStarErase(LPARAM star);
  LRESULT OnQueryManyStars();
  // What an observer waits on (cells/program_status.h), main_window_status.cpp.
  LRESULT OnQueryStatus();
  // The tray icon, its menu and its commands (main_window_tray.cpp).
  LRESULT OnTray(LPARAM mouseMessage);
  LRESULT OnCommand(WPARAM command);
  LRESULT OnAboutClosed();
  LRESULT OnTaskbarCreated();
  LRESULT OnAnotherStart();
  // Adds the tray icon; one the shell refuses is tried again on a timer.
  void AddTrayIcon();
  LRESULT OnTrayRetry();
  void ShowTrayMenu();
  void OnToggleReaction();
  void OpenVersionBox();
  void OpenSettingsDialog();
  void ApplyLanguage();

  const HCURSOR starCursor_;
  const bool watch_;
  const CpuMonitorSource* const watchSource_;
  HWND window_ = nullptr;
  bool stopped_ = false;  // the input and the star field have been stopped for good
  // The shell announces a new taskbar (after it restarted) with this
  // registered message; the icon must then be added again.
  UINT taskbarCreated_ = 0;
  ProgramCells cells_;
  SettingsStore store_{&cells_};
  // The serial of the last click taken: the hook posts a click again under
  // its serial when its send was not taken in time, and each is taken once.
  uint32_t lastClickSerial_ = 0;
  TrayIcon tray_;
  UniqueHandle singleCopy_;
  int trayRetriesLeft_ = 0;
  // The window the user typed in, for the tray menu's loan of the foreground.
  ForegroundMemory foreground_;
  UniqueMenu trayMenu_;
  // Made with the window and stopped with it; messages reach the window only
  // in between. Let go of before it stops, so that a message handled while it
  // stops (a wait inside the window system runs sent messages) finds none.
  std::unique_ptr<Win32StarField> field_;
  // Whether a full-screen program is in front, looked at now and then.
  FullScreenWatch fullScreen_{ForegroundIsFullScreen};
  // A load's report that waits until no full-screen program is in front: a
  // box that comes to the front would push itself over a game.
  std::optional<StartReport> heldReport_;
  PauseHotkey hotkey_;
  // The taken hotkey told last, so the same one is not told at every start.
  ToldOnce takenHotkeyNote_{"HOTKEYTAKEN"};
  VersionBox versionBox_;
  SignInStart signIn_;
  // Shared with the settings dialog's thread; let go of, not deleted.
  SettingsSession* session_ = nullptr;
  HookLibrary hooks_;
  // Asks where the caret is for keys in windows without a Win32 caret.
  CaretQuery caret_;
  Watchdog watchdog_;
  // Motion ticks handled, whether the stars moved in them or stood (the
  // settings dialog open), from the timer or due on the input path:
  // observers wait for ticks instead of time.
  uint32_t motionTicks_ = 0;
};
