#include "images/png_file.h"

#include <gtest/gtest.h>
#include <png.h>
#include <zlib.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <tuple>
#include <vector>

#include "images/alpha_pixels.h"
#include "images/reduce.h"
#include "images/star_image_rules.h"
#include "images/star_pixels.h"
#include "tests/native/png_reference.h"

namespace fs = std::filesystem;

namespace {

struct Decoded {
  int ok = 0;
  uint8_t* pixels = nullptr;
  int32_t width = -1, height = -1, channels = -1;
  explicit Decoded(const std::string& path) {
    ok = LoadPngFile(path.c_str(), &pixels, &width, &height, &channels);
  }
  ~Decoded() { free(pixels); }
};

std::vector<std::string> PngFilesUnder(const fs::path& folder, bool recursive) {
  std::vector<std::string> files;
  if (!fs::is_directory(folder)) return files;
  auto take = [&](const fs::directory_entry& e) {
    if (e.is_regular_file() && e.path().extension() == ".png") files.push_back(e.path().string());
  };
  if (recursive) {
    for (const auto& e : fs::recursive_directory_iterator(folder)) {
      if (e.path().string().find("crashers") == std::string::npos) take(e);
    }
  } else {
    for (const auto& e : fs::directory_iterator(folder)) take(e);
  }
  std::sort(files.begin(), files.end());
  return files;
}

const fs::path kLibpng = TOVIK2_LIBPNG_SOURCE;

void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

void PutChunk(std::vector<uint8_t>* png, const char* type, const std::vector<uint8_t>& data) {
  uint32_t n = static_cast<uint32_t>(data.size());
  for (int s = 24; s >= 0; s -= 8) png->push_back(static_cast<uint8_t>(n >> s));
  size_t start = png->size();
  png->insert(png->end(), type, type + 4);
  png->insert(png->end(), data.begin(), data.end());
  uint32_t crc = static_cast<uint32_t>(crc32(0, png->data() + start, static_cast<uInt>(n + 4)));
  for (int s = 24; s >= 0; s -= 8) png->push_back(static_cast<uint8_t>(crc >> s));
}

// A non-interlaced 8-bit PNG from unfiltered rows, with extra chunks placed
// before the image data.
std::vector<uint8_t> MakePng(uint32_t width, uint32_t height, uint8_t colorType,
                             const std::vector<uint8_t>& rows,
                             const std::vector<std::pair<const char*, std::vector<uint8_t>>>& extra = {}) {
  std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
  std::vector<uint8_t> ihdr = {static_cast<uint8_t>(width >> 24), static_cast<uint8_t>(width >> 16),
                               static_cast<uint8_t>(width >> 8), static_cast<uint8_t>(width),
                               static_cast<uint8_t>(height >> 24), static_cast<uint8_t>(height >> 16),
                               static_cast<uint8_t>(height >> 8), static_cast<uint8_t>(height),
                               8, colorType, 0, 0, 0};
  PutChunk(&png, "IHDR", ihdr);
  for (const auto& [type, data] : extra) PutChunk(&png, type, data);
  int samples = colorType == 6 ? 4 : colorType == 2 ? 3 : 1;
  std::vector<uint8_t> filtered;
  size_t rowBytes = width * samples;
  for (uint32_t r = 0; r < height; ++r) {
    filtered.push_back(0);
    filtered.insert(filtered.end(), rows.begin() + r * rowBytes, rows.begin() + (r + 1) * rowBytes);
  }
  std::vector<uint8_t> z(compressBound(filtered.size()));
  uLongf zLength = z.size();
  compress(z.data(), &zLength, filtered.data(), filtered.size());
  z.resize(zLength);
  PutChunk(&png, "IDAT", z);
  PutChunk(&png, "IEND", {});
  return png;
}

using png_reference::TempPath;

}  // namespace

