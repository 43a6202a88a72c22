#include "stars/folder_load.h"

#include <cstdio>

bool FolderLoad::Begin(const char* folder, HWND window, UINT message, WPARAM serial) {
  Cancel();
  std::snprintf(folder_, sizeof folder_, "%s", folder);
  scan_ = FolderScanReport{};
  window_ = window;
  message_ = message;
  serial_ = serial;
  stop_.store(false);
  // Marked before the thread exists, so that no sample falls between.
  loading_.emplace();
  thread_.Reset(CreateThread(nullptr, 0, Work, this, 0, nullptr));
  if (!thread_) loading_.reset();
  return static_cast<bool>(thread_);
}

DWORD WINAPI FolderLoad::Work(void* self) {
  FolderLoad* load = static_cast<FolderLoad*>(self);
  PrepairStarImageByFolder(load->folder_, &load->pictures_, &load->scan_, &load->stop_);
  load->loading_.reset();
  if (!load->stop_.load()) PostMessageA(load->window_, load->message_, load->serial_, 0);
  return 0;
}

void FolderLoad::Wait() {
  if (thread_) WaitForSingleObject(thread_.Get(), INFINITE);
  thread_.Reset();
}

int FolderLoad::Take(ImageList<ImageSet>* list, FolderScanReport* scan) {
  Wait();
  int got = pictures_.Count() > 0 ? 1 : 0;
  while (pictures_.Count() > 0) {
    ImageSet* set = pictures_.Remove(0);
    if (!list->Append(set)) delete set;
  }
  if (scan != nullptr) *scan = scan_;
  return got;
}

void FolderLoad::Cancel() {
  stop_.store(true);
  Wait();
  ReleaseImageList(&pictures_);
}
