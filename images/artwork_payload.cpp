#include "images/artwork_payload.h"

#include <zlib.h>

#include <utility>

#include "base/dpi_scale.h"
#include "images/alpha_pixels.h"

PicturePtr UnpackPicture(Payload payload, int32_t width, int32_t height) {
  size_t expected = AlphaPixelBytes(width, height);
  if (payload.bytes == nullptr || expected == 0) return nullptr;
  PicturePtr picture = MakePicture(width, height);
  if (!picture) return nullptr;
  uLongf produced = static_cast<uLongf>(expected);
  if (uncompress(reinterpret_cast<Bytef*>(picture->pixels.get()), &produced, payload.bytes,
                 static_cast<uLong>(payload.length)) != Z_OK ||
      produced != expected) {
    return nullptr;
  }
  return picture;
}

int StarPicturesFrom(Payload source, int32_t sourceWidth, int32_t sourceHeight, int32_t width, int32_t height,
                     int32_t dpi, ImageList<Picture>* list) {
  PicturePtr whole = UnpackPicture(source, sourceWidth, sourceHeight);
  if (!whole) return 0;
  const int32_t sides[] = {ScaleToDpi(width, dpi), ScaleToDpi(48, dpi), ScaleToDpi(32, dpi)};
  const int32_t tall[] = {ScaleToDpi(height, dpi), ScaleToDpi(48, dpi), ScaleToDpi(32, dpi)};
  PicturePtr made[3];
  int own = -1;
  for (int k = 0; k < 3; ++k) {
    if (sides[k] == sourceWidth && tall[k] == sourceHeight) {
      own = k;
    } else {
      made[k] = ResizedPicture(whole->pixels.get(), sourceWidth, sourceHeight, sides[k], tall[k]);
    }
  }
  if (own >= 0) made[own] = std::move(whole);
  if (!made[0]) return 0;
  for (PicturePtr& picture : made) {
    if (picture && list->Append(picture.get())) picture.release();
  }
  return 1;
}

int BuiltInStarPictures(const ArtworkPayloads& payloads, int32_t dpi, ImageList<Picture>* list) {
  if (ScaleToDpi(72, dpi) <= 72) return StarPicturesFrom(payloads.Find(BuiltInArt::kStar), 72, 72, 72, 72, dpi, list);
  return StarPicturesFrom(payloads.Find(BuiltInArt::kStarLarge), 144, 144, 72, 72, dpi, list);
}
