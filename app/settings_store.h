// The settings in force, loaded from and saved to the INI file beside the
// program. The main window holds the one store and is its only writer, on its
// own thread; the settings dialog edits a copy and hands it back. Every load
// and save also mirrors the reaction switches into the shared cells.
#pragma once
#include <windows.h>

#include <cstdint>

#include "app/ini_place.h"
#include "app/mm_file.h"
#include "base/settings.h"

class SettingsStore {
 public:
  // Mirrors into cells (which outlive the store) when given.
  explicit SettingsStore(ProgramCells* cells = nullptr) : cells_(cells) {}

  // The INI file's path, set before the first load. Empty when the program's
  // directory leaves no room for the file name: the settings then live in
  // memory only and nothing is written. The path is wide, the file's
  // contents stay in the ANSI code page; the narrow form takes an ANSI path.
  void UseIniPath(const wchar_t* path);
  void UseIniPath(const char* path);
  const wchar_t* IniPath() const { return iniPath_; }

  // The settings in force; all zero until the first load.
  const SettingsRecord& Current() const { return settings_; }

  // Loads the settings: the defaults, written to a new file, when none
  // exists. 0 when that new file could not be written.
  int GetIniInfo();
  // Takes the record as the settings in force and writes every key. 0 when
  // the file could not be written (the settings then hold in memory only).
  int SaveIniInfo(const SettingsRecord& settings);
  // Takes the changed record and writes only the keys whose values changed.
  // 0 when a write failed.
  int SaveChangedIniInfo(const SettingsRecord& changed);

  // Takes a record the settings dialog chose: when it differs from the
  // settings in force, it becomes them and the keys that changed are saved.
  // What changed, as CompairIniInfo says: 0, 1, or 2 for a new folder.
  int TakeChosenSettings(const SettingsRecord& chosen);

  // Tells the user once, in a box owned by owner, that the last save failed
  // and which file it was;
  // nothing when it succeeded or the user has been told already. A
  // successful save re-arms it.
  void TellUnsavedSettings(HWND owner);
  // The file can be written nowhere: the next TellUnsavedSettings says so,
  // though nothing has been saved yet.
  void NoteUnwritable() { lastSaveFailed_ = true; }

  // The text of one key of the settings section, at most size - 1
  // characters; empty for a missing file, section or key.
  void GetPps(const char* key, char* out, int size) const;
  // The leading number of a key's first five characters; negative reads as 0.
  int32_t GetPpsByInt(const char* key) const;

 private:
  static int ReadIniKey(void* store, const char* key, char* out, int size);
  static int WriteIniKey(void* store, const char* key, const char* text);
  // Reads the key from the file as it is now; 0, with out empty, when the
  // file, the section or the key is missing.
  int ReadKey(const char* key, char* out, int size) const;
  bool IniFileExists() const;
  int NoteSave(int written);
  void Mirror();

  wchar_t iniPath_[kIniPathSize] = {};
  SettingsRecord settings_{};
  ProgramCells* cells_;
  // The last save failed, and whether the user has been told since.
  bool lastSaveFailed_ = false;
  bool saveFailureTold_ = false;
};
