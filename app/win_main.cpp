// Entry point: one copy at a time, the hidden main window, the message loop.
#include <windows.h>

#include <ctime>

#include "app/main_window.h"
#include "app/message_loop.h"
#include "app/message_out.h"
#include "app/settings_store.h"
#include "app/sign_in_start.h"
#include "app/tray_icon.h"
#include "base/app_state.h"
#include "base/owned_handles.h"
#include "base/resource_ids.h"
#include "base/ui_texts.h"
#include "cells/private_messages.h"
#include "stars/random_source.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  // A second copy asks the first to show where it is and ends. The first
  // holds the mutex's handle, never its ownership, while it runs: only
  // whether the name exists counts, and its main window lets it go as soon as
  // it stops, so a start right after an exit runs.
  HANDLE created = CreateMutexA(nullptr, FALSE, kMutexName);
  const bool running = GetLastError() == ERROR_ALREADY_EXISTS;
  UniqueHandle mutex(created);
  if (!mutex) return 0;
  if (running) {
    if (HWND first = FindWindowA(kMainClassName, nullptr)) PostMessageA(first, PWM_ANOTHER_START, 0, 0);
    return 0;
  }
  appInstance = instance;
  // A toy yields to the user's programs: when a burst of stars and another
  // program's input want the processor at once, the other program wins.
  // Only star making (this thread) and picture loading are lowered: the
  // hook thread answers other programs' input, which waits for it.
  SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_BELOW_NORMAL);

  SeedRandomSource(static_cast<uint32_t>(std::time(nullptr)));
  IniLocation ini{};
  FindIniFile(&ini);
  LoadUiTexts();
  MainWindowOptions options;
  options.iniPath = ini.path;
  options.iniWritable = ini.writable;
  // The star windows' class keeps the cursor it is first given, so the
  // cursor lives as long as the process.
  options.starCursor = PrepairAlphaIcon(IDR_CURSOR_ART, 4, 1);
  options.watchdog = true;  // for the life of the window; nothing else waits for it
  options.singleCopy = mutex.Release();
  MainWindow shell(options);

  MainWindow::RegisterMainWindowClass(instance);
  HWND window = shell.CreateMainWindow(instance);
  // Without the library, or without its hooks (a global hook's library must
  // lie in a folder of an ordinary length), the program would sit in the tray
  // and never react: the user is told once.
  const int hooks = shell.LoadHookLibrary();
  if (hooks == kHookLibraryUnprotected) {
    wchar_t text[kTextSize * 2] = {};
    if (LoadTextInUiLanguage(IDS_HOOK_LIBRARY_UNPROTECTED, text, kTextSize * 2)) MessageOut(window, text);
  } else if (hooks != 1) {
    MessageOut(window, UiTexts.slot[TEXT_NO_HOOK_LIBRARY]);
  }
  // A program started at sign-in and moved since would not start there
  // again: the value follows it to where it runs now.
  if (!SignInStart().FollowMove()) MessageOut(window, UiTexts.slot[TEXT_SIGN_IN_UNSAVED]);
  return RunMessageLoop(window);
}
