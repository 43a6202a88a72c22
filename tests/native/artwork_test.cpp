// The committed artwork sources: sizes the resources need, and a version
// picture drawn for the version the project defines.
#include <gtest/gtest.h>
#include <png.h>

#include <cstdio>
#include <string>

namespace {

struct PngFacts {
  bool read = false;
  png_uint_32 width = 0;
  png_uint_32 height = 0;
  std::string version;  // the "Version" text chunk, if any
};

PngFacts ReadFacts(const std::string& path) {
  PngFacts facts;
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return facts;
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png)) == 0) {
    png_init_io(png, file);
    png_read_info(png, info);
    facts.width = png_get_image_width(png, info);
    facts.height = png_get_image_height(png, info);
    png_textp texts = nullptr;
    int count = 0;
    png_get_text(png, info, &texts, &count);
    for (int i = 0; i < count; ++i) {
      if (std::string(texts[i].key) == "Version") facts.version = texts[i].text;
    }
    facts.read = true;
  }
  png_destroy_read_struct(&png, &info, nullptr);
  std::fclose(file);
  return facts;
}

std::string Art(const char* name) { return std::string(TOVIK2_SOURCE_DIR) + "/res/art/" + name; }

TEST(Artwork, EveryPictureHasTheSizeItsResourceNeeds) {
  const struct { const char* name; png_uint_32 width, height; } pictures[] = {
      {"star.png", 72, 72},      {"digits.png", 240, 32}, {"digits_mask.png", 240, 32},
      {"poof.png", 128, 640},    {"version.png", 310, 230}, {"cursor.png", 32, 32},
      {"tray.png", 16, 16},
  };
  for (const auto& p : pictures) {
    PngFacts facts = ReadFacts(Art(p.name));
    ASSERT_TRUE(facts.read) << p.name;
    EXPECT_EQ(facts.width, p.width) << p.name;
    EXPECT_EQ(facts.height, p.height) << p.name;
  }
}

TEST(Artwork, VersionPictureShowsTheProjectVersion) {
  PngFacts facts = ReadFacts(Art("version.png"));
  ASSERT_TRUE(facts.read);
  EXPECT_EQ(facts.version, TOVIK2_VERSION_TEXT)
      << "the version picture is older than the project's version: run tools/art/make_art.py";
}

}  // namespace
