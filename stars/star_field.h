// The star field: the pictures and artwork the stars show, the picture
// folder's loading, and the parts that hold the rules (pool, ticks, motion,
// bombs, chase numbers, groups), as one object owned by the main window. It is
// given its host when made and never shows a message or closes the program:
// what the user must hear of is returned. Every operation runs on the owner
// window's thread and does nothing (or returns null / 0) while the star list
// does not exist.
#pragma once
#include <windows.h>

#include <cstdint>

#include "images/artwork.h"
#include "images/image_set.h"
#include "stars/chase_numbers.h"
#include "stars/folder_load.h"
#include "stars/run_control.h"
#include "stars/star_bombs.h"
#include "stars/star_groups.h"
#include "stars/star_motion.h"
#include "stars/star_pool.h"
#include "stars/star_ticker.h"
#include "stars/win32_field_host.h"

class StarField {
 public:
  explicit StarField(const StarFieldHost& host);
  // Stops the field: no window, picture or timer outlives it.
  ~StarField();
  StarField(const StarField&) = delete;
  StarField& operator=(const StarField&) = delete;

  const StarFieldHost& Host() const { return host_.Host(); }

  // Run control.
  // Artwork, the built-in star, an empty star list; reaction on. The picture
  // folder of the settings, if any, loads on a worker thread meanwhile
  // (report.picturesPending); the owner then gets PWM_PICTURES_LOADED and
  // hands it to TakeLoadedPictures. Without a worker it loads here.
  StartReport StartPipwink();
  // The folder's pictures of the load the message names (its wParam) replace
  // the built-in star for the stars made from now on; the report says what
  // the folder gave. 0, and nothing changes, for a message of a load that a
  // stop or restart has ended since.
  int TakeLoadedPictures(WPARAM serial, StartReport* report);
  // A folder load has begun and its pictures have not been taken over yet.
  bool PicturesPending() const { return folderLoad_.Pending(); }
  // Reaction off, timer off, a load under way stopped, and every picture,
  // star and star window released.
  void StopPipwink();
  // Both in a row: the star field rebuilt from the (possibly changed) settings.
  StartReport RestartPipwink();
  // Grabbed stars shown again; reaction on.
  void EnablePipwink();
  // Grabbed stars hidden (flying ones finish their flight); reaction off.
  void DisablePipwink();
  // Whether input makes stars: set by a start and by EnablePipwink.
  bool Reacting() const { return reacting_; }

  // Input, ticks and the star windows' messages.
  // The stars of one input event: kind is PWM_HOOK_CLICK, PWM_HOOK_MOVE or
  // PWM_HOOK_KEY; x, y the event point on the screen.
  void GenerateStars(uint32_t kind, int32_t x, int32_t y) { pool_.GenerateStars(kind, x, y); }
  // One motion tick (the owner's WM_TIMER).
  void MoveStar() { motion_.MoveStar(); }
  // Runs the tick now when one is due at `now`, a GetTickCount time.
  void RunDueTick(DWORD now) { motion_.RunDueTick(now); }
  bool TimerRunning() const { return ticker_.Running(); }
  DWORD LastTick() const { return ticker_.LastTick(); }
  // Whether RunDueTick would run a tick at `now`.
  bool TickDue(DWORD now) const { return ticker_.Due(now); }
  // The first press on a star window.
  void GrabStar(HWND window) { chase_.GrabStar(GetStarByHWND(window)); }
  // A star window released at the end of a drop; see StarGroups::ConnectStar.
  Star* ConnectStar(HWND window) { return groups_.ConnectStar(GetStarByHWND(window)); }
  // Tidying, from the menu of a star window (which only has to be some star's).
  void AllTogetherStar(HWND window) {
    if (GetStarByHWND(window) != nullptr) groups_.AllTogetherStar();
  }
  // Erasing all, and erasing one star (null, or a free one, is left alone).
  void BeginBomb() { bombs_.BeginBomb(); }
  void BombStar(Star* star) { bombs_.BombStar(star); }
  // The star whose window has that handle, in use or free; null for none.
  Star* GetStarByHWND(HWND window) const { return pool_.GetStarByHandle(reinterpret_cast<uintptr_t>(window)); }
  // 1 if at least two stars are grabbed, else 0.
  int EnsureManyStars() const { return pool_.EnsureManyStars(); }
  int32_t StarCount() const { return pool_.StarCount(); }
  void LimitStarWindows(int32_t bound) { pool_.LimitStarWindows(bound); }

  // The parts, for what only tests and benchmarks reach into.
  StarPool& Pool() { return pool_; }
  const StarPool& Pool() const { return pool_; }
  StarBombs& Bombs() { return bombs_; }
  ChaseNumbers& Chase() { return chase_; }

  ImageList<ImageSet> StarImageList;  // what the stars show
  StarArtwork artwork;                // poof frames and digit strips

 private:
  // Puts the folder's pictures, appended to StarImageList after the standIns
  // built-in ones, in use; says what the folder gave.
  StartReport UseFolderPictures(int32_t standIns, const FolderScanReport& scan);
  void SetReacting(bool on);

  // Declared after the pictures and artwork, so that every star window goes
  // before what it paints from.
  Win32FieldHost host_;
  StarTicker ticker_{host_};
  StarPool pool_;
  StarBombs bombs_{pool_, ticker_};
  ChaseNumbers chase_{pool_, bombs_};
  StarGroups groups_{host_, pool_, ticker_, bombs_, chase_};
  StarMotion motion_{pool_, ticker_, bombs_, chase_};
  FolderLoad folderLoad_;
  WPARAM loadSerial_ = 0;  // names the latest load, so a late message of an older one is passed over
  bool reacting_ = false;
};
