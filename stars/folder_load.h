// Loading the picture folder on a worker thread, so that the program answers
// (tray, hotkey, clicks) while a folder of large pictures loads. The worker
// only loads and says when it is done; the star field's thread takes the
// pictures over. Every call but the worker's own is made on that one thread.
#pragma once
#include <windows.h>

#include <optional>

#include "base/app_state.h"
#include "base/owned_handles.h"
#include "images/folder_scan.h"
#include "images/image_set.h"
#include "images/star_images.h"

class FolderLoad {
 public:
  FolderLoad() = default;
  // Stops a load under way and releases what it made.
  ~FolderLoad() { Cancel(); }
  FolderLoad(const FolderLoad&) = delete;
  FolderLoad& operator=(const FolderLoad&) = delete;

  // Starts loading the folder's pictures on a worker thread, which posts
  // `message` (wParam: serial) to window once they are loaded. The watchdog
  // skips its samples until then. False when no thread could be started:
  // nothing is then under way.
  bool Begin(const char* folder, HWND window, UINT message, WPARAM serial);
  // A load has begun and has been neither taken nor cancelled.
  bool Pending() const { return static_cast<bool>(thread_); }
  WPARAM Serial() const { return serial_; }
  // Waits until the load has ended (at once after its message) and moves its
  // pictures to the end of list, in the folder's order; *scan says what went
  // wrong. Nonzero when the folder gave at least one picture.
  int Take(ImageList<ImageSet>* list, FolderScanReport* scan);
  // Stops the worker at the next picture row it decodes, waits for it and
  // releases every picture it made. Nothing is posted for a cancelled load.
  void Cancel();

 private:
  static DWORD WINAPI Work(void* self);
  void Wait();

  // Written by the worker only until it ends; read here only after that.
  char folder_[kFolderPathSize] = {};
  ImageList<ImageSet> pictures_;
  FolderScanReport scan_{};
  std::optional<PictureLoading> loading_;
  StopSignal stop_{false};
  UniqueHandle thread_;
  HWND window_ = nullptr;
  UINT message_ = 0;
  WPARAM serial_ = 0;
};
