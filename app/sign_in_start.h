// Starting at sign-in: the value "Tovik2" under the user's Run key
// (HKCU\Software\Microsoft\Windows\CurrentVersion\Run) holds the program's
// full quoted path while the user wants it. The registry is the only record:
// the tray menu reads it each time it opens. The task manager's start-up
// list can disable the value without removing it (StartupApproved\Run): the
// mark shows what Windows will really do, and turning it on clears that.
#pragma once
#include <windows.h>

constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr wchar_t kRunValueName[] = L"Tovik2";
constexpr wchar_t kStartupApprovedKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run";

class SignInStart {
 public:
  // The value of the given name under HKCU's Run key, for the program at
  // programPath; the defaults are the program's own.
  explicit SignInStart(const wchar_t* valueName = kRunValueName, const wchar_t* programPath = nullptr);

  // Whether Windows will start it: the value is there (whatever it holds)
  // and the start-up list does not block it.
  bool IsOn() const;
  // Sets (the quoted path, clearing a block of the start-up list) or removes
  // the value; false when the registry refused (a missing value counts as
  // removed).
  bool Set(bool on) const;
  // With the value there but naming another file (the program was moved),
  // points it at this program, if this copy lies in a lasting place (not in
  // the temporary folder, where a copy run from inside a zip archive lies,
  // nor on a removable drive); false only when that rewrite failed.
  bool FollowMove() const;

 private:
  const wchar_t* valueName_;
  wchar_t programPath_[MAX_PATH * 2] = {};
};
