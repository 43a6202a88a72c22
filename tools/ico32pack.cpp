// ico32pack IN.png OUT.bin: turns a picture of at most 32 x 32 into the
// program's "ICO32" resource (straight-alpha icon layout). A build-time tool.
#include <png.h>

#include <cstdio>
#include <vector>

#include "images/ico32_format.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: ico32pack IN.png OUT.bin\n");
    return 2;
  }
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, argv[1])) {
    std::fprintf(stderr, "ico32pack: %s: %s\n", argv[1], image.message);
    return 1;
  }
  image.format = PNG_FORMAT_RGBA;
  if (image.width > 32 || image.height > 32) {
    std::fprintf(stderr, "ico32pack: %s: %ux%u is larger than 32 x 32\n", argv[1], image.width, image.height);
    png_image_free(&image);
    return 1;
  }
  std::vector<uint8_t> pixels(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) {
    std::fprintf(stderr, "ico32pack: %s: %s\n", argv[1], image.message);
    return 1;
  }
  std::vector<uint8_t> ico = BuildIco32(pixels.data(), static_cast<int>(image.width), static_cast<int>(image.height));
  std::FILE* out = std::fopen(argv[2], "wb");
  if (out == nullptr || std::fwrite(ico.data(), 1, ico.size(), out) != ico.size() || std::fclose(out) != 0) {
    std::fprintf(stderr, "ico32pack: cannot write %s\n", argv[2]);
    return 1;
  }
  std::printf("%ux%u\n", image.width, image.height);
  return 0;
}