// Every file of libpng's own suites decodes with the channel count and pixels
// of an independent reading under the loader's rules.
TEST(PngFile, SuitesAgreeWithReferenceDecode) {
  std::vector<std::string> files = PngFilesUnder(kLibpng / "contrib" / "pngsuite", true);
  std::vector<std::string> more = PngFilesUnder(kLibpng / "contrib" / "testpngs", false);
  files.insert(files.end(), more.begin(), more.end());
  ASSERT_GT(files.size(), 150u) << "libpng's test files were not found under " << kLibpng;

  for (const std::string& path : files) {
    SCOPED_TRACE(path);
    png_reference::Image expected;
    ASSERT_TRUE(png_reference::Decode(path, &expected));
    Decoded got(path);
    ASSERT_EQ(got.ok, 1);
    ASSERT_NE(got.pixels, nullptr);
    ASSERT_EQ(got.width, expected.width);
    ASSERT_EQ(got.height, expected.height);
    ASSERT_EQ(got.channels, expected.channels);
    size_t bytes = expected.low.size();
    int mismatches = 0;
    for (size_t i = 0; i < bytes && mismatches < 3; ++i) {
      if (got.pixels[i] < expected.low[i] || got.pixels[i] > expected.high[i]) {
        ADD_FAILURE() << "byte " << i << " (pixel " << i / got.channels << ") is "
                      << int{got.pixels[i]} << ", expected " << int{expected.low[i]} << ".."
                      << int{expected.high[i]};
        ++mismatches;
      }
    }
  }
}

TEST(PngFile, KindsOfFileComeOutAsTheTableSays) {
  const fs::path suite = kLibpng / "contrib" / "testpngs";
  {
    Decoded d((suite / "rgb-alpha-16.png").string());
    ASSERT_EQ(d.ok, 1);
    EXPECT_EQ(d.channels, 4);  // 16-bit samples keep their high byte
  }
  {
    Decoded d((kLibpng / "contrib" / "pngsuite" / "basn0g01.png").string());
    ASSERT_EQ(d.ok, 1);
    EXPECT_EQ(d.channels, 3);
    for (int32_t i = 0; i < d.width * d.height * 3; ++i) {
      ASSERT_TRUE(d.pixels[i] == 0x00 || d.pixels[i] == 0xFF) << i;
    }
  }
  {
    Decoded with((suite / "palette-8-tRNS.png").string());
    Decoded without((suite / "palette-8.png").string());
    EXPECT_EQ(with.channels, 4);
    EXPECT_EQ(without.channels, 3);
  }
}

// An RGBA file with a bKGD chunk loses its alpha: it is composed over that colour.
TEST(PngFile, RgbaWithBackgroundIsComposed) {
  // 2 × 1: opaque red, fully transparent green; background blue.
  std::vector<uint8_t> rows = {255, 0, 0, 255, 0, 255, 0, 0};
  std::string path = TempPath("bkgd.png");
  WriteBytes(path, MakePng(2, 1, 6, rows, {{"bKGD", {0, 0, 0, 0, 0, 255}}}));
  Decoded d(path);
  ASSERT_EQ(d.ok, 1);
  ASSERT_EQ(d.channels, 3);
  EXPECT_EQ(std::vector<uint8_t>(d.pixels, d.pixels + 6), (std::vector<uint8_t>{255, 0, 0, 0, 0, 255}));
}

// The same bytes without one kind of chunk (CRCs stay valid: chunks are
// copied whole).
std::vector<uint8_t> WithoutChunk(const std::vector<uint8_t>& png, const char* type) {
  std::vector<uint8_t> out(png.begin(), png.begin() + 8);
  for (size_t p = 8; p + 12 <= png.size();) {
    size_t length = png_reference::Be32(&png[p]);
    if (memcmp(&png[p + 4], type, 4) != 0) out.insert(out.end(), png.begin() + p, png.begin() + p + 12 + length);
    p += 12 + length;
  }
  return out;
}

