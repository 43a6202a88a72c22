#include "app/picture_messages.h"

#include <cwchar>

namespace {

// Appends text to out (size characters, NUL-terminated), cutting what does not fit.
void Append(wchar_t* out, size_t size, const wchar_t* text) {
  size_t used = wcsnlen(out, size);
  if (text == nullptr || used + 1 >= size) return;
  size_t length = wcsnlen(text, size - used - 1);
  wmemcpy(out + used, text, length);
  out[used + length] = L'\0';
}

void AppendAnsi(wchar_t* out, size_t size, const char* text, AnsiToWide widen) {
  wchar_t wide[kTextSize + 1];
  widen(text, wide, sizeof wide / sizeof wide[0]);
  Append(out, size, wide);
}

// After a blank line, the names of the unreadable files, one a line, then how
// many more there are.
void AppendFailedNames(wchar_t* out, size_t size, const UiTextBlock& texts, const FolderScanReport& scan,
                       AnsiToWide widen) {
  if (scan.failedFiles <= 0) return;
  Append(out, size, L"\n");
  int named = scan.failedFiles < kNamedFailedFiles ? scan.failedFiles : kNamedFailedFiles;
  for (int k = 0; k < named; ++k) {
    Append(out, size, L"\n");
    AppendAnsi(out, size, scan.failedNames[k], widen);
  }
  if (scan.failedFiles <= named) return;
  // The text holds "%d" where the count goes; it is never used as a format.
  const wchar_t* more = texts.slot[TEXT_MORE_FILES];
  const wchar_t* mark = std::wcsstr(more, L"%d");
  wchar_t count[16];
  std::swprintf(count, sizeof count / sizeof count[0], L"%d", scan.failedFiles - named);
  Append(out, size, L"\n");
  if (mark == nullptr) {
    Append(out, size, more);
    Append(out, size, L" ");
    Append(out, size, count);
    return;
  }
  wchar_t head[kTextSize] = {};
  size_t headLength = static_cast<size_t>(mark - more);
  if (headLength >= static_cast<size_t>(kTextSize)) headLength = kTextSize - 1;
  wmemcpy(head, more, headLength);
  head[headLength] = L'\0';
  Append(out, size, head);
  Append(out, size, count);
  Append(out, size, mark + 2);
}

}  // namespace

int ComposeFolderMessage(wchar_t* out, size_t size, const UiTextBlock& texts, const FolderScanReport& scan,
                         int gotPictures, int starField, AnsiToWide widen) {
  if (out == nullptr || size == 0) return 0;
  out[0] = L'\0';
  if (scan.folderMissing || scan.folderIsFile) {
    Append(out, size, texts.slot[scan.folderMissing ? TEXT_FOLDER_MISSING : TEXT_FOLDER_IS_FILE]);
    Append(out, size, L"\n");
    AppendAnsi(out, size, scan.folder, widen);
    if (starField) {
      Append(out, size, L"\n");
      Append(out, size, texts.slot[TEXT_USING_DEFAULT]);
    }
    return 1;
  }
  if (!gotPictures) {
    Append(out, size, texts.slot[starField ? TEXT_FOLDER_UNUSABLE : TEXT_NO_PICTURE]);
    AppendFailedNames(out, size, texts, scan, widen);
    return 1;
  }
  if (scan.failedFiles == 0) return 0;
  Append(out, size, texts.slot[TEXT_SOME_UNREADABLE]);
  AppendFailedNames(out, size, texts, scan, widen);
  return 1;
}

int ComposeHeldFolderMessage(wchar_t* out, size_t size, const UiTextBlock& texts, const FolderScanReport& scan,
                             int gotPictures, AnsiToWide widen) {
  if (out == nullptr || size == 0) return 0;
  out[0] = L'\0';
  if (scan.folderMissing || scan.folderIsFile) return ComposeFolderMessage(out, size, texts, scan, gotPictures, 1, widen);
  wchar_t message[kFolderMessageSize];
  if (!ComposeFolderMessage(message, kFolderMessageSize, texts, scan, gotPictures, 1, widen)) return 0;
  Append(out, size, texts.slot[TEXT_FOLDER_LOADED]);
  Append(out, size, L"\n");
  AppendAnsi(out, size, scan.folder, widen);
  Append(out, size, L"\n\n");
  Append(out, size, message);
  return 1;
}
