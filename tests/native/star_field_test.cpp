// The whole star field without a platform: a fake host, fake surfaces, a
// shelf of the test's own and a lister of PNG files in a scratch folder (or
// of names it makes up) stand in for the front end.
#include <gtest/gtest.h>
#include <png.h>
#include <zlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "images/embedded_artwork.h"
#include "images/picture_files.h"
#include "png_reference.h"
#include "star_field_parts_fakes.h"
#include "stars/random_source.h"
#include "stars/star_field.h"

namespace {

using png_reference::TempPath;

// A width x height RGBA picture, opaque, written with libpng.
void WritePicture(const std::string& path, int width, int height) {
  FILE* file = std::fopen(path.c_str(), "wb");
  ASSERT_NE(file, nullptr);
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  png_init_io(png, file);
  png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  std::vector<uint8_t> row(static_cast<size_t>(width) * 4, 200);
  for (int y = 0; y < height; ++y) png_write_row(png, row.data());
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  std::fclose(file);
}

// Lists a real folder's *.png files; with a gate, waits for it to open first
// (a read stuck on a share that went offline).
class FolderLister final : public PngLister {
 public:
  FolderState ListPngFiles(const char* folder, PngFileVisitor* visitor) const override {
    while (gated.load()) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    std::error_code error;
    if (!std::filesystem::exists(folder, error)) return FolderState::kMissing;
    if (!std::filesystem::is_directory(folder, error)) return FolderState::kIsFile;
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
      if (entry.path().extension() == ".png" && entry.is_regular_file()) names.push_back(entry.path().filename());
    }
    std::sort(names.begin(), names.end());
    for (const std::string& name : names) {
      if (!visitor->File(name.c_str())) break;
    }
    return FolderState::kPresent;
  }
  char Separator() const override { return '/'; }
  LeadByteRule LeadBytes() const override { return NoLeadByte; }

  mutable std::atomic<bool> gated{false};
};

// The built-in star, packed as the build packs it: 72 and 144 pixel squares.
class PackedArtwork final : public ArtworkPayloads {
 public:
  PackedArtwork() {
    Pack(72, &star);
    Pack(144, &large);
  }
  Payload Find(BuiltInArt art) const override {
    const std::vector<uint8_t>* bytes = art == BuiltInArt::kStar ? &star : art == BuiltInArt::kStarLarge ? &large : nullptr;
    if (bytes == nullptr) return Payload{nullptr, 0};
    return Payload{bytes->data(), bytes->size()};
  }

 private:
  static void Pack(int side, std::vector<uint8_t>* out) {
    std::vector<uint32_t> pixels(static_cast<size_t>(side) * side, 0xFF8040C0u);
    uLongf length = compressBound(pixels.size() * 4);
    out->resize(length);
    compress(out->data(), &length, reinterpret_cast<const Bytef*>(pixels.data()), pixels.size() * 4);
    out->resize(length);
  }
  std::vector<uint8_t> star, large;
};

// Keeps the pictures and tells the fake host their frames.
class FakeShelf final : public PictureShelf {
 public:
  explicit FakeShelf(FakeHost& host) : host_(host) { host_.frames.clear(); }
  const PngLister& Lister() const override { return lister; }
  const ArtworkPayloads& Payloads() const override { return payloads; }
  bool Keep(PicturePtr picture) override {
    const FrameLayout& frames = picture->Frames();
    host_.frames.push_back(FrameShape{frames.frameWidth, frames.frameHeight});
    pictures.push_back(std::move(picture));
    return true;
  }
  int32_t Count() const override { return static_cast<int32_t>(pictures.size()); }
  void DropFirst(int32_t count) override {
    pictures.erase(pictures.begin(), pictures.begin() + count);
    host_.frames.erase(host_.frames.begin(), host_.frames.begin() + count);
  }
  void DropAll() override { DropFirst(Count()); }
  void PrepareArtwork() override { artworkMade = true; }
  void ReleaseArtwork() override { artworkMade = false; }

  FolderLister lister;
  PackedArtwork payloads;
  std::vector<PicturePtr> pictures;
  bool artworkMade = false;

 private:
  FakeHost& host_;
};