TEST(PngFile, InterlacedFilesMatchTheirPlainTwins) {
  // The suite's interlaced copies carry no gAMA chunk; their plain twins are
  // compared without theirs.
  const fs::path suite = kLibpng / "contrib" / "pngsuite";
  std::string path = TempPath("twin.png");
  for (const char* name : {"basn6a08", "basn3p08", "basn0g16", "basn2c16", "basn4a16"}) {
    SCOPED_TRACE(name);
    WriteBytes(path, WithoutChunk(png_reference::ReadFileBytes((suite / (std::string(name) + ".png")).string()), "gAMA"));
    Decoded plain(path);
    Decoded interlaced((suite / ("i" + std::string(name) + ".png")).string());
    ASSERT_EQ(plain.ok, 1);
    ASSERT_EQ(interlaced.ok, 1);
    ASSERT_EQ(plain.channels, interlaced.channels);
    size_t bytes = static_cast<size_t>(plain.width) * plain.height * plain.channels;
    EXPECT_EQ(memcmp(plain.pixels, interlaced.pixels, bytes), 0);
  }
}

// A file that fails must leave nothing behind: ASan's leak check at exit and
// its heap checks see every path.
// The sanitizer runtime's own interface (its header comes with clang only).
extern "C" int __sanitizer_install_malloc_and_free_hooks(void (*)(const volatile void*, size_t),
                                                         void (*)(const volatile void*));

// The largest block allocated since it was last cleared: the sanitizer's
// allocator calls the hook for every allocation, libpng's included.
std::atomic<size_t> largestAllocation{0};
void NoteAllocation(const volatile void*, size_t size) {
  size_t seen = largestAllocation.load();
  while (size > seen && !largestAllocation.compare_exchange_weak(seen, size)) {
  }
}
void NoteFree(const volatile void*) {}
const bool kAllocationsNoted = __sanitizer_install_malloc_and_free_hooks(NoteAllocation, NoteFree) != 0;

void ExpectDecodesOrFailsCleanly(const std::string& path) {
  SCOPED_TRACE(path);
  Decoded d(path);
  if (d.ok) {
    ASSERT_NE(d.pixels, nullptr);
    EXPECT_GT(d.width, 0);
    EXPECT_GT(d.height, 0);
    EXPECT_TRUE(d.channels == 3 || d.channels == 4);
    // Touch every byte, so a short buffer shows under ASan.
    unsigned sum = 0;
    for (size_t i = 0; i < static_cast<size_t>(d.width) * d.height * d.channels; ++i) sum += d.pixels[i];
    (void)sum;
  } else {
    EXPECT_EQ(d.pixels, nullptr);
    EXPECT_EQ(d.width, 0);
  }
}

TEST(PngFile, CrashersAndRegressionsDecodeOrFailCleanly) {
  std::vector<std::string> files = PngFilesUnder(kLibpng / "contrib" / "testpngs" / "crashers", false);
  ASSERT_GT(files.size(), 10u);
  ASSERT_TRUE(kAllocationsNoted);
  fs::path regressions = fs::path(TOVIK2_SOURCE_DIR) / "tests" / "fuzz" / "regressions";
  if (fs::is_directory(regressions)) {
    for (const auto& e : fs::directory_iterator(regressions)) {
      if (e.is_regular_file()) files.push_back(e.path().string());
    }
  }
  for (const std::string& path : files) {
    largestAllocation = 0;
    ExpectDecodesOrFailsCleanly(path);
    // A few hundred bytes that claim a huge chunk get nothing near its size.
    EXPECT_LT(largestAllocation.load(), size_t{64} << 20) << path;
  }
}

