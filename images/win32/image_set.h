// One star picture as Win32 draws it: an alpha bitmap selected into its own
// memory DC, made from a Picture and cut into one or more frames; and the lists of them that the program keeps.
#pragma once
#include <windows.h>

#include <cstdint>

#include "base/owned_handles.h"
#include "images/image_list.h"
#include "images/picture.h"

constexpr int MAX_STAR_IMAGE_SIZE = 72;

struct ImageSet {
  MemoryBitmap picture;          // the whole picture, all frames (premultiplied, bottom-up)
  int32_t frameWidth = 0;
  int32_t frameHeight = 0;
  int32_t frameCount = 1;        // at least 1
  int32_t framesSideBySide = 1;  // 1: frame k at (k * frameWidth, 0); 0: at (0, k * frameHeight)

  // The picture's pixels while its bitmap is not made yet (Realise makes it
  // when a star first shows it), so that a folder of many pictures holds
  // GDI objects only for those shown.
  PicturePtr pixels;

  // Makes the bitmap and its DC from the pixels, once; true when there is a
  // bitmap.
  bool Realise();

  HDC DC() const { return picture.DC(); }
  HBITMAP Bitmap() const { return picture.Bitmap(); }
};

// Wraps an alpha bitmap into a new ImageSet of one frame and appends it to the
// list. Takes the bitmap in every case: on failure (null) it is freed.
ImageSet* StockStarImage(UniqueBitmap bitmap, ImageList<ImageSet>* list);

// A new ImageSet of the picture's frames, appended to the list; its bitmap
// is made now, or with made_later by the first Realise. Takes the picture in
// every case: on failure (null) it is freed.
ImageSet* StockPicture(PicturePtr picture, ImageList<ImageSet>* list, bool madeLater = false);

// Removes and releases every ImageSet of the list.
void ReleaseImageList(ImageList<ImageSet>* list);
