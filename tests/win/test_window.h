// Helpers for the Win32 tests: a real top-level window, and a second process.
#pragma once
#include <windows.h>

#include <string>

// A plain hidden top-level window that lives as long as the object.
class TestWindow {
 public:
  TestWindow();
  ~TestWindow();
  TestWindow(const TestWindow&) = delete;
  TestWindow& operator=(const TestWindow&) = delete;
  HWND handle() const { return window_; }

 private:
  HWND window_;
};

// One icon of the tests' own in the notification area for as long as the
// object lives. Wine's tray hides itself when its last icon goes, and on a
// display without a window manager that hide waits 2 s inside the removing
// program's Shell_NotifyIcon call. A suite whose every case adds and removes
// the program's icon keeps one while it runs, so only its own end waits.
class TrayKeeper {
 public:
  TrayKeeper();
  ~TrayKeeper();
  TrayKeeper(const TrayKeeper&) = delete;
  TrayKeeper& operator=(const TrayKeeper&) = delete;

 private:
  TestWindow owner_;
  bool added_ = false;
};

// Runs a program that lies beside the test executable with the given
// arguments, waits for it and returns its exit code (or -1 if it did not run).
long RunBesideTests(const char* program, const std::string& arguments, DWORD timeoutMs = 20000);

// Starts such a program and returns its process handle (null if it did not
// start); the caller waits for it and closes the handle.
HANDLE StartBesideTests(const char* program, const std::string& arguments);

// The folder of the test executable, with its final separator.
std::wstring TestFolder();

// Starts the program at a full path; as StartBesideTests.
HANDLE StartProgramAt(const std::wstring& path, const std::wstring& arguments);

// Runs the program at a full path and returns its exit code as above.
long RunProgramAt(const std::wstring& path, const std::wstring& arguments, DWORD timeoutMs = 20000);