class WholeStarField : public ::testing::Test {
 protected:
  void SetUp() override {
    settings.quantity = 3;
    settings.moveRange = 70;
    SeedRandomSource(20261209u);
  }
  // A folder of the test's own with the pictures named, each 40 x 30.
  std::string Folder(const std::vector<std::string>& names) {
    std::string folder = TempPath(::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(folder);
    for (const std::string& name : names) WritePicture(folder + "/" + name, 40, 30);
    std::snprintf(settings.imageFolder, sizeof settings.imageFolder, "%s", folder.c_str());
    return folder;
  }
  SurfaceRecord& Surface(int k) { return *host.surfaces.at(k); }
  std::vector<Star*> Stars() const {
    std::vector<Star*> stars;
    const StarPool& pool = field.Pool();
    for (Star* s = pool.starListHead->next; s != pool.starListTail; s = s->next) stars.push_back(s);
    return stars;
  }
  // Ticks until nothing moves; the number of ticks, or -1 after 40.
  int TicksUntilStill() {
    for (int tick = 1; tick <= 40; ++tick) {
      field.MoveStar();
      if (!field.TimerRunning()) return tick;
    }
    return -1;
  }
  // Waits for the worker to tell the host, at most five seconds.
  bool LoadHeard() {
    for (int k = 0; k < 1000 && host.loadedSerial.load() == 0; ++k) {
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return host.loadedSerial.load() != 0;
  }

  SettingsRecord settings{};
  FakeHost host;
  FakeShelf shelf{host};
  StarField field{host, shelf, &settings};
};

TEST_F(WholeStarField, StartsWithTheBuiltInStarAndStopsWithNothingLeft) {
  StartReport report = field.StartPipwink();
  EXPECT_EQ(report.noStarPicture, 0);
  EXPECT_EQ(report.picturesPending, 0);
  EXPECT_TRUE(field.Reacting());
  EXPECT_TRUE(shelf.artworkMade);
  ASSERT_EQ(shelf.Count(), 3) << "the built-in star at 72, 48 and 32";
  EXPECT_EQ(host.frames[0].width, 72);
  EXPECT_EQ(host.frames[2].width, 32);
  EXPECT_EQ(shelf.pictures[0]->pixels[0], 0xFF8040C0u) << "the payload's pixels, unpacked";

  field.GenerateStars(InputKind::kClick, 400, 300);
  EXPECT_EQ(field.StarCount(), 3);
  field.StopPipwink();
  EXPECT_FALSE(field.Reacting());
  EXPECT_EQ(shelf.Count(), 0);
  EXPECT_FALSE(shelf.artworkMade);
  EXPECT_FALSE(host.ticking);
  EXPECT_EQ(host.trims, 1) << "the host gives memory back after a stop";
  for (const auto& surface : host.surfaces) EXPECT_TRUE(surface->closed);

  host.dpi = 144;
  field.StartPipwink();
  ASSERT_EQ(shelf.Count(), 3);
  EXPECT_EQ(host.frames[0].width, 108) << "150 %: reduced from the large star";
  EXPECT_EQ(host.frames[1].width, 72);
}

TEST_F(WholeStarField, AClickFliesAndRestsAPressCatchesADropJoinsTidyingAndErasing) {
  Folder({"a.png"});
  StartReport report = field.StartPipwink();
  EXPECT_EQ(report.folderUnusable, 0);
  ASSERT_EQ(shelf.Count(), 1) << "the folder's picture alone: no star kept the built-in one";
  EXPECT_EQ(host.frames[0].width, 40);

  settings.quantity = 4;
  field.GenerateStars(InputKind::kClick, 400, 300);
  ASSERT_EQ(host.surfaces.size(), 4u);
  EXPECT_TRUE(host.ticking);
  for (int k = 0; k < 4; ++k) EXPECT_TRUE(Surface(k).shown) << k;
  // Three stars are caught while they fly; the fourth flies on and rests.
  for (int k = 0; k < 3; ++k) {
    Surface(k).grabbed = true;
    field.GrabStar(Surface(k).handle);
  }
  EXPECT_GT(TicksUntilStill(), 0);
  EXPECT_FALSE(Surface(3).shown) << "a star at rest is hidden";
  for (int k = 0; k < 3; ++k) EXPECT_TRUE(Surface(k).shown) << "caught " << k;
  EXPECT_EQ(field.EnsureManyStars(), 1);

  // A drop onto a close caught star joins the two and shows their count.
  Surface(0).at = PixelPoint{100, 100};
  Surface(1).at = PixelPoint{110, 105};
  Surface(2).at = PixelPoint{700, 500};
  std::vector<Star*> stars = Stars();
  Star* group = field.ConnectStar(Surface(1).handle);
  EXPECT_EQ(group, stars[0]);
  EXPECT_EQ(group->count, 2);
  EXPECT_EQ(Surface(0).number, 2);
  EXPECT_TRUE(Surface(1).closed);
  EXPECT_EQ(field.ConnectStar(uintptr_t{9999}), nullptr) << "no star's surface";

  // Tidying joins every caught star of the picture, however far apart.
  TicksUntilStill();
  field.AllTogetherStar(Surface(2).handle);
  TicksUntilStill();
  int caught = 0;
  for (Star* star : Stars()) caught += star->inUse ? 1 : 0;
  EXPECT_EQ(caught, 1);
  EXPECT_EQ(Surface(0).number, 3);

  // Erasing all: the poof's five frames, then the surface goes.
  field.BeginBomb();
  EXPECT_TRUE(host.ticking);
  int lastFrame = -1;
  for (int tick = 0; tick < 12 && !Surface(0).closed; ++tick) {
    field.MoveStar();
    if (Surface(0).poofFrame >= 0 && Surface(0).poofFrame != lastFrame) {
      EXPECT_EQ(Surface(0).poofFrame, lastFrame + 1) << "the frames in order";
      lastFrame = Surface(0).poofFrame;
    }
  }
  EXPECT_EQ(lastFrame, 4);
  EXPECT_TRUE(Surface(0).closed);
}

TEST_F(WholeStarField, TheChaseGamePaysMoreForEachCatchOfTheNewestStar) {
  Folder({"a.png"});
  field.StartPipwink();
  settings.quantity = 1;
  int32_t expected = 1;
  for (int round = 0; round < 3; ++round) {
    field.GenerateStars(InputKind::kClick, 300 + 200 * round, 300);
    // A press on no star marks the newest as the target, then it is caught.
    field.GrabStar(uintptr_t{0});
    int newest = static_cast<int>(host.surfaces.size()) - 1;
    Surface(newest).grabbed = true;
    field.GrabStar(Surface(newest).handle);
    EXPECT_EQ(Stars().back()->count, expected) << "round " << round;
    expected *= 2;
  }
  EXPECT_EQ(field.Chase().chainValue, 8);
  field.GenerateStars(InputKind::kKey, 300, 300);
  EXPECT_EQ(field.Pool().lastGeneratedStar, nullptr) << "a key's stars are no target";
}

TEST_F(WholeStarField, AFolderLoadEndsThroughTheHostAndAStoppedOneIsNeverHeard) {
  Folder({"a.png", "b.png", "broken.png"});
  {
    FILE* broken = std::fopen((std::string(settings.imageFolder) + "/broken.png").c_str(), "wb");
    ASSERT_NE(broken, nullptr);
    std::fputs("not a picture", broken);
    std::fclose(broken);
  }
  host.hearsLoads = true;
  StartReport report = field.StartPipwink();
  EXPECT_EQ(report.picturesPending, 1);
  EXPECT_TRUE(field.PicturesPending());
  EXPECT_EQ(shelf.Count(), 3) << "the built-in star stands in meanwhile";
  field.GenerateStars(InputKind::kClick, 300, 300);  // stars of the stand-in
  ASSERT_TRUE(LoadHeard());
  const uintptr_t serial = host.loadedSerial.load();
  EXPECT_EQ(field.TakeLoadedPictures(serial + 1, &report), 0) << "another load's report";
  ASSERT_EQ(field.TakeLoadedPictures(serial, &report), 1);
  EXPECT_EQ(field.TakeLoadedPictures(serial, &report), 0) << "a load is taken once";
  EXPECT_EQ(report.someUnreadable, 1);
  EXPECT_EQ(report.folder.failedFiles, 1);
  EXPECT_STREQ(report.folder.failedNames[0], "broken.png");
  EXPECT_EQ(shelf.Count(), 5) << "the stand-ins stay while their stars fly";
  EXPECT_EQ(field.Pool().firstDrawnImage, 3);

  // A load stuck in a read: the stop waits about a second, then abandons it.
  host.loadedSerial.store(0);
  shelf.lister.gated.store(true);
  report = field.RestartPipwink();
  EXPECT_EQ(report.picturesPending, 1);
  auto before = std::chrono::steady_clock::now();
  field.StopPipwink();
  auto waited = std::chrono::steady_clock::now() - before;
  EXPECT_GE(waited, std::chrono::milliseconds(kStopWaitMs - 50));
  EXPECT_LT(waited, std::chrono::milliseconds(kStopWaitMs + 2000));
  EXPECT_EQ(FolderLoad::AbandonedWorkers(), 1);
  shelf.lister.gated.store(false);
  for (int k = 0; k < 1000 && FolderLoad::AbandonedWorkers() > 0; ++k) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  EXPECT_EQ(FolderLoad::AbandonedWorkers(), 0) << "the abandoned worker ended";
  EXPECT_EQ(host.loadedSerial.load(), 0u) << "a stopped load is never reported";
  EXPECT_EQ(shelf.Count(), 0);
}

// Thousands of pictures in one folder: the scan stops at the bound and says so.
TEST(PictureFolder, AFolderGivesAtMostTheBoundOfPicturesAndSaysSo) {
  std::string path = TempPath("one.png");
  WritePicture(path, 4, 4);
  class Repeating final : public PngLister {
   public:
    explicit Repeating(std::string folder) : folder_(std::move(folder)) {}
    FolderState ListPngFiles(const char*, PngFileVisitor* visitor) const override {
      for (int k = 0; k < kMaxFolderPictures + 5; ++k) {
        ++listed;
        if (!visitor->File("one.png")) break;
      }
      return FolderState::kPresent;
    }
    char Separator() const override { return '/'; }
    LeadByteRule LeadBytes() const override { return NoLeadByte; }
    mutable int listed = 0;

   private:
    std::string folder_;
  };
  std::string folder = std::filesystem::path(path).parent_path().string();
  Repeating lister(folder);
  ImageList<Picture> list;
  FolderScanReport report{};
  EXPECT_EQ(ScanPictureFolder(folder.c_str(), lister, &list, &report), 1);
  EXPECT_EQ(list.Count(), kMaxFolderPictures);
  EXPECT_EQ(report.picturesLeftOut, 1);
  EXPECT_EQ(report.failedFiles, 0);
  EXPECT_EQ(lister.listed, kMaxFolderPictures + 1) << "the listing ends at the first file beyond";
  ReleasePictures(&list);

  ImageList<Picture> few;
  FolderScanReport fewReport{};
  FolderLister real;
  EXPECT_EQ(ScanPictureFolder((folder + "/missing").c_str(), real, &few, &fewReport), 0);
  EXPECT_EQ(fewReport.folderMissing, 1);
  EXPECT_EQ(ScanPictureFolder(path.c_str(), real, &few, &fewReport), 0);
  EXPECT_EQ(fewReport.folderIsFile, 1);
  EXPECT_EQ(fewReport.picturesLeftOut, 0);
}

TEST(PictureFolder, MarkersCutAnimationsAndKeepSizes) {
  std::string strip = TempPath("spin_anm_fix.png");
  WritePicture(strip, 240, 48);
  PicturePtr spin = PictureFromFile(strip.c_str(), NoLeadByte);
  ASSERT_TRUE(spin);
  EXPECT_EQ(spin->width, 240);
  EXPECT_EQ(spin->Frames().frameCount, 5);
  EXPECT_EQ(spin->Frames().frameWidth, 48);
  std::string big = TempPath("big.png");
  WritePicture(big, 200, 100);
  PicturePtr reduced = PictureFromFile(big.c_str(), NoLeadByte);
  ASSERT_TRUE(reduced);
  EXPECT_EQ(reduced->width, 72);
  EXPECT_EQ(reduced->height, 35);
  EXPECT_FALSE(PictureFromFile(TempPath("none.png").c_str(), NoLeadByte));
  EXPECT_FALSE(UnpackPicture(Payload{reinterpret_cast<const uint8_t*>("xx"), 2}, 2, 2)) << "a broken payload";
}

// The payloads a front end without resources links are the program's own:
// each unpacks to its size, and the built-in star is made from them.
TEST(EmbeddedArtwork, EveryPayloadUnpacksToItsSize) {
  const ArtworkPayloads& art = EmbeddedArtwork();
  struct Expected {
    BuiltInArt art;
    int32_t width, height;
  };
  for (Expected e : {Expected{BuiltInArt::kStar, 72, 72}, Expected{BuiltInArt::kStarLarge, 144, 144},
                     Expected{BuiltInArt::kDigits, 240, 32}, Expected{BuiltInArt::kDigitsMask, 240, 32},
                     Expected{BuiltInArt::kPoof, 128, 640}, Expected{BuiltInArt::kVersion, 310, 230},
                     Expected{BuiltInArt::kVersionEn, 310, 230}}) {
    SCOPED_TRACE(static_cast<int>(e.art));
    EXPECT_TRUE(UnpackPicture(art.Find(e.art), e.width, e.height));
    EXPECT_FALSE(UnpackPicture(art.Find(e.art), e.width, e.height + 1)) << "a payload of another size";
  }
  ImageList<Picture> stars;
  ASSERT_EQ(BuiltInStarPictures(art, 192, &stars), 1);
  EXPECT_EQ(stars.Count(), 3);
  EXPECT_EQ(stars.Get(0)->width, 144) << "200 %: the large star itself";
  ReleasePictures(&stars);
}

}  // namespace
