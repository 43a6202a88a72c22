// The packer, run as the build runs it.
#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/wait.h>
#include <filesystem>
#include <string>
#include <vector>

#include "images/alpha_pixels.h"
#include "images/png_file.h"
#include "images/reduce.h"
#include "tests/native/png_reference.h"

#ifdef TOVIK2_PNGPACK

namespace {

struct PackRun {
  int exitCode;
  std::string out;
  std::string err;
};

PackRun RunPack(const std::string& arguments) {
  std::string errPath = png_reference::TempPath("pngpack_err.txt");
  std::string command = std::string("\"") + TOVIK2_PNGPACK + "\" " + arguments + " 2>\"" + errPath + "\"";
  PackRun run{-1, "", ""};
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return run;
  char buffer[256];
  while (fgets(buffer, sizeof buffer, pipe) != nullptr) run.out += buffer;
  int status = pclose(pipe);
  run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  std::vector<uint8_t> err = png_reference::ReadFileBytes(errPath);
  run.err.assign(err.begin(), err.end());
  return run;
}

const std::string kSuite = std::string(TOVIK2_LIBPNG_SOURCE) + "/contrib/pngsuite/";

// What the program itself makes of the file: loaded and converted.
std::vector<uint8_t> Converted(const std::string& path, int32_t* width, int32_t* height) {
  uint8_t* decoded = nullptr;
  int32_t channels = 0;
  EXPECT_EQ(LoadPngFile(path.c_str(), &decoded, width, height, &channels), 1);
  std::vector<uint8_t> pixels(AlphaPixelBytes(*width, *height));
  EXPECT_EQ(ConvertToAlphaPixels(pixels.data(), decoded, *width, *height, channels), 1);
  free(decoded);
  return pixels;
}

}  // namespace

TEST(PngPack, WritesTheConvertedPixelsCompressedOrRaw) {
  std::string in = kSuite + "basn6a08.png";
  std::string out = png_reference::TempPath("pack.bin");
  int32_t width = 0, height = 0;
  std::vector<uint8_t> expected = Converted(in, &width, &height);

  PackRun packed = RunPack("\"" + in + "\" \"" + out + "\"");
  ASSERT_EQ(packed.exitCode, 0) << packed.err;
  EXPECT_EQ(packed.out, "32x32 4\n");
  std::vector<uint8_t> payload = png_reference::ReadFileBytes(out);
  std::vector<uint8_t> inflated(expected.size() + 16);
  uLongf length = inflated.size();
  ASSERT_EQ(uncompress(inflated.data(), &length, payload.data(), payload.size()), Z_OK);
  inflated.resize(length);
  EXPECT_EQ(inflated, expected);

  PackRun raw = RunPack("--raw \"" + in + "\" \"" + out + "\"");
  ASSERT_EQ(raw.exitCode, 0) << raw.err;
  EXPECT_EQ(png_reference::ReadFileBytes(out), expected);

  // A colour-keyed RGB file reports its 3 channels.
  PackRun rgb = RunPack("\"" + kSuite + "basn2c08.png\" \"" + out + "\" --raw");
  EXPECT_EQ(rgb.out, "32x32 3\n");
}

TEST(PngPack, ReducesLikeTheProgram) {
  std::string in = kSuite + "basn6a08.png";
  std::string out = png_reference::TempPath("pack_small.bin");
  int32_t width = 0, height = 0;
  std::vector<uint8_t> full = Converted(in, &width, &height);
  std::vector<uint32_t> source(full.size() / 4), expected(20 * 12);
  memcpy(source.data(), full.data(), full.size());
  ASSERT_EQ(ReduceImage(expected.data(), source.data(), 20, 12, width, height), 1);

  PackRun run = RunPack("\"" + in + "\" \"" + out + "\" --raw --reduce 20x12");
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, "20x12 4\n");
  std::vector<uint8_t> written = png_reference::ReadFileBytes(out);
  ASSERT_EQ(written.size(), expected.size() * 4);
  EXPECT_EQ(memcmp(written.data(), expected.data(), written.size()), 0);

  EXPECT_EQ(RunPack("\"" + in + "\" \"" + out + "\" --reduce 64x8").exitCode, 1);
  EXPECT_EQ(RunPack("\"" + in + "\" \"" + out + "\" --reduce 0x8").exitCode, 2);
}

TEST(PngPack, UnloadableFileGivesOneLineReasonAndNoOutput) {
  std::string bad = png_reference::TempPath("not_png.png");
  std::string out = png_reference::TempPath("pack_none.bin");
  std::filesystem::remove(out);
  FILE* file = fopen(bad.c_str(), "wb");
  ASSERT_NE(file, nullptr);
  fputs("plain text\n", file);
  fclose(file);

  PackRun run = RunPack("\"" + bad + "\" \"" + out + "\"");
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.out, "");
  ASSERT_FALSE(run.err.empty());
  EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << run.err;
  EXPECT_NE(run.err.find("not a PNG file"), std::string::npos) << run.err;
  EXPECT_FALSE(std::filesystem::exists(out));

  EXPECT_EQ(RunPack("\"" + bad + "\"").exitCode, 2);
}

#endif
