#include "linux/x_picture_shelf.h"

#include <new>

#include "linux/builtin_art.h"
#include "linux/plain/png_folder.h"

namespace {
class LinuxPngLister final : public PngLister {
 public:
  FolderState ListPngFiles(const char* folder, PngFileVisitor* visitor) const override {
    struct Names final : PngNameVisitor {
      explicit Names(PngFileVisitor* to) : to(to) {}
      bool File(const char* name) override { return to->File(name); }
      PngFileVisitor* to;
    } names(visitor);
    switch (ListPngFolder(folder, &names)) {
      case PngFolderState::kMissing:
        return FolderState::kMissing;
      case PngFolderState::kIsFile:
        return FolderState::kIsFile;
      default:
        return FolderState::kPresent;
    }
  }
  char Separator() const override { return '/'; }
  LeadByteRule LeadBytes() const override { return NoLeadByte; }
};

class LinkedPayloads final : public ArtworkPayloads {
 public:
  Payload Find(BuiltInArt art) const override {
    static const char* const kNames[] = {"star", "star_large", "digits", "digits_mask", "poof", "version", "version_en"};
    auto index = static_cast<size_t>(art);
    if (index >= sizeof kNames / sizeof kNames[0]) return Payload{nullptr, 0};
    ArtBytes bytes = FindBuiltinArt(kNames[index]);
    return Payload{bytes.data, bytes.size};
  }
};

// Stateless, in static storage: a folder load's worker may outlive the shelf.
const LinuxPngLister kLister;
const LinkedPayloads kPayloads;
}  // namespace

const PngLister& XPictureShelf::Lister() const { return kLister; }
const ArtworkPayloads& XPictureShelf::Payloads() const { return kPayloads; }

bool XPictureShelf::Keep(PicturePtr picture) {
  if (!picture || !picture->pixels) return false;
  PicturePixels pixels;
  if (!PicturePixelsFromAlphaBitmap(reinterpret_cast<const uint8_t*>(picture->pixels.get()),
                                    static_cast<size_t>(picture->width) * picture->height * 4, picture->width,
                                    picture->height, &pixels)) {
    return false;
  }
  const FrameLayout& frames = picture->Frames();
  pixels.frameWidth = frames.frameWidth;
  pixels.frameHeight = frames.frameHeight;
  pixels.frameCount = frames.frameCount;
  pixels.framesSideBySide = frames.framesSideBySide;
  picture.reset();  // the pixels live on in the copy and the pixmaps
  auto kept = std::unique_ptr<XPicture>(new (std::nothrow) XPicture);
  if (!kept || !kept->Upload(display_, static_cast<PicturePixels&&>(pixels))) return false;
  pictures_.push_back(std::move(kept));
  return true;
}

void XPictureShelf::DropFirst(int32_t count) {
  if (count <= 0) return;
  if (count > Count()) count = Count();
  pictures_.erase(pictures_.begin(), pictures_.begin() + count);
}

void XPictureShelf::PrepareArtwork() {
  ReleaseArtwork();
  LoadXArtwork(display_, &artwork_);
}

void XPictureShelf::ReleaseArtwork() {
  artwork_.poof.Release();
  for (PicturePixels& strip : artwork_.digitStrips) strip = PicturePixels{};
}
