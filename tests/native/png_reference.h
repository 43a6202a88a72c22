// An independent reading of PNG files for the loader's tests: chunks, inflate,
// unfiltering and Adam7 done here with zlib alone, then the loader's rules
// (16-bit keeps the high byte, tRNS becomes alpha, gray becomes RGB, bKGD is
// composed in, gAMA is corrected for a 2.2 screen) applied on top. Each output
// byte comes as a range: exact where the rules are plain integer work, a
// little wider where libpng's gamma tables round on their own.
#pragma once
#include <gtest/gtest.h>
#include <unistd.h>
#include <zlib.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace png_reference {

struct Image {
  int width = 0;
  int height = 0;
  int channels = 0;
  std::vector<uint8_t> low;   // smallest acceptable value of each output byte
  std::vector<uint8_t> high;  // largest acceptable value
};

inline uint32_t Be32(const uint8_t* p) {
  return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
}

// A scratch file of this test process alone: ctest runs each case as its own
// process, side by side, and another clone's run may share the temp folder.
// The folder goes when the process ends.
inline std::string TempPath(const std::string& name) {
  struct Folder {
    std::filesystem::path path =
        std::filesystem::path(::testing::TempDir()) / ("tovik2_" + std::to_string(getpid()));
    Folder() { std::filesystem::create_directories(path); }
    ~Folder() {
      std::error_code ignored;
      std::filesystem::remove_all(path, ignored);
    }
  };
  static Folder folder;
  return (folder.path / name).string();
}

inline std::vector<uint8_t> ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

inline int Paeth(int a, int b, int c) {
  int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
  if (pa <= pb && pa <= pc) return a;
  return pb <= pc ? b : c;
}

// Reverses the filters of one pass in place; false for a bad filter type.
inline bool Unfilter(uint8_t* data, size_t rows, size_t rowBytes, size_t bpp) {
  std::vector<uint8_t> prior(rowBytes, 0);
  for (size_t r = 0; r < rows; ++r) {
    uint8_t filter = data[r * (rowBytes + 1)];
    uint8_t* row = data + r * (rowBytes + 1) + 1;
    for (size_t i = 0; i < rowBytes; ++i) {
      int a = i >= bpp ? row[i - bpp] : 0, b = prior[i], c = i >= bpp ? prior[i - bpp] : 0;
      int add = 0;
      switch (filter) {
        case 0: break;
        case 1: add = a; break;
        case 2: add = b; break;
        case 3: add = (a + b) / 2; break;
        case 4: add = Paeth(a, b, c); break;
        default: return false;
      }
      row[i] = static_cast<uint8_t>(row[i] + add);
    }
    memcpy(prior.data(), row, rowBytes);
  }
  return true;
}

inline double Gamma(double sample, double exponent) { return 255.0 * std::pow(sample, exponent); }

