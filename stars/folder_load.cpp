#include "stars/folder_load.h"

#include <chrono>
#include <cstdio>
#include <new>
#include <thread>
#include <utility>

#include "images/picture_files.h"

std::atomic<int32_t> FolderLoad::abandoned_{0};

FolderLoad::Job::~Job() { ReleasePictures(&pictures); }

bool FolderLoad::Begin(const char* folder, const PngLister& lister, FieldHost* host, uintptr_t serial) {
  Cancel();
  Job* made = new (std::nothrow) Job;
  if (made == nullptr) return false;
  std::shared_ptr<Job> job(made);
  std::snprintf(job->folder, sizeof job->folder, "%s", folder);
  job->lister = &lister;
  job->host = host;
  job->serial = serial;
  // Marked before the thread exists, so that no sample falls between.
  job->loading.emplace();
  // The worker holds its own share of the job, so an abandoned one never
  // reaches into this object.
  std::thread(Work, job).detach();
  job_ = std::move(job);
  serial_ = serial;
  return true;
}

void FolderLoad::Work(std::shared_ptr<Job> job) {
  {
    // Under the lock, as the end's report: a stop may have come first.
    std::lock_guard<std::mutex> lock(job->mutex);
    if (!job->stop.load()) job->host->LoaderStarts();
  }
  ScanPictureFolder(job->folder, *job->lister, &job->pictures, &job->scan, &job->stop);
  std::lock_guard<std::mutex> lock(job->mutex);
  job->loading.reset();
  job->ended = true;
  if (job->abandoned) abandoned_.fetch_sub(1);
  // Under the lock: once a stop has set the flag (under it too), the host,
  // which may be gone by then, hears nothing.
  if (!job->stop.load()) job->host->PicturesLoaded(job->serial);
  job->endedSignal.notify_all();
}

bool FolderLoad::WaitBriefly() {
  std::unique_lock<std::mutex> lock(job_->mutex);
  return job_->endedSignal.wait_for(lock, std::chrono::milliseconds(kStopWaitMs), [this] { return job_->ended; });
}

void FolderLoad::Drop() {
  {
    std::lock_guard<std::mutex> lock(job_->mutex);
    job_->stop.store(true);
    if (!job_->ended) {
      job_->abandoned = true;
      abandoned_.fetch_add(1);
      // Its mark goes now: a stuck read is no work the watchdog should excuse.
      job_->loading.reset();
    }
  }
  job_.reset();
}

int FolderLoad::Take(ImageList<Picture>* list, FolderScanReport* scan) {
  if (!job_) return 0;
  if (!WaitBriefly()) {
    Drop();
    return 0;
  }
  int got = job_->pictures.Count() > 0 ? 1 : 0;
  while (job_->pictures.Count() > 0) {
    Picture* picture = job_->pictures.Remove(0);
    if (!list->Append(picture)) delete picture;
  }
  if (scan != nullptr) *scan = job_->scan;
  Drop();
  return got;
}

void FolderLoad::Cancel() {
  if (!job_) return;
  job_->stop.store(true);
  WaitBriefly();
  Drop();
}
