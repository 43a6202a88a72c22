#include "linux/kit/xdg_paths.h"

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>

namespace {

bool Usable(const char* value) { return value != nullptr && value[0] == '/'; }

bool Format(KitPath* out, const char* format, ...) {
  va_list args;
  va_start(args, format);
  int length = vsnprintf(out->text, sizeof out->text, format, args);
  va_end(args);
  if (length < 0 || static_cast<size_t>(length) >= sizeof out->text) {
    out->text[0] = '\0';
    return false;
  }
  return true;
}

// A trailing slash of the base would double the separator.
const char* Separator(const char* base) {
  size_t length = strlen(base);
  return length > 0 && base[length - 1] == '/' ? "" : "/";
}

}  // namespace

XdgEnvironment XdgFromEnvironment() {
  return XdgEnvironment{getenv("XDG_CONFIG_HOME"), getenv("XDG_RUNTIME_DIR"), getenv("HOME")};
}

bool SettingsFolder(const XdgEnvironment& env, KitPath* out) {
  if (Usable(env.configHome)) return Format(out, "%s%stovik2", env.configHome, Separator(env.configHome));
  if (Usable(env.home)) return Format(out, "%s%s.config/tovik2", env.home, Separator(env.home));
  out->text[0] = '\0';
  return false;
}

bool SettingsFile(const XdgEnvironment& env, KitPath* out) {
  KitPath folder;
  if (!SettingsFolder(env, &folder)) {
    out->text[0] = '\0';
    return false;
  }
  return Format(out, "%s/tovik2.ini", folder.text);
}

bool LockFile(const XdgEnvironment& env, KitPath* out) {
  if (Usable(env.runtimeDir)) return Format(out, "%s%stovik2.lock", env.runtimeDir, Separator(env.runtimeDir));
  KitPath folder;
  if (!SettingsFolder(env, &folder)) {
    out->text[0] = '\0';
    return false;
  }
  return Format(out, "%s/tovik2.lock", folder.text);
}

bool MakeFolders(const char* path) {
  KitPath walk;
  if (path == nullptr || !Format(&walk, "%s", path) || walk.text[0] == '\0') return false;
  // Each parent in turn, then the folder itself.
  for (char* at = walk.text + 1;; ++at) {
    bool end = *at == '\0';
    if (*at == '/' || end) {
      *at = '\0';
      if (mkdir(walk.text, 0700) != 0 && errno != EEXIST) return false;
      if (end) break;
      *at = '/';
    }
  }
  struct stat info;
  return stat(path, &info) == 0 && S_ISDIR(info.st_mode);
}