TEST(PngFile, DamagedFilesFail) {
  std::vector<uint8_t> good =
      png_reference::ReadFileBytes((kLibpng / "contrib" / "pngsuite" / "basn6a08.png").string());
  ASSERT_GT(good.size(), 100u);
  std::string path = TempPath("damaged.png");

  // Truncated anywhere before the end of the image data: every length fails.
  size_t iend = good.size() - 12;
  for (size_t length = 0; length < iend; length += length < 64 ? 1 : 37) {
    SCOPED_TRACE(length);
    WriteBytes(path, std::vector<uint8_t>(good.begin(), good.begin() + length));
    Decoded d(path);
    EXPECT_EQ(d.ok, 0);
    EXPECT_EQ(d.pixels, nullptr);
  }

  // A flipped bit inside the image data breaks its CRC.
  std::vector<uint8_t> broken = good;
  broken[iend - 20] ^= 0x10;
  WriteBytes(path, broken);
  {
    Decoded d(path);
    EXPECT_EQ(d.ok, 0);
    EXPECT_EQ(d.pixels, nullptr);
  }

  // Text that calls itself .png fails at the signature.
  WriteBytes(path, std::vector<uint8_t>{'h', 'e', 'l', 'l', 'o', ' ', 'p', 'n', 'g', '\n'});
  char reason[260] = "";
  uint8_t* pixels = reinterpret_cast<uint8_t*>(1);
  int32_t w, h, c;
  EXPECT_EQ(LoadPngFileWithReason(path.c_str(), &pixels, &w, &h, &c, reason), 0);
  EXPECT_EQ(pixels, nullptr);
  EXPECT_STREQ(reason, "not a PNG file");
  // The file was closed again: it can be removed and replaced at once.
  EXPECT_TRUE(fs::remove(path));

  EXPECT_EQ(LoadPngFile(TempPath("missing.png").c_str(), &pixels, &w, &h, &c), 0);
  EXPECT_EQ(LoadPngFile(nullptr, &pixels, &w, &h, &c), 0);
  EXPECT_EQ(pixels, nullptr);
}

// A header may claim any size; pictures over the side limit are refused
// before their memory is asked for, and the reason says why.
TEST(PngFile, HugeHeadersAreRefused) {
  std::vector<uint8_t> png = MakePng(1, 1, 6, {1, 2, 3, 4});
  // Patch the width to 16385 and fix the IHDR CRC.
  png[16] = 0, png[17] = 0, png[18] = 0x40, png[19] = 0x01;
  uint32_t crc = static_cast<uint32_t>(crc32(0, &png[12], 17));
  for (int i = 0; i < 4; ++i) png[29 + i] = static_cast<uint8_t>(crc >> (24 - 8 * i));
  std::string path = TempPath("huge.png");
  WriteBytes(path, png);
  char reason[260] = "";
  uint8_t* pixels = nullptr;
  int32_t w, h, c;
  EXPECT_EQ(LoadPngFileWithReason(path.c_str(), &pixels, &w, &h, &c, reason), 0);
  EXPECT_EQ(pixels, nullptr);
  EXPECT_NE(reason[0], '\0');
}

namespace {

// Pixel memory from the heap, remembering what was asked for.
class HeapTarget : public PixelTarget {
 public:
  uint32_t* Allocate(int32_t width, int32_t height) override {
    ++calls;
    pixels.assign(static_cast<size_t>(width) * height, 0xDEADBEEF);
    return pixels.data();
  }
  int calls = 0;
  std::vector<uint32_t> pixels;
};

// Today's road, as the reference: the whole picture decoded, converted, then
// reduced to the star size.
std::vector<uint32_t> WholeThenReduced(const std::string& path, int keepSize, PictureSize* size) {
  Decoded d(path);
  if (!d.ok) return {};
  std::vector<uint32_t> whole(static_cast<size_t>(d.width) * d.height);
  EXPECT_EQ(ConvertToAlphaPixels(reinterpret_cast<uint8_t*>(whole.data()), d.pixels, d.width, d.height, d.channels), 1);
  *size = keepSize ? PictureSize{d.width, d.height} : ReducedStarSize(d.width, d.height);
  if (size->width == 0) return {};  // too thin for a star
  if (size->width == d.width && size->height == d.height) return whole;
  std::vector<uint32_t> reduced(static_cast<size_t>(size->width) * size->height);
  EXPECT_EQ(ReduceImage(reduced.data(), whole.data(), size->width, size->height, d.width, d.height), 1);
  return reduced;
}

// A picture written through libpng, optionally interlaced: RGBA or RGB rows
// with smooth colour, hard edges and soft alpha.
void WriteLibpngPicture(const std::string& path, int width, int height, int channels, bool interlaced) {
  FILE* file = fopen(path.c_str(), "wb");
  ASSERT_NE(file, nullptr);
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  png_init_io(png, file);
  png_set_IHDR(png, info, width, height, 8, channels == 4 ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB,
               interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  std::vector<uint8_t> pixels(static_cast<size_t>(width) * height * channels);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      uint8_t* p = &pixels[(static_cast<size_t>(y) * width + x) * channels];
      p[0] = static_cast<uint8_t>(x * 255 / width);
      p[1] = static_cast<uint8_t>(y * 255 / height);
      p[2] = (x / 7 + y / 5) % 2 ? 250 : 3;
      if (channels == 4) p[3] = static_cast<uint8_t>((x * 3 + y * 5) % 256);
    }
  }
  std::vector<png_bytep> rows(height);
  for (int y = 0; y < height; ++y) rows[y] = &pixels[static_cast<size_t>(y) * width * channels];
  png_write_image(png, rows.data());
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  fclose(file);
}

}  // namespace

