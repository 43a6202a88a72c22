// Where the program keeps its files, by the XDG base directory rules: the
// settings in $XDG_CONFIG_HOME/tovik2/tovik2.ini (~/.config when unset), the
// one-copy lock in $XDG_RUNTIME_DIR. Values that are not absolute paths are
// ignored, as those rules ask.
#pragma once
#include <cstddef>

// A path in a buffer of its own: no allocation, and a path too long for it
// is a failure rather than a cut.
struct KitPath {
  static constexpr size_t kCapacity = 4096;
  char text[kCapacity] = {};
};

// What the paths are made from; each may be null (unset).
struct XdgEnvironment {
  const char* configHome = nullptr;  // XDG_CONFIG_HOME
  const char* runtimeDir = nullptr;  // XDG_RUNTIME_DIR
  const char* home = nullptr;        // HOME
};

// The process's own environment.
XdgEnvironment XdgFromEnvironment();

// The folder the settings file lives in; false when neither XDG_CONFIG_HOME
// nor HOME gives an absolute path, or the path is too long.
bool SettingsFolder(const XdgEnvironment& env, KitPath* out);
// The settings file itself.
bool SettingsFile(const XdgEnvironment& env, KitPath* out);

// The lock file. Without a usable XDG_RUNTIME_DIR it sits in the settings
// folder, which is the user's own as well.
bool LockFile(const XdgEnvironment& env, KitPath* out);

// Makes the folder and any missing parent (new ones private to the user);
// true when it exists afterwards.
bool MakeFolders(const char* path);
