// The Linux program's plain parts: the status answer's text (a contract with
// the end-to-end tests), pictures turned the right way up, their shapes, the
// built-in artwork's unpacking, and the texts taken from the string tables.
#include <gtest/gtest.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "images/artwork_payload.h"
#include "linux/plain/picture_pixels.h"
#include "linux/plain/png_folder.h"
#include "linux/plain/shape_runs.h"
#include "linux/plain/status_text.h"

namespace {

TEST(LinuxStatusText, StatusLineHasEveryKeyInOrderAndTheIniPathLast) {
  StatusFigures f;
  f.reacting = true;
  f.stars = 12;
  f.shown = 5;
  f.flying = 3;
  f.grabbed = 2;
  f.timer = true;
  f.ticks = 4000000000ull;  // beyond 32 bits: a long run
  f.queued = 1;
  f.loading = true;
  f.pictures = 4;
  f.compositor = true;
  f.scale = 150;
  f.clicks = 7;
  f.moves = 8;
  f.keys = 9;
  f.ini = "/home/someone/.config/tovik2/tovik2.ini";
  EXPECT_EQ(StatusText(42, f),
            "pid=42 reacting=1 stars=12 shown=5 flying=3 grabbed=2 timer=1 ticks=4000000000 queued=1 loading=1 "
            "pictures=4 compositor=1 scale=150 clicks=7 moves=8 keys=9 ini=/home/someone/.config/tovik2/tovik2.ini\n");
}

TEST(LinuxStatusText, StarsAreOneLineEachThenEnd) {
  EXPECT_EQ(StarsText({}), "end\n");
  StarLine a{0x2a00007, -10, 20, 72, 72, true, false, true, 0, 0};
  StarLine b{0x2a0000c, 300, 400, 108, 108, false, true, false, 3, 2};
  EXPECT_EQ(StarsText({a, b}),
            "window=0x2a00007 x=-10 y=20 w=72 h=72 shown=1 grabbed=0 flying=1 number=0 image=0\n"
            "window=0x2a0000c x=300 y=400 w=108 h=108 shown=0 grabbed=1 flying=0 number=3 image=2\n"
            "end\n");
}

// Alpha-bitmap memory of a 2 × 3 picture: bottom row first, pixel values
// naming their place as seen (row * 16 + column).
std::vector<uint8_t> BottomUpBits() {
  std::vector<uint8_t> bits;
  for (int row = 2; row >= 0; --row) {
    for (int column = 0; column < 2; ++column) {
      uint32_t value = 0xff000000u | static_cast<uint32_t>(row * 16 + column);
      for (int b = 0; b < 4; ++b) bits.push_back(static_cast<uint8_t>(value >> (8 * b)));
    }
  }
  return bits;
}

TEST(LinuxPicturePixels, AlphaBitmapComesTopRowFirstAndShortMemoryIsRefused) {
  std::vector<uint8_t> bits = BottomUpBits();
  PicturePixels picture;
  ASSERT_TRUE(PicturePixelsFromAlphaBitmap(bits.data(), bits.size(), 2, 3, &picture));
  ASSERT_EQ(picture.pixels.size(), 6u);
  for (int row = 0; row < 3; ++row) {
    for (int column = 0; column < 2; ++column) {
      EXPECT_EQ(picture.pixels[row * 2 + column] & 0xff, static_cast<uint32_t>(row * 16 + column));
    }
  }
  EXPECT_EQ(picture.frameCount, 1);
  EXPECT_FALSE(PicturePixelsFromAlphaBitmap(bits.data(), bits.size() - 1, 2, 3, &picture));
  EXPECT_FALSE(PicturePixelsFromAlphaBitmap(bits.data(), bits.size(), 0, 3, &picture));
}

TEST(LinuxPicturePixels, FramesLieSideBySideOrOneAboveTheOther) {
  PicturePixels strip;
  strip.width = 6;
  strip.height = 2;
  strip.frameWidth = 2;
  strip.frameHeight = 2;
  strip.frameCount = 3;
  for (uint32_t i = 0; i < 12; ++i) strip.pixels.push_back(i);
  EXPECT_EQ(*strip.Frame(0), 0u);
  EXPECT_EQ(*strip.Frame(2), 4u);
  EXPECT_EQ(strip.Frame(2)[strip.width + 1], 11u);  // the frame's last pixel, a row down

  PicturePixels column = strip;
  column.width = 2;
  column.height = 6;
  column.framesSideBySide = 0;
  EXPECT_EQ(*column.Frame(1), 4u);
  EXPECT_EQ(column.Frame(2)[column.width + 1], 11u);
}

TEST(LinuxPicturePixels, ResizeReducesOrEnlargesButRefusesMixedSizes) {
  PicturePixels source;
  source.width = source.frameWidth = 4;
  source.height = source.frameHeight = 4;
  source.pixels.assign(16, 0xff804020u);
  PicturePixels out;
  ASSERT_TRUE(ResizePixels(source, 2, 2, &out));
  EXPECT_EQ(out.width, 2);
  EXPECT_EQ(out.pixels.size(), 4u);
  EXPECT_EQ(out.pixels[3], 0xff804020u);  // a flat colour stays itself
  ASSERT_TRUE(ResizePixels(source, 6, 6, &out));
  EXPECT_EQ(out.frameHeight, 6);
  EXPECT_EQ(out.pixels[35], 0xff804020u);
  EXPECT_FALSE(ResizePixels(source, 2, 6, &out));
}

struct ShapeRun {
  int16_t x, y;
  uint16_t width, height;
};

TEST(LinuxShapeRuns, RunsFollowTheAlphaAtTheGivenThreshold) {
  // Row 0: a faint pixel, then two opaque ones, a gap, one opaque at the edge.
  // Row 1: nothing. Row 2: all half opaque.
  const uint32_t a = 0xff000000u, faint = 0x10000000u, half = 0x80000000u;
  const uint32_t pixels[] = {faint, a, a, 0, a,  //
                             0,     0, 0, 0, 0,  //
                             half,  half, half, half, half};
  std::vector<ShapeRun> runs;
  ShapeRuns(pixels, 5, 5, 3, 1, &runs);
  ASSERT_EQ(runs.size(), 3u);
  EXPECT_EQ(runs[0].x, 0);
  EXPECT_EQ(runs[0].width, 3);
  EXPECT_EQ(runs[1].x, 4);
  EXPECT_EQ(runs[1].width, 1);
  EXPECT_EQ(runs[2].y, 2);
  EXPECT_EQ(runs[2].width, 5);
  for (const ShapeRun& run : runs) EXPECT_EQ(run.height, 1);

  ShapeRuns(pixels, 5, 5, 3, 0x81, &runs);  // the half-opaque row drops out, the faint pixel too
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_EQ(runs[0].x, 1);
  EXPECT_EQ(runs[0].width, 2);

  ShapeRuns(pixels, 5, 2, 1, 1, &runs);  // a narrower window onto the same rows (stride 5)
  ASSERT_EQ(runs.size(), 1u);
  EXPECT_EQ(runs[0].width, 2);
}

TEST(LinuxArtBytes, TheCoresUnpackedPictureTurnsTopRowFirstWithItsFrames) {
  std::vector<uint8_t> bits = BottomUpBits();
  std::vector<uint8_t> packed(compressBound(bits.size()));
  uLongf packedSize = packed.size();
  ASSERT_EQ(compress(packed.data(), &packedSize, bits.data(), bits.size()), Z_OK);
  PicturePtr unpacked = UnpackPicture(Payload{packed.data(), packedSize}, 2, 3);
  ASSERT_TRUE(unpacked);
  PicturePixels picture;
  ASSERT_TRUE(PicturePixelsFromPicture(*unpacked, &picture));
  EXPECT_EQ(picture.pixels[0] & 0xff, 0u);  // top row first
  EXPECT_EQ(picture.pixels[5] & 0xff, 0x21u);
  EXPECT_EQ(picture.frameWidth, 2);
  EXPECT_EQ(picture.frameHeight, 3);
  EXPECT_EQ(picture.frameCount, 1);
  unpacked->pixels.reset();  // handed over already: nothing to turn
  EXPECT_FALSE(PicturePixelsFromPicture(*unpacked, &picture));
}

TEST(LinuxTexts, MenuTextsComeFromBothStringTables) {
  std::string out = testing::TempDir() + "rc_texts_" + std::to_string(getpid()) + ".h";
  std::string command = std::string(TOVIK2_CMAKE) + " -DRC=" + TOVIK2_SOURCE_DIR + "/res/tovik2.rc -DOUT=" + out +
                        " -P " + TOVIK2_SOURCE_DIR + "/linux/rc_texts.cmake";
  ASSERT_EQ(system(command.c_str()), 0);
  std::ifstream file(out);
  std::stringstream text;
  text << file.rdbuf();
  std::string header = text.str();
  remove(out.c_str());
  EXPECT_NE(header.find("kIDS_ERASE{\"消去\", \"Erase\"}"), std::string::npos) << header;
  EXPECT_NE(header.find("kIDS_ERASE_ALL{\"全て消去\", \"Erase all\"}"), std::string::npos);
  EXPECT_NE(header.find("kIDS_TIDY{\"整理する\", \"Tidy up\"}"), std::string::npos);
  // Escapes pass through as C++ escapes, and every text of the table is there.
  EXPECT_NE(header.find("kIDS_FOLDER_UNUSABLE{\"設定されたフォルダ内の画像ファイルを全く認識できませんでした。\\n"),
            std::string::npos);
  EXPECT_NE(header.find("kIDS_EXCLUDE_DROPPED{"), std::string::npos);
}

}  // namespace