// Loading row by row into the star's pixels gives, to the byte, what decoding
// the whole picture, converting it and reducing it gives: for every file of
// libpng's suites at its own size and at star size, and for pictures large
// enough to be reduced, plain and interlaced, with and without alpha.
TEST(PngFile, StarPixelsRowByRowEqualTheWholeRoad) {
  std::vector<std::string> files = PngFilesUnder(kLibpng / "contrib" / "pngsuite", true);
  std::vector<std::string> more = PngFilesUnder(kLibpng / "contrib" / "testpngs", false);
  files.insert(files.end(), more.begin(), more.end());
  int n = 0;
  for (auto [width, height, channels, interlaced] :
       {std::tuple{300, 200, 4, false}, {200, 300, 3, false}, {150, 150, 4, true}, {1000, 80, 4, false},
        {73, 500, 3, true}}) {
    std::string path = TempPath("big_" + std::to_string(n++) + ".png");
    WriteLibpngPicture(path, width, height, channels, interlaced);
    files.push_back(path);
  }
  for (const std::string& path : files) {
    for (int keepSize : {1, 0}) {
      SCOPED_TRACE(path + (keepSize ? " kept" : " star size"));
      PictureSize size{0, 0};
      std::vector<uint32_t> expected = WholeThenReduced(path, keepSize, &size);
      HeapTarget target;
      int32_t w = 0, h = 0;
      if (expected.empty()) {
        EXPECT_EQ(LoadStarPixels(path.c_str(), keepSize, &target, &w, &h, nullptr), 0);
        continue;
      }
      ASSERT_EQ(LoadStarPixels(path.c_str(), keepSize, &target, &w, &h, nullptr), 1);
      EXPECT_EQ(target.calls, 1);
      ASSERT_EQ(w, size.width);
      ASSERT_EQ(h, size.height);
      ASSERT_EQ(target.pixels, expected);
    }
  }
}

