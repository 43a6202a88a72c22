#include "images/star_image_rules.h"

#include "base/dpi_scale.h"

#include <cstddef>

#include "images/folder_scan.h"

int SearchSubString(const char* text, const char* pattern, LeadByteTest isLeadByte) {
  if (text == nullptr || pattern == nullptr || pattern[0] == '\0') return -1;
  for (const char* at = text; *at != '\0';) {
    size_t i = 0;
    while (pattern[i] != '\0' && at[i] == pattern[i]) ++i;
    if (pattern[i] == '\0') return static_cast<int>(at - text);
    // A lead byte and its trail byte are one character; never start inside it.
    at += (isLeadByte(static_cast<unsigned char>(*at)) && at[1] != '\0') ? 2 : 1;
  }
  return -1;
}

void NoteFailedFile(FolderScanReport* report, const char* name) {
  if (report->failedFiles < kNamedFailedFiles) {
    char* kept = report->failedNames[report->failedFiles];
    size_t length = 0;
    while (name != nullptr && name[length] != '\0' && length < kFailedNameSize - 1) ++length;
    for (size_t i = 0; i < length; ++i) kept[i] = name[i];
    kept[length] = '\0';
  }
  ++report->failedFiles;
}

PictureSize ReducedStarSize(int32_t width, int32_t height, int32_t side) {
  if (side <= 0) return {0, 0};
  if (width <= side && height <= side) return {width, height};
  const float f = 1.0f / static_cast<float>(side);  // deliberately single precision: see the header
  PictureSize size{side, side};
  if (width > height) {
    size.height = static_cast<int32_t>(height / (width * static_cast<double>(f)));
  } else if (width < height) {
    size.width = static_cast<int32_t>(width / (height * static_cast<double>(f)));
  }
  if (size.width <= 0 || size.height <= 0) return {0, 0};
  return size;
}

FrameLayout StripLayout(int32_t width, int32_t height) {
  FrameLayout whole{width, height, 1, 1};
  if (width == height || width <= 0 || height <= 0) return whole;
  int32_t longSide = width > height ? width : height;
  int32_t shortSide = width > height ? height : width;
  whole.framesSideBySide = width > height ? 1 : 0;
  if (2 * shortSide > longSide) return whole;
  return FrameLayout{shortSide, shortSide, longSide / shortSide, whole.framesSideBySide};
}

int LayOutTestDisplay(const int32_t* frameWidths, int count, int32_t screenWidth, int32_t screenHeight,
                      int32_t dialogBottom, DisplaySpot* spots, int32_t dpi) {
  const int32_t gap = ScaleToDpi(4, dpi);
  const int32_t row = ScaleToDpi(76, dpi);
  int64_t sum = 0;
  for (int k = 0; k < count && sum <= screenWidth; ++k) sum += frameWidths[k];
  int32_t x = sum <= screenWidth ? static_cast<int32_t>((screenWidth - sum) / 2) : 0;
  int32_t y = dialogBottom + ScaleToDpi(80, dpi) > screenHeight ? 0 : dialogBottom + gap;

  int placed = 0;
  for (int k = 0; k < count; ++k) {
    spots[k] = DisplaySpot{x, y};
    ++placed;
    x += frameWidths[k] + gap;
    if (x > screenWidth - row) {
      y += row;
      x = 0;
      if (y > screenHeight - row) break;
    }
  }
  return placed;
}
