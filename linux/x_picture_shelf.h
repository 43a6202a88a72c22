// Where the star field keeps its pictures on X11: each picture's frames
// uploaded once into pixmaps, the poof and digits at the display's scale,
// picture folders listed from the file system and the built-in artwork
// linked into the program.
#pragma once
#include "linux/linux_field_host.h"
#include "linux/x_artwork.h"
#include "linux/x_display.h"
#include "stars/picture_shelf.h"

class XPictureShelf final : public PictureShelf {
 public:
  explicit XPictureShelf(XDisplay& display) : display_(display) {}

  const PngLister& Lister() const override;
  const ArtworkPayloads& Payloads() const override;
  bool Keep(PicturePtr picture) override;
  int32_t Count() const override { return static_cast<int32_t>(pictures_.size()); }
  void DropFirst(int32_t count) override;
  void DropAll() override { pictures_.clear(); }
  void PrepareArtwork() override;
  void ReleaseArtwork() override;

  const XPictureList* Pictures() const { return &pictures_; }
  const XArtwork* Artwork() const { return &artwork_; }

 private:
  XDisplay& display_;
  XPictureList pictures_;
  XArtwork artwork_;
};