// Decodes path; false when this reader cannot (the caller then expects the
// loader to fail too, or skips).
inline bool Decode(const std::string& path, Image* out) {
  std::vector<uint8_t> file = ReadFileBytes(path);
  if (file.size() < 8 || memcmp(file.data(), "\x89PNG\r\n\x1a\n", 8) != 0) return false;
  uint32_t width = 0, height = 0;
  int depth = 0, type = -1, interlace = 0;
  std::vector<uint8_t> idat, palette, trns, bkgd;
  double fileGamma = 0;
  for (size_t p = 8; p + 12 <= file.size();) {
    uint32_t length = Be32(&file[p]);
    if (length > file.size() - p - 12) return false;
    std::string name(reinterpret_cast<const char*>(&file[p + 4]), 4);
    const uint8_t* d = &file[p + 8];
    if (name == "IHDR") {
      width = Be32(d);
      height = Be32(d + 4);
      depth = d[8];
      type = d[9];
      interlace = d[12];
    } else if (name == "PLTE") {
      palette.assign(d, d + length);
    } else if (name == "tRNS") {
      trns.assign(d, d + length);
    } else if (name == "bKGD") {
      bkgd.assign(d, d + length);
    } else if (name == "gAMA") {
      fileGamma = Be32(d) / 100000.0;
    } else if (name == "sRGB" && fileGamma == 0) {
      fileGamma = 0.45455;
    } else if (name == "IDAT") {
      idat.insert(idat.end(), d, d + length);
    }
    p += 12 + length;
  }
  const int samplesOf[7] = {1, 0, 3, 1, 2, 0, 4};
  if (type < 0 || type > 6 || samplesOf[type] == 0 || width == 0 || height == 0) return false;
  int samples = samplesOf[type];
  size_t bitsPerPixel = static_cast<size_t>(samples) * depth;
  size_t bpp = (bitsPerPixel + 7) / 8;

  // Adam7 passes (or the one plain pass): origin and step in x and y.
  struct Pass { int x0, y0, dx, dy; };
  const Pass adam7[7] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                         {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};
  const Pass plain[1] = {{0, 0, 1, 1}};
  const Pass* passes = interlace ? adam7 : plain;
  int passCount = interlace ? 7 : 1;
  size_t total = 0;
  for (int i = 0; i < passCount; ++i) {
    size_t pw = (width - passes[i].x0 + passes[i].dx - 1) / passes[i].dx;
    size_t ph = (height - passes[i].y0 + passes[i].dy - 1) / passes[i].dy;
    if (passes[i].x0 >= static_cast<int>(width) || passes[i].y0 >= static_cast<int>(height)) continue;
    total += ph * (1 + (pw * bitsPerPixel + 7) / 8);
  }
  std::vector<uint8_t> raw(total);
  uLongf rawLength = total;
  if (uncompress(raw.data(), &rawLength, idat.data(), idat.size()) != Z_OK || rawLength != total) {
    return false;
  }

  // Raw samples of every pixel, at the file's depth.
  std::vector<uint16_t> sample(static_cast<size_t>(width) * height * samples);
  size_t offset = 0;
  for (int i = 0; i < passCount; ++i) {
    if (passes[i].x0 >= static_cast<int>(width) || passes[i].y0 >= static_cast<int>(height)) continue;
    size_t pw = (width - passes[i].x0 + passes[i].dx - 1) / passes[i].dx;
    size_t ph = (height - passes[i].y0 + passes[i].dy - 1) / passes[i].dy;
    size_t rowBytes = (pw * bitsPerPixel + 7) / 8;
    if (!Unfilter(raw.data() + offset, ph, rowBytes, bpp)) return false;
    for (size_t r = 0; r < ph; ++r) {
      const uint8_t* row = raw.data() + offset + r * (rowBytes + 1) + 1;
      for (size_t c = 0; c < pw; ++c) {
        size_t x = passes[i].x0 + c * passes[i].dx, y = passes[i].y0 + r * passes[i].dy;
        for (int s = 0; s < samples; ++s) {
          size_t bit = (c * samples + s) * depth;
          uint16_t v;
          if (depth == 16) v = static_cast<uint16_t>((row[bit / 8] << 8) | row[bit / 8 + 1]);
          else if (depth == 8) v = row[bit / 8];
          else v = (row[bit / 8] >> (8 - depth - bit % 8)) & ((1 << depth) - 1);
          sample[(y * width + x) * samples + s] = v;
        }
      }
    }
    offset += ph * (rowBytes + 1);
  }

  bool hasAlpha = type == 4 || type == 6 || !trns.empty();
  bool composed = !bkgd.empty();
  out->width = static_cast<int>(width);
  out->height = static_cast<int>(height);
  out->channels = composed || !hasAlpha ? 3 : 4;
  size_t pixels = static_cast<size_t>(width) * height;
  out->low.assign(pixels * out->channels, 0);
  out->high.assign(pixels * out->channels, 0);

  // Everything below works on a common scale: 8-bit files (low depths
  // expanded by bit replication, palettes looked up) on 0..255, 16-bit on 0..65535.
  double full = depth == 16 ? 65535.0 : 255.0;
  auto widen = [&](uint16_t v) -> uint16_t {
    if (depth >= 8 || type == 3) return v;
    return static_cast<uint16_t>(v * 255 / ((1 << depth) - 1));
  };
  bool gamma = fileGamma > 0 && std::fabs(fileGamma * 2.2 - 1.0) >= 0.05;
  double exponent = gamma ? 1.0 / (fileGamma * 2.2) : 1.0;

  double bg[3] = {0, 0, 0};
  if (composed) {
    if (type == 3) {
      for (int k = 0; k < 3; ++k) bg[k] = palette[bkgd[0] * 3 + k];
    } else if (type == 0 || type == 4) {
      bg[0] = bg[1] = bg[2] = widen(static_cast<uint16_t>((bkgd[0] << 8) | bkgd[1]));
    } else {
      for (int k = 0; k < 3; ++k) bg[k] = (bkgd[2 * k] << 8) | bkgd[2 * k + 1];
    }
  }

  for (size_t i = 0; i < pixels; ++i) {
    const uint16_t* s = &sample[i * samples];
    double rgb[3], alpha = full;
    if (type == 3) {
      if (s[0] * 3u + 2 >= palette.size()) return false;
      for (int k = 0; k < 3; ++k) rgb[k] = palette[s[0] * 3 + k];
      if (s[0] < trns.size()) alpha = trns[s[0]];
    } else if (type == 0 || type == 4) {
      rgb[0] = rgb[1] = rgb[2] = widen(s[0]);
      if (type == 4) alpha = s[1];
      if (type == 0 && trns.size() >= 2 && s[0] == ((trns[0] << 8) | trns[1])) alpha = 0;
    } else {
      for (int k = 0; k < 3; ++k) rgb[k] = s[k];
      if (type == 6) alpha = s[3];
      if (type == 2 && trns.size() >= 6 && s[0] == ((trns[0] << 8) | trns[1]) &&
          s[1] == ((trns[2] << 8) | trns[3]) && s[2] == ((trns[4] << 8) | trns[5])) {
        alpha = 0;
      }
    }
    uint8_t* lo = &out->low[i * out->channels];
    uint8_t* hi = &out->high[i * out->channels];
    for (int k = 0; k < 3; ++k) {
      double v = rgb[k], a = alpha / full;
      double l, h;
      if (composed && alpha < full) {
        // Composition over the background, in linear light when gamma applies.
        if (gamma) {
          double lin = a * std::pow(v / full, 1 / fileGamma) +
                       (1 - a) * std::pow(bg[k] / full, 1 / fileGamma);
          l = h = 255.0 * std::pow(lin, 1 / 2.2);
          l -= 2;
          h += 2;
        } else {
          double mix = (v * a + bg[k] * (1 - a)) / full * 255.0;
          l = std::floor(mix) - 1;
          h = std::ceil(mix) + 1;
        }
      } else if (gamma && depth == 16) {
        // libpng corrects 16-bit samples through an 11-bit table.
        uint16_t bucket = static_cast<uint16_t>(v) & 0xFFE0;
        l = std::floor(Gamma(bucket / full, exponent)) - 1;
        h = std::ceil(Gamma((bucket | 0x1F) / full, exponent)) + 1;
      } else if (gamma) {
        l = std::floor(Gamma(v / full, exponent) + 0.5) - 1;
        h = l + 2;
      } else {
        l = h = depth == 16 ? static_cast<int>(v) >> 8 : v;
      }
      lo[k] = static_cast<uint8_t>(std::fmax(0, std::fmin(255, l)));
      hi[k] = static_cast<uint8_t>(std::fmax(0, std::fmin(255, h)));
    }
    if (out->channels == 4) {
      lo[3] = hi[3] = static_cast<uint8_t>(depth == 16 ? static_cast<int>(alpha) >> 8 : alpha);
    }
  }
  return true;
}

}  // namespace png_reference
