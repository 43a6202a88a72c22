#include "stars/win32/win32_picture_shelf.h"

#include <utility>

#include "images/win32/win32_sources.h"

Win32PictureShelf::~Win32PictureShelf() {
  DropAll();
  ReleaseArtwork();
}

const PngLister& Win32PictureShelf::Lister() const { return PngFilesOfFolders(); }

const ArtworkPayloads& Win32PictureShelf::Payloads() const { return ProgramArtwork(); }

bool Win32PictureShelf::Keep(PicturePtr picture) {
  return StockPicture(std::move(picture), &pictures, true) != nullptr;
}

void Win32PictureShelf::DropFirst(int32_t count) {
  for (int32_t k = 0; k < count; ++k) delete pictures.Remove(0);
}

void Win32PictureShelf::DropAll() { ReleaseImageList(&pictures); }

void Win32PictureShelf::PrepareArtwork() {
  artwork.PrepairNumImage();
  artwork.PrepairPoofImage();
}

void Win32PictureShelf::ReleaseArtwork() {
  artwork.ReleaseNumImage();
  artwork.ReleasePoofImage();
}

const ImageSet* Win32PictureShelf::Shown(int32_t index) {
  ImageSet* set = pictures.Get(index);
  if (set != nullptr) set->Realise();
  return set;
}
