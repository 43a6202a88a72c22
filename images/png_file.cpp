#include "images/png_file.h"

#include <png.h>

#include <csetjmp>
#include <cstdlib>
#include <cstring>

namespace {

constexpr size_t kReasonSize = 260;

// Everything one decode owns. Each call has its own, so decodes on the main
// thread and on the settings dialog's thread never share libpng state. It lives
// in the caller of the protected section, so what the section stored survives
// the jump back and can be released there.
struct PngDecoder {
  png_structp png;
  png_infop info;
  uint8_t* pixels;
  png_bytep* rows;
  uint8_t* row;       // the one row a row-by-row decode reuses
  PngRowSink* sink;   // null: the whole picture into pixels
  char* reason;
  jmp_buf recovery;
};

void SetReason(char* reason, const char* text) {
  if (reason == nullptr) return;
  size_t length = strnlen(text, kReasonSize - 1);
  memcpy(reason, text, length);
  reason[length] = '\0';
}

// libpng calls this for every error; it never returns to libpng.
void PngErrorHandler(png_structp png, png_const_charp message) {
  PngDecoder* decoder = static_cast<PngDecoder*>(png_get_error_ptr(png));
  SetReason(decoder->reason, message != nullptr ? message : "PNG error");
  longjmp(decoder->recovery, 1);
}

// libpng only warns of a chunk longer than its limit and then reads it all
// the same: a file of a few dozen bytes that claims a 1 GB text chunk would
// have it allocate and clear 1 GB. Nothing libpng itself keeps for a picture
// this program takes (rows of at most PNG_MAX_SIDE pixels, chunks up to its
// 8 MB limit) comes near the cap; a refused allocation fails the decode or
// skips the chunk. The pixels are the decoder's own allocation, not libpng's.
constexpr png_alloc_size_t kLibpngAllocationCap = 16u << 20;

png_voidp CappedMalloc(png_structp, png_alloc_size_t size) {
  return size <= kLibpngAllocationCap ? malloc(size) : nullptr;
}

void CappedFree(png_structp, png_voidp pointer) { free(pointer); }

// What the protected section's helpers share. libpng errors jump out of
// them too: like the section, they keep no object with a destructor.
struct RowShape {
  png_uint_32 width;
  png_uint_32 height;
  size_t rowBytes;
  int channels;
};

// Asks libpng for 8-bit RGB or RGBA rows: palettes, low depths and
// transparency expanded, grey made RGB, a background colour composed in,
// gamma corrected.
void AskForEightBitRgb(png_structp png, png_infop info) {
  png_uint_32 w = 0, h = 0;
  int bitDepth = 0, colorType = 0;
  png_get_IHDR(png, info, &w, &h, &bitDepth, &colorType, nullptr, nullptr, nullptr);
  if (bitDepth == 16) png_set_strip_16(png);
  if (colorType == PNG_COLOR_TYPE_PALETTE) png_set_expand(png);
  if (bitDepth < 8) png_set_expand(png);
  if (png_get_valid(png, info, PNG_INFO_tRNS)) png_set_expand(png);
  if (colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_GRAY_ALPHA) {
    png_set_gray_to_rgb(png);
  }
  png_color_16p background = nullptr;
  if (png_get_bKGD(png, info, &background)) {
    png_set_background(png, background, PNG_BACKGROUND_GAMMA_FILE, 1, 1.0);
  }
  double fileGamma = 0.0;
  if (png_get_gAMA(png, info, &fileGamma)) png_set_gamma(png, 2.2, fileGamma);
  // Asked for before the update, so interlaced files decode whole without
  // libpng having to repair the order (and warn about it) in png_read_image.
  png_set_interlace_handling(png);
}

// The rows as the transforms give them; an error for anything but 8-bit RGB
// or RGBA rows (which would break the promise to the caller) or a size whose
// pixels and row pointers could not be counted.
RowShape ShapeAfterTransforms(png_structp png, png_infop info) {
  png_read_update_info(png, info);
  RowShape shape{};
  int bitDepth = 0, colorType = 0;
  png_get_IHDR(png, info, &shape.width, &shape.height, &bitDepth, &colorType, nullptr, nullptr, nullptr);
  shape.rowBytes = png_get_rowbytes(png, info);
  shape.channels = png_get_channels(png, info);
  if (bitDepth != 8 || (shape.channels != 3 && shape.channels != 4) || shape.width == 0 || shape.height == 0 ||
      shape.rowBytes != static_cast<size_t>(shape.width) * static_cast<size_t>(shape.channels)) {
    png_error(png, "Visual PNG: unexpected pixel layout");
  }
  // Room for the pixels and, a fortiori, for one row pointer per row.
  if (shape.height > SIZE_MAX / shape.rowBytes / sizeof(png_bytep)) {
    png_error(png, "Visual PNG: out of memory");
  }
  return shape;
}

void BeginSink(PngDecoder* decoder, const RowShape& shape) {
  if (!decoder->sink->Begin(static_cast<int32_t>(shape.width), static_cast<int32_t>(shape.height),
                            shape.channels)) {
    png_error(decoder->png, "Visual PNG: picture refused");
  }
}

// Row by row: one row of memory, whatever the picture's size.
void ReadRowByRow(PngDecoder* decoder, const RowShape& shape) {
  decoder->row = static_cast<uint8_t*>(malloc(shape.rowBytes));
  if (decoder->row == nullptr) png_error(decoder->png, "Visual PNG: out of memory");
  BeginSink(decoder, shape);
  for (png_uint_32 r = 0; r < shape.height; ++r) {
    png_read_row(decoder->png, decoder->row, nullptr);
    if (!decoder->sink->Row(decoder->row)) png_error(decoder->png, "the read was stopped");
  }
}

// The whole picture into decoder->pixels, then to the sink if there is one.
// An interlaced picture's rows are only whole after the last pass, so it is
// decoded whole; for a row-by-row caller only up to a bound.
void ReadWhole(PngDecoder* decoder, const RowShape& shape) {
  png_structp png = decoder->png;
  if (decoder->sink != nullptr && shape.height > PNG_MAX_INTERLACED_BYTES / shape.rowBytes) {
    png_error(png, "Visual PNG: interlaced picture too large");
  }
  decoder->pixels = static_cast<uint8_t*>(malloc(shape.rowBytes * shape.height));
  if (decoder->pixels == nullptr) png_error(png, "Visual PNG: out of memory");
  decoder->rows = static_cast<png_bytep*>(malloc(sizeof(png_bytep) * shape.height));
  if (decoder->rows == nullptr) png_error(png, "Visual PNG: out of memory");
  for (png_uint_32 r = 0; r < shape.height; ++r) decoder->rows[r] = decoder->pixels + r * shape.rowBytes;
  png_read_image(png, decoder->rows);
  if (decoder->sink == nullptr) return;
  BeginSink(decoder, shape);
  for (png_uint_32 r = 0; r < shape.height; ++r) {
    if (!decoder->sink->Row(decoder->rows[r])) png_error(png, "the read was stopped");
  }
}

// The section a libpng error unwinds out of. It keeps no object with a
// destructor (the jump would skip it) and no local that is read after the
// jump: whatever must be released is stored in the decoder.
int DecodeProtected(PngDecoder* decoder, FILE* file, int32_t* width, int32_t* height,
                    int32_t* channels) {
  if (setjmp(decoder->recovery) != 0) return 0;

  decoder->png = png_create_read_struct_2(PNG_LIBPNG_VER_STRING, decoder, PngErrorHandler, nullptr, nullptr,
                                          CappedMalloc, CappedFree);
  if (decoder->png == nullptr) {
    SetReason(decoder->reason, "cannot create the PNG decoder");
    return 0;
  }
  decoder->info = png_create_info_struct(decoder->png);
  if (decoder->info == nullptr) {
    SetReason(decoder->reason, "cannot create the PNG decoder");
    return 0;
  }
  png_structp png = decoder->png;
  png_infop info = decoder->info;

  png_set_user_limits(png, PNG_MAX_SIDE, PNG_MAX_SIDE);
  png_init_io(png, file);
  png_set_sig_bytes(png, 8);
  png_read_info(png, info);
  AskForEightBitRgb(png, info);
  const RowShape shape = ShapeAfterTransforms(png, info);
  if (decoder->sink != nullptr && png_get_interlace_type(png, info) == PNG_INTERLACE_NONE) {
    ReadRowByRow(decoder, shape);
  } else {
    ReadWhole(decoder, shape);
  }
  png_read_end(png, nullptr);

  *width = static_cast<int32_t>(shape.width);
  *height = static_cast<int32_t>(shape.height);
  *channels = shape.channels;
  return 1;
}

}  // namespace

