#include "app/picture_messages.h"

#include <cstdio>
#include <cstring>

namespace {

// Appends text to out (size bytes, NUL-terminated), cutting what does not fit.
void Append(char* out, size_t size, const char* text) {
  size_t used = strnlen(out, size);
  if (text == nullptr || used + 1 >= size) return;
  size_t length = strnlen(text, size - used - 1);
  memcpy(out + used, text, length);
  out[used + length] = '\0';
}

// After a blank line, the names of the unreadable files, one a line, then how
// many more there are.
void AppendFailedNames(char* out, size_t size, const UiTextBlock& texts, const FolderScanReport& scan) {
  if (scan.failedFiles <= 0) return;
  Append(out, size, "\n");
  int named = scan.failedFiles < kNamedFailedFiles ? scan.failedFiles : kNamedFailedFiles;
  for (int k = 0; k < named; ++k) {
    Append(out, size, "\n");
    Append(out, size, scan.failedNames[k]);
  }
  if (scan.failedFiles <= named) return;
  // The text holds "%d" where the count goes; it is never used as a format.
  const char* more = texts.slot[TEXT_MORE_FILES];
  const char* mark = strstr(more, "%d");
  char count[16];
  std::snprintf(count, sizeof count, "%d", scan.failedFiles - named);
  Append(out, size, "\n");
  if (mark == nullptr) {
    Append(out, size, more);
    Append(out, size, " ");
    Append(out, size, count);
    return;
  }
  char head[kTextSize];
  std::snprintf(head, sizeof head, "%.*s", static_cast<int>(mark - more), more);
  Append(out, size, head);
  Append(out, size, count);
  Append(out, size, mark + 2);
}

}  // namespace

int ComposeFolderMessage(char* out, size_t size, const UiTextBlock& texts, const char* folder,
                         const FolderScanReport& scan, int gotPictures, int starField) {
  if (out == nullptr || size == 0) return 0;
  out[0] = '\0';
  if (scan.folderMissing || scan.folderIsFile) {
    Append(out, size, texts.slot[scan.folderMissing ? TEXT_FOLDER_MISSING : TEXT_FOLDER_IS_FILE]);
    Append(out, size, "\n");
    Append(out, size, folder);
    if (starField) {
      Append(out, size, "\n");
      Append(out, size, texts.slot[TEXT_USING_DEFAULT]);
    }
    return 1;
  }
  if (!gotPictures) {
    Append(out, size, texts.slot[starField ? TEXT_FOLDER_UNUSABLE : TEXT_NO_PICTURE]);
    AppendFailedNames(out, size, texts, scan);
    return 1;
  }
  if (scan.failedFiles == 0) return 0;
  Append(out, size, texts.slot[TEXT_SOME_UNREADABLE]);
  AppendFailedNames(out, size, texts, scan);
  return 1;
}
