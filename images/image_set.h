// One star picture: an alpha bitmap selected into its own memory DC, cut into
// one or more frames; and the lists of them that the program keeps.
#pragma once
#include <windows.h>

#include <cstdint>

#include "images/image_list.h"

constexpr int MAX_STAR_IMAGE_SIZE = 72;

struct ImageSet {
  HDC dc;                    // memory DC compatible with the main window's display
  HBITMAP bitmap;            // the whole picture, all frames (premultiplied, bottom-up)
  HGDIOBJ oldBitmap;         // what dc held before; put back before bitmap is deleted
  int32_t frameWidth;
  int32_t frameHeight;
  int32_t frameCount;        // at least 1
  int32_t framesSideBySide;  // 1: frame k at (k * frameWidth, 0); 0: at (0, k * frameHeight)
};

extern ImageList<ImageSet> StarImageList;  // what the star field draws from

// Wraps an alpha bitmap (taking ownership) into a new ImageSet of one frame and
// appends it to the list. Null, with the bitmap still the caller's, on failure.
ImageSet* StockStarImage(HBITMAP bitmap, ImageList<ImageSet>* list);

// Puts the old bitmap back, deletes bitmap and DC and frees the record.
void ReleaseImageSet(ImageSet* set);

// Removes and releases every ImageSet of the list.
void ReleaseImageList(ImageList<ImageSet>* list);
