// The layered popup window that shows one picture (a star's frame, its number
// picture or a poof frame) with per-pixel alpha, and that the user can grab,
// drag and open a context menu on. Everything else it asks of its owner by
// private messages.
#pragma once
#include <windows.h>

#include <cstdint>

#include "base/owned_handles.h"
#include "base/ui_texts.h"

constexpr char kPupilClassName[] = "Pipwink2 Pupil";

class PupilWindow {
 public:
  PupilWindow();
  // Closes the window from the queue (PostClose, unless that was done) and
  // clears its user-data slot, so that messages still queued for the window
  // never reach the freed record: dropping the record drops the window.
  ~PupilWindow();
  PupilWindow(const PupilWindow&) = delete;
  PupilWindow& operator=(const PupilWindow&) = delete;

  // Registers the class and creates the hidden 1 x 1 window; 1 if it exists.
  int Create(HWND owner, HCURSOR cursor);
  void SetMenuTexts(UiTextBlock* texts);
  // Shows a new picture from dc; a hidden window is parked at (-width,
  // -height) until MoveTo, a shown one keeps its place. 0 without a window.
  int SetImage(HDC dc, int width, int height);
  void Paint(HWND window);
  // Moves the window without changing its place in the z-order: a star is
  // raised when it is shown and with the first step of a drag, never on a
  // tick, so a dragged star stays above the flying ones.
  int MoveTo(POINT point);
  POINT GetPosition() const;
  SIZE GetSize() const;
  // Shows the window above every other window.
  void ShowTopmost();
  // MoveTo and ShowTopmost in one call: a star's launch.
  void ShowTopmostAt(POINT point);
  void Hide();
  // The context menu: erase, and with at least two caught stars (the owner
  // answers PWM_QUERY_MANY_STARS) erase all and tidy.
  UniqueMenu BuildMenu();
  // Closes the window from the queue. The window ignores any WM_CLOSE that
  // neither this nor the freeing of its record started, so a close from
  // outside (Alt+F4, another program) never leaves a star without a window.
  void PostClose();
  void OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  HWND Handle() const { return hwnd; }
  HDC SourceDC() const { return sourceDC; }
  // The context menu while it is up; null otherwise.
  HMENU Menu() const { return menu; }

  // Grabbed at the first left press and for good; a window marked grabbed
  // beforehand (the version box) never reports a grab.
  bool IsGrabbed() const { return grabbed != 0; }
  void MarkGrabbed() { grabbed = 1; }
  bool IsDragging() const { return dragging != 0; }
  // No context menu at a right press (the version box, the test display).
  void DisableMenu() { menuEnabled = 0; }
  bool HasMenu() const { return menuEnabled != 0; }
  // A message posted to the owner at every left release, with the window.
  void ReportReleaseWith(uint32_t message) { releaseMessage = message; }

  // Frame layout of the picture: count frames, side by side (1) or stacked
  // (0); the animation starts at frame 0.
  void SetFrames(int32_t count, int32_t sideBySide) {
    frameCount = count;
    framesSideBySide = sideBySide;
    frameIndex = 0;
  }
  void RewindAnimation() { frameIndex = 0; }
  // One still picture, shown from (0, 0), from now on (a number or a poof);
  // the frame index stays, so that a new number copies the same frame.
  void StopAnimation() { frameCount = 0; }
  // The next frame of an animated picture, repainted; false for a still one.
  bool AdvanceFrame();
  int32_t FrameIndex() const { return frameIndex; }
  int32_t FrameCount() const { return frameCount; }
  int32_t FramesSideBySide() const { return framesSideBySide; }

  // A picture of the window's own (a star's number): a width x height alpha
  // bitmap in its own DC, kept until released or the record goes. Its DC, or
  // null when it cannot be made; one that exists is kept.
  HDC MakeOwnPicture(int32_t width, int32_t height);
  bool OwnsPicture() const { return static_cast<bool>(ownPicture); }
  HBITMAP OwnPictureBitmap() const { return ownPicture.Bitmap(); }
  void ReleaseOwnPicture();

 private:
  // True while this record is still the one the window's slot names. A
  // message sent to the owner may free the record (a drop that joins this
  // star into another); the caller then must not touch it any more.
  static bool StillOwns(HWND window, const PupilWindow* record);
  void OnLeftDown(HWND window, LPARAM lParam);
  void OnLeftUp(HWND window);
  void OnRightDown(HWND window);
  void OnMouseMove(HWND window, LPARAM lParam);
  void OnCommand(HWND window, WPARAM wParam);
  void ShiftBy(int dx, int dy);

  HINSTANCE instance;
  int32_t width;
  int32_t height;
  UiTextBlock* menuTexts;
  HMENU menu;                 // the menu while it is up; BuildMenu's owner holds it
  HWND hwnd;
  HDC sourceDC;               // the picture shown: an image's, a poof frame's or ownPicture's
  MemoryBitmap ownPicture;    // the number picture, when the window has one
  int32_t grabbed;            // set at the first left press, never cleared
  int32_t menuEnabled;
  int32_t dragging;
  int32_t raisedInDrag;       // the drag under way has raised the window
  POINT dragAnchor;           // cursor in client coordinates at the press
  uint32_t releaseMessage;    // posted to the owner at a left release; 0 = none
  int32_t closeRequested;     // PostClose was called
  int32_t frameCount;
  int32_t frameIndex;
  int32_t framesSideBySide;
};
