// Starting at sign-in: the value "Tovik2" under the user's Run key
// (HKCU\Software\Microsoft\Windows\CurrentVersion\Run) holds the program's
// full quoted path while the user wants it. The registry is the only record:
// the tray menu reads it each time it opens.
#pragma once
#include <windows.h>

constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr wchar_t kRunValueName[] = L"Tovik2";

class SignInStart {
 public:
  // The value of the given name under HKCU's Run key, for the program at
  // programPath; the defaults are the program's own.
  explicit SignInStart(const wchar_t* valueName = kRunValueName, const wchar_t* programPath = nullptr);

  // Whether the value is there (whatever it holds).
  bool IsOn() const;
  // Sets (the quoted path) or removes the value; false when the registry
  // refused (a missing value counts as removed).
  bool Set(bool on) const;
  // With the value there but naming another file (the program was moved),
  // points it at this program; false only when that rewrite failed.
  bool FollowMove() const;

 private:
  const wchar_t* valueName_;
  wchar_t programPath_[MAX_PATH * 2] = {};
};
