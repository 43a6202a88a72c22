#include "images/star_pixels.h"

#include <cstdio>
#include <new>

#include "base/dpi_scale.h"
#include "images/alpha_pixels.h"
#include "images/png_file.h"
#include "images/reduce.h"
#include "images/star_image_rules.h"

namespace {

// Converts each decoded row and writes it to its memory row (the picture's top
// row is the bitmap's last) or hands it to the reducer.
class StarPixelSink : public PngRowSink {
 public:
  StarPixelSink(int keepSize, PixelTarget* target, const StopSignal* stop)
      : keepSize_(keepSize), target_(target), stop_(stop) {}
  ~StarPixelSink() { delete[] row_; }
  StarPixelSink(const StarPixelSink&) = delete;
  StarPixelSink& operator=(const StarPixelSink&) = delete;

  int Begin(int32_t width, int32_t height, int32_t channels) override {
    PictureSize size = keepSize_ ? PictureSize{width, height} : ReducedStarSize(width, height, Scaled(kStarPictureSide));
    if (size.width <= 0 || size.height <= 0) {
      refusal_ = "too thin to keep a row at star size";
      return 0;
    }
    sourceWidth_ = width;
    channels_ = channels;
    nextRow_ = height - 1;
    reduce_ = size.width != width || size.height != height;
    pixels_ = target_->Allocate(size.width, size.height);
    if (pixels_ == nullptr) {
      refusal_ = "no memory for the picture";
      return 0;
    }
    if (reduce_) {
      row_ = new (std::nothrow) uint32_t[static_cast<size_t>(width)];
      if (row_ == nullptr || !reducer_.Begin(pixels_, size.width, size.height, width, height)) {
        refusal_ = "no memory to reduce the picture";
        return 0;
      }
    }
    size_ = size;
    return 1;
  }

  int Row(const uint8_t* decoded) override {
    if (stop_ != nullptr && stop_->load(std::memory_order_relaxed)) {
      refusal_ = "the load was stopped";
      return 0;
    }
    if (nextRow_ < 0) return 1;
    if (!keyTaken_) {  // the top-left colour: the key of a picture without alpha
      for (int k = 0; k < 3; ++k) key_[k] = decoded[k];
      keyTaken_ = 1;
    }
    uint32_t* out = reduce_ ? row_
                            : pixels_ + static_cast<size_t>(nextRow_) * static_cast<size_t>(sourceWidth_);
    ConvertRowToAlphaPixels(reinterpret_cast<uint8_t*>(out), decoded, sourceWidth_, channels_, key_);
    if (reduce_) reducer_.AddRow(row_);
    --nextRow_;
    return 1;
  }

  int Finished() const { return nextRow_ < 0 && (!reduce_ || reducer_.Done()); }
  PictureSize size() const { return size_; }
  const char* refusal() const { return refusal_; }

 private:
  int keepSize_;
  PixelTarget* target_;
  const StopSignal* stop_;
  uint32_t* pixels_ = nullptr;
  uint32_t* row_ = nullptr;
  RowReducer reducer_;
  PictureSize size_{0, 0};
  int32_t sourceWidth_ = 0, channels_ = 0, nextRow_ = -1;
  int reduce_ = 0, keyTaken_ = 0;
  uint8_t key_[3] = {0, 0, 0};
  const char* refusal_ = nullptr;
};

}  // namespace

int LoadStarPixels(const char* path, int keepSize, PixelTarget* target, int32_t* width, int32_t* height,
                   char* reason, const StopSignal* stop) {
  if (width != nullptr) *width = 0;
  if (height != nullptr) *height = 0;
  if (target == nullptr) return 0;
  StarPixelSink sink(keepSize, target, stop);
  int ok = LoadPngRows(path, &sink, reason);
  if (sink.refusal() != nullptr && reason != nullptr) std::snprintf(reason, 260, "%s", sink.refusal());
  if (!ok || !sink.Finished()) return 0;
  if (width != nullptr) *width = sink.size().width;
  if (height != nullptr) *height = sink.size().height;
  return 1;
}
