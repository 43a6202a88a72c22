// The star field: the pictures the stars show, the picture folder's loading,
// and the parts that hold the rules (pool, ticks, motion, bombs, chase
// numbers, groups), as one object owned by the front end's shell. It is given
// its host, its picture shelf and the settings when made, includes no
// platform header, and never shows a message or closes the program: what the
// user must hear of is returned. Every operation runs on one thread (the
// shell's) and does nothing (or returns null / 0) while the star list does
// not exist.
#pragma once
#include <cstdint>

#include "base/settings.h"
#include "stars/chase_numbers.h"
#include "stars/field_host.h"
#include "stars/folder_load.h"
#include "stars/input_kind.h"
#include "stars/picture_shelf.h"
#include "stars/run_control.h"
#include "stars/star_bombs.h"
#include "stars/star_groups.h"
#include "stars/star_motion.h"
#include "stars/star_pool.h"
#include "stars/star_ticker.h"

class StarField {
 public:
  // host and shelf outlive the field; settings (quantity, moveRange and the
  // picture folder) are read when used.
  StarField(FieldHost& host, PictureShelf& shelf, const SettingsRecord* settings);
  // Stops the field: no surface, picture or timer outlives it.
  ~StarField();
  StarField(const StarField&) = delete;
  StarField& operator=(const StarField&) = delete;

  // Run control.
  // Artwork, the built-in star, an empty star list; reaction on. The picture
  // folder of the settings, if any, loads on a worker thread meanwhile
  // (report.picturesPending) when the host hears loads; the host's
  // PicturesLoaded then has the shell call TakeLoadedPictures. Otherwise it
  // loads here.
  StartReport StartPipwink();
  // The folder's pictures of the load `serial` names replace the built-in
  // star for the stars made from now on; the report says what the folder
  // gave. 0, and nothing changes, for a load that a stop or restart has
  // ended since.
  int TakeLoadedPictures(uintptr_t serial, StartReport* report);
  // A folder load has begun and its pictures have not been taken over yet.
  bool PicturesPending() const { return folderLoad_.Pending(); }
  // Reaction off, timer off, a load under way stopped, and every picture,
  // star and surface released.
  void StopPipwink();
  // Both in a row: the star field rebuilt from the (possibly changed) settings.
  StartReport RestartPipwink();
  // Grabbed stars shown again; reaction on.
  void EnablePipwink();
  // Grabbed stars hidden (flying ones finish their flight); reaction off.
  void DisablePipwink();
  // Whether input makes stars: set by a start and by EnablePipwink.
  bool Reacting() const { return reacting_; }

  // Input, ticks and what the surfaces report. A surface is named by its
  // number (StarSurface::Handle).
  // The stars of one input event at a point on the screen.
  void GenerateStars(InputKind kind, int32_t x, int32_t y) { pool_.GenerateStars(kind, x, y); }
  // One motion tick (the host's StartTicks timer fired).
  void MoveStar() { motion_.MoveStar(); }
  // Runs the tick now when one is due at `now`, a time of the host's clock.
  void RunDueTick(uint32_t now) { motion_.RunDueTick(now); }
  bool TimerRunning() const { return ticker_.Running(); }
  uint32_t LastTick() const { return ticker_.LastTick(); }
  // Whether RunDueTick would run a tick at `now`.
  bool TickDue(uint32_t now) const { return ticker_.Due(now); }
  // The first press on a star's surface.
  void GrabStar(uintptr_t surface) { chase_.GrabStar(GetStarBySurface(surface)); }
  // A star's surface released at the end of a drop; see StarGroups::ConnectStar.
  Star* ConnectStar(uintptr_t surface) { return groups_.ConnectStar(GetStarBySurface(surface)); }
  // Tidying, from the menu of a star's surface (which only has to be some star's).
  void AllTogetherStar(uintptr_t surface) {
    if (GetStarBySurface(surface) != nullptr) groups_.AllTogetherStar();
  }
  // Erasing all, and erasing one star (null, or a free one, is left alone).
  void BeginBomb() { bombs_.BeginBomb(); }
  void BombStar(Star* star) { bombs_.BombStar(star); }
  // The star whose surface has that number, in use or free; null for none.
  Star* GetStarBySurface(uintptr_t surface) const { return pool_.GetStarByHandle(surface); }
  // 1 if at least two stars are grabbed, else 0.
  int EnsureManyStars() const { return pool_.EnsureManyStars(); }
  int32_t StarCount() const { return pool_.StarCount(); }
  void LimitStarWindows(int32_t bound) { pool_.LimitStarWindows(bound); }

  // The parts, for what only tests and benchmarks reach into.
  StarPool& Pool() { return pool_; }
  const StarPool& Pool() const { return pool_; }
  StarBombs& Bombs() { return bombs_; }
  ChaseNumbers& Chase() { return chase_; }

 private:
  // Hands the pictures of list to the shelf, in order; how many it kept.
  int32_t Shelve(ImageList<Picture>* list);
  // Puts the folder's pictures, kept after the standIns built-in ones, in
  // use; says what the folder gave.
  StartReport UseFolderPictures(int32_t standIns, const FolderScanReport& scan);

  FieldHost& host_;
  PictureShelf& shelf_;
  const SettingsRecord* settings_;
  StarTicker ticker_{host_};
  StarPool pool_;
  StarBombs bombs_{pool_, ticker_};
  ChaseNumbers chase_{pool_, bombs_};
  StarGroups groups_{host_, pool_, ticker_, bombs_, chase_};
  StarMotion motion_{pool_, ticker_, bombs_, chase_};
  FolderLoad folderLoad_;
  uintptr_t loadSerial_ = 0;  // names the latest load, so a late report of an older one is passed over
  bool reacting_ = false;
};
