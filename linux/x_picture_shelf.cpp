#include "linux/x_picture_shelf.h"

#include <new>

#include "images/embedded_artwork.h"
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

// Stateless, in static storage: a folder load's worker may outlive the shelf.
const LinuxPngLister kLister;
}  // namespace

const PngLister& XPictureShelf::Lister() const { return kLister; }
const ArtworkPayloads& XPictureShelf::Payloads() const { return EmbeddedArtwork(); }

bool XPictureShelf::Keep(PicturePtr picture) {
  if (!picture || !picture->pixels) return false;
  PicturePixels pixels;
  if (!PicturePixelsFromPicture(*picture, &pixels)) return false;
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