TEST(PngFile, StarPixelsRefuseWhatCannotBecomeAStar) {
  char reason[260] = "";
  int32_t w = -1, h = -1;
  {
    // Too thin to keep a row at 72 pixels: refused before memory is asked for,
    // unless it keeps its size.
    std::string path = TempPath("thin.png");
    WriteBytes(path, MakePng(1000, 5, 6, std::vector<uint8_t>(1000 * 5 * 4, 200)));
    HeapTarget target;
    EXPECT_EQ(LoadStarPixels(path.c_str(), 0, &target, &w, &h, reason), 0);
    EXPECT_EQ(target.calls, 0);
    EXPECT_EQ(w, 0);
    EXPECT_NE(reason[0], '\0');
    HeapTarget kept;
    EXPECT_EQ(LoadStarPixels(path.c_str(), 1, &kept, &w, &h, nullptr), 1);
    EXPECT_EQ(w, 1000);
    EXPECT_EQ(h, 5);
  }
  {
    // Cut short in its pixel data: the target was asked for, the load fails.
    std::string path = TempPath("cut.png");
    WriteLibpngPicture(path, 400, 300, 4, false);
    std::vector<uint8_t> bytes = png_reference::ReadFileBytes(path);
    bytes.resize(bytes.size() / 2);
    WriteBytes(path, bytes);
    HeapTarget target;
    EXPECT_EQ(LoadStarPixels(path.c_str(), 0, &target, &w, &h, reason), 0);
    EXPECT_EQ(target.calls, 1);
  }
  {
    // An interlaced picture is decoded whole, so a huge one is refused at its
    // header rather than costing its full size.
    std::vector<uint8_t> png = MakePng(1, 1, 6, {1, 2, 3, 4});
    png[16] = 0, png[17] = 0, png[18] = 0x40, png[19] = 0x00;  // 16384 wide
    png[20] = 0, png[21] = 0, png[22] = 0x40, png[23] = 0x00;  // 16384 high
    png[28] = 1;                                               // Adam7
    uint32_t crc = static_cast<uint32_t>(crc32(0, &png[12], 17));
    for (int i = 0; i < 4; ++i) png[29 + i] = static_cast<uint8_t>(crc >> (24 - 8 * i));
    std::string path = TempPath("huge_interlaced.png");
    WriteBytes(path, png);
    HeapTarget target;
    EXPECT_EQ(LoadStarPixels(path.c_str(), 0, &target, &w, &h, reason), 0);
    EXPECT_STREQ(reason, "Visual PNG: interlaced picture too large");
    EXPECT_EQ(target.calls, 0);
  }
  HeapTarget target;
  EXPECT_EQ(LoadStarPixels(TempPath("missing.png").c_str(), 0, &target, &w, &h, reason), 0);
  EXPECT_EQ(LoadStarPixels(nullptr, 0, &target, &w, &h, nullptr), 0);
  EXPECT_EQ(target.calls, 0);
}

// A load whose picture is no longer wanted ends at the next row: a target that
// raises the stop once the decode has begun gets no row, plain or interlaced,
// kept or reduced; a stop that stays clear changes nothing.
TEST(PngFile, StarPixelsStopAtTheNextRowOnceAsked) {
  class StoppingTarget : public HeapTarget {
   public:
    explicit StoppingTarget(StopSignal* stop) : stop_(stop) {}
    uint32_t* Allocate(int32_t width, int32_t height) override {
      stop_->store(true);
      return HeapTarget::Allocate(width, height);
    }

   private:
    StopSignal* stop_;
  };
  int n = 0;
  for (bool interlaced : {false, true}) {
    std::string path = TempPath("stopped_" + std::to_string(n++) + ".png");
    WriteLibpngPicture(path, 300, 200, 4, interlaced);
    for (int keepSize : {0, 1}) {
      SCOPED_TRACE(std::string(interlaced ? "interlaced" : "plain") + (keepSize ? " kept" : " star size"));
      StopSignal stop{false};
      StoppingTarget target(&stop);
      char reason[260] = "";
      int32_t w = -1, h = -1;
      EXPECT_EQ(LoadStarPixels(path.c_str(), keepSize, &target, &w, &h, reason, &stop), 0);
      EXPECT_STREQ(reason, "the load was stopped");
      EXPECT_EQ(w, 0);
      ASSERT_EQ(target.calls, 1);
      EXPECT_EQ(std::count(target.pixels.begin(), target.pixels.end(), 0xDEADBEEFu),
                static_cast<std::ptrdiff_t>(target.pixels.size()))
          << "no row was written";

      StopSignal clear{false};
      HeapTarget whole;
      EXPECT_EQ(LoadStarPixels(path.c_str(), keepSize, &whole, &w, &h, nullptr, &clear), 1);
      EXPECT_EQ(w, keepSize ? 300 : 72);
    }
  }
}
