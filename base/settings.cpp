#include "base/settings.h"

SettingsRecord Settings{};  // all zero until the first load