namespace {

class NameList final : public PngNameVisitor {
 public:
  explicit NameList(int stopAfter = -1) : stopAfter_(stopAfter) {}
  bool File(const char* name) override {
    names.push_back(name);
    return stopAfter_ < 0 || static_cast<int>(names.size()) < stopAfter_;
  }
  std::vector<std::string> names;

 private:
  int stopAfter_;
};

class LinuxPngFolder : public testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/tovik2_png_folder_XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    folder_ = pattern;
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }
  void Touch(const std::string& name) { std::ofstream(folder_ + "/" + name) << "x"; }

  std::string folder_;
};

TEST_F(LinuxPngFolder, ListsPngFilesInAnyCaseButNotFoldersOrOtherFiles) {
  Touch("a.png");
  Touch("B.PNG");
  Touch("星_fix.png");  // a UTF-8 name passes as it is
  Touch("notes.txt");
  Touch(".png");        // no name before the ending
  Touch("png");
  std::filesystem::create_directory(folder_ + "/folder.png");
  std::filesystem::create_symlink(folder_ + "/a.png", folder_ + "/link.png");
  std::filesystem::create_symlink(folder_ + "/folder.png", folder_ + "/dirlink.png");

  NameList list;
  ASSERT_EQ(ListPngFolder(folder_.c_str(), &list), PngFolderState::kPresent);
  std::sort(list.names.begin(), list.names.end());
  EXPECT_EQ(list.names, (std::vector<std::string>{"B.PNG", "a.png", "link.png", "星_fix.png"}));
}

TEST_F(LinuxPngFolder, TellsMissingFromFileAndStopsWhenAsked) {
  NameList list;
  EXPECT_EQ(ListPngFolder((folder_ + "/none").c_str(), &list), PngFolderState::kMissing);
  Touch("plain.png");
  EXPECT_EQ(ListPngFolder((folder_ + "/plain.png").c_str(), &list), PngFolderState::kIsFile);
  EXPECT_TRUE(list.names.empty());

  Touch("second.png");
  Touch("third.png");
  NameList first(1);
  EXPECT_EQ(ListPngFolder(folder_.c_str(), &first), PngFolderState::kPresent);
  EXPECT_EQ(first.names.size(), 1u);
}

}  // namespace
