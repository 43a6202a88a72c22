// The settings file's part in a start: the record it gives and what became
// of the file, by the same rules as the Windows program's. A first start
// writes every key; an older file gains the keys it lacks; a file that
// cannot be read gives the defaults and is never written over.
#pragma once

#include "base/settings.h"

enum class SettingsOutcome {
  kRead,        // the file's settings, the file kept (and completed)
  kCreated,     // no file: the defaults, written with every key
  kUnreadable,  // the defaults; the file left as it is
  kUnwritten,   // the settings are in force but the file could not be written
};

SettingsOutcome LoadSettingsFile(const char* path, SettingsRecord* settings);

// The line to tell the user once, or null when all went well.
const char* SettingsComplaint(SettingsOutcome outcome);
