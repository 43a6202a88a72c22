// The Win32 shelf of the star field's pictures: each an ImageSet whose bitmap
// and memory DC are made when a star first shows it, the poof and digit
// artwork from the program's resources, PNG files found by FindFirstFileA.
#pragma once
#include "images/win32/artwork.h"
#include "images/win32/image_set.h"
#include "stars/picture_shelf.h"

class Win32PictureShelf final : public PictureShelf {
 public:
  Win32PictureShelf() = default;
  ~Win32PictureShelf() override;

  const PngLister& Lister() const override;
  const ArtworkPayloads& Payloads() const override;
  bool Keep(PicturePtr picture) override;
  int32_t Count() const override { return pictures.Count(); }
  void DropFirst(int32_t count) override;
  void DropAll() override;
  void PrepareArtwork() override;
  void ReleaseArtwork() override;

  // Picture index with its bitmap made; null for an index that names none.
  const ImageSet* Shown(int32_t index);

  ImageList<ImageSet> pictures;  // what the stars show
  StarArtwork artwork;           // poof frames and digit strips
};
