// pngpack: turns a PNG file into alpha-bitmap pixel memory (premultiplied
// B,G,R,A, bottom row first), the way the program converts a PNG it loads,
// and writes it zlib-compressed as a BITARRAY payload, or raw.
//   pngpack IN.png OUT.bin [--raw] [--reduce WxH]
// Prints "WIDTHxHEIGHT CHANNELS": the size of the written picture and the
// PNG's channel count after loading. Exits 1 with a one-line reason on stderr
// when the PNG cannot be loaded or the output cannot be written, 2 on misuse.
#include <zlib.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "images/alpha_pixels.h"
#include "images/png_file.h"
#include "images/reduce.h"

namespace {

int Usage() {
  fprintf(stderr, "usage: pngpack IN.png OUT.bin [--raw] [--reduce WxH]\n");
  return 2;
}

int Fail(const char* path, const char* reason) {
  fprintf(stderr, "pngpack: %s: %s\n", path, reason);
  return 1;
}

bool ParseSize(const char* text, int32_t* width, int32_t* height) {
  char* end = nullptr;
  long w = strtol(text, &end, 10);
  if (end == text || (*end != 'x' && *end != 'X')) return false;
  const char* rest = end + 1;
  long h = strtol(rest, &end, 10);
  if (end == rest || *end != '\0' || w <= 0 || h <= 0 || w > 65535 || h > 65535) return false;
  *width = static_cast<int32_t>(w);
  *height = static_cast<int32_t>(h);
  return true;
}

bool WriteFile(const char* path, const uint8_t* data, size_t size) {
  FILE* file = fopen(path, "wb");
  if (file == nullptr) return false;
  bool written = fwrite(data, 1, size, file) == size;
  return fclose(file) == 0 && written;
}

}  // namespace

int main(int argc, char** argv) {
  const char* inPath = nullptr;
  const char* outPath = nullptr;
  bool raw = false;
  int32_t reduceWidth = 0, reduceHeight = 0;
  for (int i = 1; i < argc; ++i) {
    if (strcmp(argv[i], "--raw") == 0) {
      raw = true;
    } else if (strcmp(argv[i], "--reduce") == 0) {
      if (++i >= argc || !ParseSize(argv[i], &reduceWidth, &reduceHeight)) return Usage();
    } else if (argv[i][0] == '-' && argv[i][1] == '-') {
      return Usage();
    } else if (inPath == nullptr) {
      inPath = argv[i];
    } else if (outPath == nullptr) {
      outPath = argv[i];
    } else {
      return Usage();
    }
  }
  if (inPath == nullptr || outPath == nullptr) return Usage();

  char reason[260] = "";
  uint8_t* decoded = nullptr;
  int32_t width = 0, height = 0, channels = 0;
  if (!LoadPngFileWithReason(inPath, &decoded, &width, &height, &channels, reason)) {
    return Fail(inPath, reason[0] != '\0' ? reason : "cannot load the PNG");
  }
  std::vector<uint8_t> pixels(AlphaPixelBytes(width, height));
  int converted = ConvertToAlphaPixels(pixels.data(), decoded, width, height, channels);
  free(decoded);
  if (!converted) return Fail(inPath, "unexpected channel count");

  if (reduceWidth != 0) {
    if (reduceWidth > width || reduceHeight > height) {
      return Fail(inPath, "--reduce must not be larger than the picture");
    }
    std::vector<uint8_t> reduced(AlphaPixelBytes(reduceWidth, reduceHeight));
    // Both buffers come from operator new, aligned for 32-bit pixels.
    ReduceImage(reinterpret_cast<uint32_t*>(reduced.data()),
                reinterpret_cast<const uint32_t*>(pixels.data()), reduceWidth, reduceHeight, width,
                height);
    pixels.swap(reduced);
    width = reduceWidth;
    height = reduceHeight;
  }

  std::vector<uint8_t> out;
  if (raw) {
    out.swap(pixels);
  } else {
    uLongf size = compressBound(pixels.size());
    out.resize(size);
    if (compress2(out.data(), &size, pixels.data(), pixels.size(), Z_BEST_COMPRESSION) != Z_OK) {
      return Fail(inPath, "compression failed");
    }
    out.resize(size);
  }
  if (!WriteFile(outPath, out.data(), out.size())) return Fail(outPath, "cannot write the file");
  printf("%dx%d %d\n", width, height, channels);
  return 0;
}
