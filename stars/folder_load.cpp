#include "stars/folder_load.h"

#include <cstdio>
#include <new>

std::atomic<int32_t> FolderLoad::abandoned_{0};

bool FolderLoad::Begin(const char* folder, HWND window, UINT message, WPARAM serial) {
  Cancel();
  Job* job = new (std::nothrow) Job;
  if (job == nullptr) return false;
  std::snprintf(job->folder, sizeof job->folder, "%s", folder);
  job->window = window;
  job->message = message;
  job->serial = serial;
  // Marked before the thread exists, so that no sample falls between.
  job->loading.emplace();
  thread_.Reset(CreateThread(nullptr, 0, Work, job, 0, nullptr));
  if (!thread_) {
    delete job;
    return false;
  }
  job_ = job;
  serial_ = serial;
  return true;
}

DWORD WINAPI FolderLoad::Work(void* shared) {
  Job* job = static_cast<Job*>(shared);
  SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_BELOW_NORMAL);  // a toy's pictures yield to the user
  PrepairStarImageByFolder(job->folder, &job->pictures, &job->scan, &job->stop);
  job->EndMark();
  if (!job->stop.load()) PostMessageA(job->window, job->message, job->serial, 0);
  if (job->settled.exchange(true)) abandoned_.fetch_sub(1);
  job->LetGo();
  return 0;
}

bool FolderLoad::WaitBriefly() {
  if (!thread_) return true;
  return WaitForSingleObject(thread_.Get(), kStopWaitMs) == WAIT_OBJECT_0;
}

void FolderLoad::Drop() {
  if (job_ == nullptr) return;
  // Counted before the worker can see the flag, so the count never dips.
  abandoned_.fetch_add(1);
  if (job_->settled.exchange(true)) {
    abandoned_.fetch_sub(1);  // the worker had ended
  } else {
    // Its mark goes now: a stuck read is no work the watchdog should excuse.
    job_->EndMark();
  }
  thread_.Reset();
  Job* job = job_;
  job_ = nullptr;
  job->LetGo();
}

int FolderLoad::Take(ImageList<ImageSet>* list, FolderScanReport* scan) {
  if (job_ == nullptr) return 0;
  if (!WaitBriefly()) {
    job_->stop.store(true);
    Drop();
    return 0;
  }
  int got = job_->pictures.Count() > 0 ? 1 : 0;
  while (job_->pictures.Count() > 0) {
    ImageSet* set = job_->pictures.Remove(0);
    if (!list->Append(set)) delete set;
  }
  if (scan != nullptr) *scan = job_->scan;
  Drop();
  return got;
}

void FolderLoad::Cancel() {
  if (job_ == nullptr) return;
  job_->stop.store(true);
  WaitBriefly();
  Drop();
}
