// Something the user is told once per value, not at every start: the value
// told last is kept in the settings file's own section "[TOLD]" (apart from
// the settings, so no load or save of them touches it), or in memory when
// the settings live there.
#pragma once
#include <windows.h>

#include "base/settings.h"

class ToldOnce {
 public:
  explicit ToldOnce(const char* key) : key_(key) {}

  // True when `value` has not been told before (and notes that it now is);
  // false when it has. `iniPath` empty: remembered for this run only.
  bool FirstTime(const wchar_t* iniPath, const char* value);

 private:
  const char* key_;
  char inMemory_[kHotkeyTextSize] = {};
};
