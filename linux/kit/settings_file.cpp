#include "linux/kit/settings_file.h"

#include "app/ini_rules.h"
#include "linux/kit/ini_text.h"

SettingsOutcome LoadSettingsFile(const char* path, SettingsRecord* settings) {
  IniText file(kIniSection);
  switch (file.Load(path)) {
    case IniLoad::kUnreadable:
      *settings = DefaultSettings();
      return SettingsOutcome::kUnreadable;
    case IniLoad::kMissing:
      *settings = DefaultSettings();
      if (!WriteSettings(*settings, IniText::WriteKey, &file) || !file.Save(path)) return SettingsOutcome::kUnwritten;
      return SettingsOutcome::kCreated;
    case IniLoad::kRead:
      break;
  }
  *settings = ReadSettings(IniText::ReadKey, &file);
  // A file of the first version gains the keys added since; one the user has
  // not changed is never rewritten.
  bool completed = AddMissingKeys(*settings, IniText::ReadKey, IniText::WriteKey, &file) != 0;
  if (file.Changed() && (!completed || !file.Save(path))) return SettingsOutcome::kUnwritten;
  return SettingsOutcome::kRead;
}

const char* SettingsComplaint(SettingsOutcome outcome) {
  switch (outcome) {
    case SettingsOutcome::kUnreadable:
      return "the settings file cannot be read: the default settings are used and the file is left as it is";
    case SettingsOutcome::kUnwritten:
      return "the settings file cannot be written: the settings are kept until the program ends";
    case SettingsOutcome::kRead:
    case SettingsOutcome::kCreated:
      break;
  }
  return nullptr;
}
