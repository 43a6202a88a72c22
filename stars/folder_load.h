// Loading the picture folder on a worker thread, so that the program answers
// (tray, hotkey, clicks) while a folder of large pictures loads. The worker
// only loads and says when it is done; the star field's thread takes the
// pictures over. Every call but the worker's own is made on that one thread.
//
// A read can block for good (a file on a share that went offline, a pipe
// named like a picture), and no stop signal reaches a thread inside it. So a
// stop waits for the worker only kStopWaitMs; a worker still running then is
// abandoned: everything it touches lives in its job, which it shares with
// this object and frees when it ends, and what it made is dropped.
#pragma once
#include <windows.h>

#include <atomic>
#include <optional>

#include "base/app_state.h"
#include "base/owned_handles.h"
#include "images/folder_scan.h"
#include "images/image_set.h"
#include "images/star_images.h"

// How long a stop (exit, restart) waits for a worker to give up before it
// abandons it.
constexpr DWORD kStopWaitMs = 1000;

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
  bool Pending() const { return job_ != nullptr; }
  WPARAM Serial() const { return serial_; }
  // Takes a load that has ended (its message came) and moves its pictures to
  // the end of list, in the folder's order; *scan says what went wrong.
  // Nonzero when the folder gave at least one picture; 0 and nothing moved
  // when the worker does not end within kStopWaitMs.
  int Take(ImageList<ImageSet>* list, FolderScanReport* scan);
  // Stops the worker at the next picture row it decodes and waits for it at
  // most kStopWaitMs; a worker still running then (stuck in a read) is
  // abandoned and frees its pictures itself when it ends. Nothing is posted
  // for a cancelled load.
  void Cancel();
  // Workers abandoned by a stop that have not ended yet, in this process.
  static int32_t AbandonedWorkers() { return abandoned_.load(); }

 private:
  // What one load owns, shared by its worker and this object: the last of
  // the two to let go frees it with the pictures it still holds.
  struct Job {
    char folder[kFolderPathSize] = {};
    ImageList<ImageSet> pictures;
    FolderScanReport scan{};
    StopSignal stop{false};
    // Set by whichever comes first: the worker's end, or a stop that gives up
    // waiting for it (and so counts it as abandoned until it ends).
    std::atomic<bool> settled{false};
    std::atomic<int32_t> owners{2};
    std::atomic<bool> marked{true};      // the watchdog's mark is still held
    std::optional<PictureLoading> loading;
    HWND window = nullptr;
    UINT message = 0;
    WPARAM serial = 0;

    ~Job() { ReleaseImageList(&pictures); }
    // Ends the watchdog's mark once, whichever side comes first.
    void EndMark() {
      if (marked.exchange(false)) loading.reset();
    }
    void LetGo() {
      if (owners.fetch_sub(1) == 1) delete this;
    }
  };

  static DWORD WINAPI Work(void* job);
  // Waits for the worker at most kStopWaitMs; true when it has ended.
  bool WaitBriefly();
  // Lets go of the job; an unfinished worker is abandoned to end on its own.
  void Drop();

  static std::atomic<int32_t> abandoned_;
  Job* job_ = nullptr;
  UniqueHandle thread_;
  WPARAM serial_ = 0;
};
