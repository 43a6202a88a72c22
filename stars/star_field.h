// The star field: the star list and pool, the pictures and artwork the stars
// show, and the motion timer, as one object owned by the main window. It is
// given its host when made and never shows a message or closes the program:
// what the user must hear of is returned. Every operation runs on the owner
// window's thread and does nothing (or returns null / 0) while the list does
// not exist.
#pragma once
#include <windows.h>

#include <cstdint>

#include "base/settings.h"
#include "base/ui_texts.h"
#include "images/artwork.h"
#include "images/image_set.h"
#include "stars/folder_load.h"
#include "stars/motion_rules.h"
#include "stars/run_control.h"
#include "stars/star.h"

// What the star field needs from the program that holds it.
struct StarFieldHost {
  HWND owner;                      // owns the star windows, hears from them, carries the motion timer
  HCURSOR cursor;                  // the star windows' cursor
  UiTextBlock* texts;              // the star menus' texts
  const SettingsRecord* settings;  // quantity, moveRange and the picture folder, read when used
};

class StarField : public StarList {
 public:
  explicit StarField(const StarFieldHost& host);
  // Stops the field: no window, picture or timer outlives it.
  ~StarField();

  const StarFieldHost& Host() const { return host; }

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
  bool PicturesPending() const { return folderLoad.Pending(); }
  // Reaction off, timer off, a load under way stopped, and every picture,
  // star and star window released.
  void StopPipwink();
  // Both in a row: the star field rebuilt from the (possibly changed) settings.
  StartReport RestartPipwink();
  // Grabbed stars shown again; reaction on.
  void EnablePipwink();
  // Grabbed stars hidden (flying ones finish their flight); reaction off.
  void DisablePipwink();

  // Record and pool.
  // A random index into StarImageList from firstDrawnImage on; -1 when there
  // is no picture to draw.
  int32_t GetRandomImageIndex();
  // The star whose window has that handle, in use or free; null for none (and
  // for a null handle, which a star without a window must not match).
  Star* GetStarByHWND(HWND window) const;
  // A new live star of that image, started beside the event point and shown.
  Star* CreateNewStar(int32_t x, int32_t y, int32_t imageIndex);
  // Brings a free (or, at the window bound, a flying) star back to life
  // beside the event point.
  void RecycleStar(Star* star, int32_t x, int32_t y);
  // Removes a star for good: hides and closes its window, frees both records.
  void DestroyStar(Star* star);
  // 1 if at least two stars are grabbed, else 0.
  int EnsureManyStars() const;
  // The stars of one input event: kind is PWM_HOOK_CLICK, PWM_HOOK_MOVE or
  // PWM_HOOK_KEY; x, y the event point on the screen. At most
  // kMaxStarsPerEvent stars, and never more than kMaxStarWindows windows.
  void GenerateStars(uint32_t kind, int32_t x, int32_t y);
  // Frees every star, its window record and number picture, closes the
  // windows and removes the sentinels.
  void FreeStarList();

  // Motion.
  // Moves x, y of the star from the event point to its start corner, by the
  // frame size of its image.
  void SetInitialPosition(Star* star);
  // One motion tick for every star. The timer stops after the tick in which
  // nothing is left moving or bombing.
  void MoveStar();
  // Runs the tick now when one is due (the last is a period old or more at
  // `now`, a GetTickCount time): called from the input path, so that a flood
  // of input, which keeps the queue from ever being empty, cannot starve the
  // motion.
  void RunDueTick(DWORD now);
  // Whether the motion timer is set, and when the last tick ran.
  bool TimerRunning() const { return timerRunning; }
  DWORD LastTick() const { return lastTick; }

  // Lowers the bound on star windows (kMaxStarWindows), so that reaching it
  // can be tried with a few windows.
  void LimitStarWindows(int32_t bound) { maxStarWindows = bound; }

  // Bombs, connected stars, counts and the chase game.
  // Arms one star (the erase item of its menu): its poof starts at the next
  // tick. A null star, or a free one waiting in the pool, is left alone.
  void BombStar(Star* star);
  // Arms every grabbed star so that they go off one per tick, the last one in
  // list order first.
  void BeginBomb();
  // One tick of an armed star, after its motion step: counts down, shows the
  // poof frame of the countdown, and destroys the star at its end. The star
  // may be gone afterwards.
  void StepBomb(Star* star);
  // A star window released at the end of a drop: joins its star into the
  // first grabbed star of the same image whose centre lies close enough.
  // Returns that group, the dropped star if it joined none, or null if the
  // handle is no star's.
  Star* ConnectStar(HWND window);
  // Joins the grabbed stars of each image into the one nearest the head of
  // the list, which takes the sum of their counts; no window moves. The
  // handle only has to be some star's.
  void AllTogetherStar(HWND window);
  // Draws n (more than 1) into the lower right corner of the star's current
  // frame, in a number picture of the window's own; the star stops animating.
  void SetStarNumber(Star* star, int n);
  // The first press on a star window: marks the last generated star as the
  // chase target and, if the grabbed star is one, awards it the chain value.
  void GrabStar(HWND window);

  ImageList<ImageSet> StarImageList;  // what the stars show
  // New stars draw their picture from this index on: the folder's pictures
  // follow the built-in star that stood in while they loaded, and which the
  // stars made meanwhile keep showing.
  int32_t firstDrawnImage = 0;
  StarArtwork artwork;                // poof frames and digit strips

 private:
  bool StepStar(Star* star);
  void ShowPoofFrame(Star* star, int32_t frame);
  Star* FindPartner(const Star* dropped) const;
  Star* FlyingStarOf(int32_t imageIndex) const;
  void ShowGrabbedStars(bool show);
  void ReleaseStarWindow(Star* star);
  // Puts the folder's pictures, appended to StarImageList after the standIns
  // built-in ones, in use; says what the folder gave.
  StartReport UseFolderPictures(int32_t standIns, const FolderScanReport& scan);
  // Sets the motion timer unless it runs: something moves or bombs again.
  void StartMotion();
  void StopMotion();

  StarFieldHost host;
  FolderLoad folderLoad;
  WPARAM loadSerial = 0;  // names the latest load, so a late message of an older one is passed over
  int32_t maxStarWindows = kMaxStarWindows;
  bool timerRunning = false;
  DWORD lastTick = 0;  // when the last tick ran
};
