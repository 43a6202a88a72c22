#include "linux/plain/png_folder.h"

#include <dirent.h>
#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>

#include <cstring>

namespace {
bool EndsInPng(const char* name) {
  size_t length = strlen(name);
  return length > 4 && strcasecmp(name + length - 4, ".png") == 0;
}
}  // namespace

PngFolderState ListPngFolder(const char* folder, PngNameVisitor* visitor) {
  struct stat info;
  if (stat(folder, &info) != 0) return PngFolderState::kMissing;
  if (!S_ISDIR(info.st_mode)) return PngFolderState::kIsFile;
  DIR* listing = opendir(folder);
  if (listing == nullptr) return PngFolderState::kMissing;
  int at = dirfd(listing);
  while (const dirent* entry = readdir(listing)) {
    if (!EndsInPng(entry->d_name)) continue;
    bool file = entry->d_type == DT_REG;
    if (entry->d_type == DT_UNKNOWN || entry->d_type == DT_LNK) {
      // The file system did not say, or a link: ask where it leads.
      struct stat target;
      file = fstatat(at, entry->d_name, &target, 0) == 0 && S_ISREG(target.st_mode);
    }
    if (file && !visitor->File(entry->d_name)) break;
  }
  closedir(listing);
  return PngFolderState::kPresent;
}
