// The star field's source of pictures, and where it keeps them: the platform
// side lists a folder's PNG files, finds the built-in artwork's payloads and
// turns each picture (pixels and frames, made by the field) into what its
// surfaces draw with. The field's host answers PictureCount and PictureFrame
// from the same shelf.
#pragma once
#include <cstdint>

#include "images/artwork_payload.h"
#include "images/picture.h"
#include "images/png_lister.h"

class PictureShelf {
 public:
  virtual ~PictureShelf() = default;

  // Where the folder load finds PNG files; used on its worker thread, which a
  // stop may leave behind in a read that never ends, so the lister lives as
  // long as the process (a stateless one in static storage).
  virtual const PngLister& Lister() const = 0;
  // Where the built-in star and artwork are kept.
  virtual const ArtworkPayloads& Payloads() const = 0;

  // Takes a picture over, appended after those kept so far; false when it
  // could not be kept (it is then gone).
  virtual bool Keep(PicturePtr picture) = 0;
  // How many pictures are kept.
  virtual int32_t Count() const = 0;
  // Lets the first `count` pictures go (later ones move up); no star may show
  // them any more.
  virtual void DropFirst(int32_t count) = 0;
  // Lets every picture go.
  virtual void DropAll() = 0;

  // The poof frames and digit strips, made at each start and let go at each
  // stop; a front end that makes them lazily may do nothing here.
  virtual void PrepareArtwork() = 0;
  virtual void ReleaseArtwork() = 0;
};