namespace {

// Checks the signature, decodes in a protected section and releases what the
// decode held, whichever way it ended. What stays is the caller's: the whole
// picture in decoder->pixels, or nothing for a row-by-row decode.
int DecodeStream(PngDecoder* decoder, FILE* file, int32_t* width, int32_t* height, int32_t* channels) {
  png_byte signature[8];
  if (fread(signature, 1, sizeof signature, file) != sizeof signature ||
      png_sig_cmp(signature, 0, sizeof signature) != 0) {
    SetReason(decoder->reason, "not a PNG file");
    return 0;
  }
  int ok = DecodeProtected(decoder, file, width, height, channels);
  free(decoder->rows);
  free(decoder->row);
  decoder->rows = nullptr;
  decoder->row = nullptr;
  if (decoder->png != nullptr) {
    png_destroy_read_struct(&decoder->png, decoder->info != nullptr ? &decoder->info : nullptr, nullptr);
  }
  if (!ok || decoder->sink != nullptr) {
    free(decoder->pixels);
    decoder->pixels = nullptr;
  }
  return ok;
}

// Opens the file for one decode and closes it after: a missing name or a file
// that cannot be opened fails with its reason.
template <typename Decode>
int WithPngFile(const char* path, char* reason, Decode decode) {
  if (path == nullptr) {
    SetReason(reason, "no file name");
    return 0;
  }
  FILE* file = fopen(path, "rb");
  if (file == nullptr) {
    SetReason(reason, "cannot open the file");
    return 0;
  }
  int ok = decode(file);
  fclose(file);
  return ok;
}

}  // namespace

