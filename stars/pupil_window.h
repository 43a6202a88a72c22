// The layered popup window that shows one picture (a star's frame, its number
// picture or a poof frame) with per-pixel alpha, and that the user can grab,
// drag and open a context menu on. Everything else it asks of its owner by
// private messages.
#pragma once
#include <windows.h>

#include <cstdint>

#include "base/ui_texts.h"

constexpr char kPupilClassName[] = "Pipwink2 Pupil";

class PupilWindow {
 public:
  PupilWindow();
  // Clears the window's user-data slot, so that messages still queued for the
  // window never reach the freed record. Does not destroy the window: the
  // user posts WM_CLOSE first (PostClose).
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
  int MoveTo(POINT point);
  POINT GetPosition() const;
  SIZE GetSize() const;
  void ShowTopmost();
  void Hide();
  void BuildMenu();
  void PostClose();
  void OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  HINSTANCE instance;
  int32_t width;
  int32_t height;
  UiTextBlock* menuTexts;
  HMENU menu;
  HWND hwnd;
  HDC sourceDC;
  HGDIOBJ ownBitmapPrevious;  // not null exactly while the window owns a number picture
  HBITMAP ownBitmap;
  int32_t grabbed;            // set at the first left press, never cleared
  int32_t menuEnabled;
  int32_t dragging;
  POINT dragAnchor;           // cursor in client coordinates at the press
  uint32_t releaseMessage;    // posted to the owner at a left release; 0 = none
  int32_t frameCount;
  int32_t frameIndex;
  int32_t framesSideBySide;

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
};
