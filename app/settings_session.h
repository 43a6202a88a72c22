// What the main window and its settings dialog share. The dialog runs on a
// thread of its own and edits a copy of the settings; OK hands the chosen
// copy to the main thread, which alone writes, saves and applies it. The main
// window makes one session for its life and lends it to each dialog thread;
// whichever lets go of it last frees it, so a dialog that outlives its main
// window (the program ends while it shows) never touches freed memory.
#pragma once
#include <windows.h>

#include <atomic>

#include "app/ini_place.h"
#include "app/test_display.h"
#include "base/owned_handles.h"
#include "base/settings.h"

class SettingsSession {
 public:
  // A session with one hold, for the main window (owner) whose star windows
  // show the given cursor; null without memory.
  static SettingsSession* Make(HWND owner, HCURSOR cursor);
  // Another hold (for a dialog's thread), and its end: the last one frees.
  void Hold();
  void LetGo();

  HWND Owner() const { return owner_; }
  HCURSOR Cursor() const { return cursor_; }

  // Main thread: opens the session for a dialog editing a copy of current.
  // False when a dialog is open already.
  // The dialog shows iniPath, the file the settings live in.
  bool Open(const SettingsRecord& current, const wchar_t* iniPath = L"");
  // Any thread: a dialog is open, from Open until the dialog's thread ends.
  // While it is, input makes no stars and the stars stand still.
  bool IsOpen() const { return open_.load(); }
  const std::atomic<bool>& OpenFlag() const { return open_; }
  // The dialog's thread, at its end (or the main thread when none started).
  void Close();

  // The dialog's window once it is up; null before.
  HWND Dialog() const { return dialog_.load(); }
  void SetDialog(HWND dialog) { dialog_.store(dialog); }

  // The dialog's thread: the copy it edits, its alone while it is open.
  SettingsRecord& Edited() { return edited_; }
  const wchar_t* IniPath() const { return iniPath_; }
  TestDisplay& Display() { return display_; }

  // The dialog's thread: the copy OK chose, handed over with a message that
  // the main thread answers while this thread waits for it.
  void Choose(const SettingsRecord& chosen);
  // Main thread: takes the copy chosen since the last take; false for none.
  bool TakeChoice(SettingsRecord* chosen);

 private:
  SettingsSession(HWND owner, HCURSOR cursor) : owner_(owner), cursor_(cursor) {}

  std::atomic<int> holds_{1};
  const HWND owner_;
  const HCURSOR cursor_;
  std::atomic<bool> open_{false};
  std::atomic<HWND> dialog_{nullptr};
  SettingsRecord edited_{};
  wchar_t iniPath_[kIniPathSize] = {};
  SettingsRecord chosen_{};
  std::atomic<bool> chosenWaits_{false};  // chosen_ is written before this is set, read after it is seen
  TestDisplay display_;
};

// Starts a thread that runs the settings dialog of an open session (with a
// hold of its own), or holds nothing when no thread could be started.
UniqueHandle StartSettingDialog(SettingsSession* session);