int LoadPngStream(FILE* file, uint8_t** pixels, int32_t* width, int32_t* height,
                  int32_t* channels, char* reason) {
  if (pixels == nullptr || width == nullptr || height == nullptr || channels == nullptr) return 0;
  *pixels = nullptr;
  *width = *height = *channels = 0;
  if (file == nullptr) return 0;

  PngDecoder decoder{};
  decoder.reason = reason;
  int32_t w = 0, h = 0, c = 0;
  if (!DecodeStream(&decoder, file, &w, &h, &c)) return 0;
  *pixels = decoder.pixels;
  *width = w;
  *height = h;
  *channels = c;
  return 1;
}

int LoadPngRows(const char* path, PngRowSink* sink, char* reason) {
  if (sink == nullptr) {
    SetReason(reason, "nothing to take the rows");
    return 0;
  }
  return WithPngFile(path, reason, [&](FILE* file) {
    PngDecoder decoder{};
    decoder.reason = reason;
    decoder.sink = sink;
    int32_t w = 0, h = 0, c = 0;
    return DecodeStream(&decoder, file, &w, &h, &c);
  });
}

int LoadPngFileWithReason(const char* path, uint8_t** pixels, int32_t* width, int32_t* height,
                          int32_t* channels, char* reason) {
  if (pixels != nullptr) *pixels = nullptr;
  return WithPngFile(path, reason,
                     [&](FILE* file) { return LoadPngStream(file, pixels, width, height, channels, reason); });
}

int LoadPngFile(const char* path, uint8_t** pixels, int32_t* width, int32_t* height,
                int32_t* channels) {
  return LoadPngFileWithReason(path, pixels, width, height, channels, nullptr);
}
