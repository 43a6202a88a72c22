// The star field as the Win32 shell holds it: the platform-free StarField
// with its Win32 host and picture shelf, named by window handles where the
// field names surfaces by number.
#pragma once
#include <windows.h>

#include "stars/star_field.h"
#include "stars/win32/win32_field_host.h"
#include "stars/win32/win32_picture_shelf.h"

// Made before the field that uses them, and gone after it.
struct Win32FieldParts {
  explicit Win32FieldParts(const StarFieldHost& host) : fieldHost(host, &shelf) {}
  Win32PictureShelf shelf;
  Win32FieldHost fieldHost;
};

class Win32StarField : private Win32FieldParts, public StarField {
 public:
  explicit Win32StarField(const StarFieldHost& host)
      : Win32FieldParts(host),
        StarField(fieldHost, shelf, host.settings),
        StarImageList(shelf.pictures),
        artwork(shelf.artwork) {}

  const StarFieldHost& Host() const { return fieldHost.Host(); }

  using StarField::AllTogetherStar;
  using StarField::ConnectStar;
  using StarField::GrabStar;
  void GrabStar(HWND window) { StarField::GrabStar(Number(window)); }
  Star* ConnectStar(HWND window) { return StarField::ConnectStar(Number(window)); }
  void AllTogetherStar(HWND window) { StarField::AllTogetherStar(Number(window)); }
  Star* GetStarByHWND(HWND window) const { return GetStarBySurface(Number(window)); }

  ImageList<ImageSet>& StarImageList;  // what the stars show
  StarArtwork& artwork;                // poof frames and digit strips

 private:
  static uintptr_t Number(HWND window) { return reinterpret_cast<uintptr_t>(window); }
};
