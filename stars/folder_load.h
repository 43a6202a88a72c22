// Loading the picture folder on a worker thread, so that the program answers
// (tray, hotkey, clicks) while a folder of large pictures loads. The worker
// only makes pictures (pixels and frames) and tells the host when it is done;
// the star field's thread takes them over. Every call but the worker's own is
// made on that one thread.
//
// A read can block for good (a file on a share that went offline, a pipe
// named like a picture), and no stop signal reaches a thread inside it. So a
// stop waits for the worker only kStopWaitMs; a worker still running then is
// abandoned: everything it touches lives in its job, which it shares with
// this object, and what it made is dropped with the job when it ends.
#pragma once
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>

#include "base/activity_marks.h"
#include "images/folder_scan.h"
#include "images/image_list.h"
#include "images/picture.h"
#include "images/png_lister.h"
#include "images/star_pixels.h"
#include "stars/field_host.h"

// How long a stop (exit, restart) waits for a worker to give up before it
// abandons it.
constexpr uint32_t kStopWaitMs = 1000;

class FolderLoad {
 public:
  FolderLoad() = default;
  // Stops a load under way and releases what it made.
  ~FolderLoad() { Cancel(); }
  FolderLoad(const FolderLoad&) = delete;
  FolderLoad& operator=(const FolderLoad&) = delete;

  // Starts loading the folder's pictures, listed by lister (which outlives
  // the process's workers), on a worker thread, which calls
  // host->PicturesLoaded(serial) once they are loaded. The watchdog skips its
  // samples until then. False when no load could be started: nothing is then
  // under way.
  bool Begin(const char* folder, const PngLister& lister, FieldHost* host, uintptr_t serial);
  // A load has begun and has been neither taken nor cancelled.
  bool Pending() const { return job_ != nullptr; }
  uintptr_t Serial() const { return serial_; }
  // Takes a load that has ended (the host heard of it) and moves its pictures
  // to the end of list, in the folder's order, list owning them from then on;
  // *scan says what went wrong. Nonzero when the folder gave at least one
  // picture; 0 and nothing moved when the worker does not end within
  // kStopWaitMs.
  int Take(ImageList<Picture>* list, FolderScanReport* scan);
  // Stops the worker at the next picture row it decodes and waits for it at
  // most kStopWaitMs; a worker still running then (stuck in a read) is
  // abandoned and its pictures go when it ends. The host hears nothing of a
  // cancelled load, not even from an abandoned worker.
  void Cancel();
  // Workers abandoned by a stop that have not ended yet, in this process.
  static int32_t AbandonedWorkers() { return abandoned_.load(); }

 private:
  // What one load owns, shared by its worker and this object: whichever of
  // the two lets go last frees it with the pictures it still holds.
  struct Job {
    char folder[kFolderPathSize] = {};
    const PngLister* lister = nullptr;
    ImageList<Picture> pictures;
    FolderScanReport scan{};
    StopSignal stop{false};
    FieldHost* host = nullptr;  // told of the end unless stopped first
    uintptr_t serial = 0;
    std::mutex mutex;  // orders the end's report against a stop
    std::condition_variable endedSignal;
    bool ended = false;
    bool abandoned = false;  // counted in abandoned_ until the worker ends
    std::optional<PictureLoading> loading;  // the watchdog's mark, while held

    ~Job();
  };

  static void Work(std::shared_ptr<Job> job);
  // Waits for the worker at most kStopWaitMs; true when it has ended.
  bool WaitBriefly();
  // Stops the worker and lets go of the job; an unfinished worker is
  // abandoned to end on its own.
  void Drop();

  static std::atomic<int32_t> abandoned_;
  std::shared_ptr<Job> job_;
  uintptr_t serial_ = 0;
};
