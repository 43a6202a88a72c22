// Image pipeline figures: decode + convert against libpng's own RGBA read,
// and the reductions the program asks for.
#include <benchmark/benchmark.h>
#include <png.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "images/alpha_pixels.h"
#include "images/png_file.h"
#include "images/reduce.h"

namespace {

// A picture with smooth colour, a noisy edge and soft alpha, so the file
// compresses like artwork rather than like a flat fill.
std::string MakeTestPng(int side) {
  std::string path = (std::filesystem::temp_directory_path() /
                      ("tovik2_bench_" + std::to_string(side) + ".png")).string();
  if (std::filesystem::exists(path)) return path;
  std::vector<uint8_t> rgba(static_cast<size_t>(side) * side * 4);
  uint32_t noise = 12345;
  for (int y = 0; y < side; ++y) {
    for (int x = 0; x < side; ++x) {
      noise = noise * 1103515245u + 12345u;
      uint8_t* p = &rgba[(static_cast<size_t>(y) * side + x) * 4];
      p[0] = static_cast<uint8_t>(x * 255 / side);
      p[1] = static_cast<uint8_t>(y * 255 / side);
      p[2] = static_cast<uint8_t>((x + y) & 0xFF);
      int dx = x - side / 2, dy = y - side / 2;
      int r = side / 3;
      p[3] = dx * dx + dy * dy < r * r ? 255 : static_cast<uint8_t>((noise >> 16) & 0x7F);
    }
  }
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = side;
  image.height = side;
  image.format = PNG_FORMAT_RGBA;
  png_image_write_to_file(&image, path.c_str(), 0, rgba.data(), 0, nullptr);
  return path;
}

void BM_LoadPngAndConvert(benchmark::State& state) {
  std::string path = MakeTestPng(static_cast<int>(state.range(0)));
  std::vector<uint8_t> bitmap(AlphaPixelBytes(static_cast<int32_t>(state.range(0)),
                                              static_cast<int32_t>(state.range(0))));
  for (auto _ : state) {
    uint8_t* decoded = nullptr;
    int32_t w, h, c;
    if (!LoadPngFile(path.c_str(), &decoded, &w, &h, &c)) {
      state.SkipWithError("decode failed");
      break;
    }
    ConvertToAlphaPixels(bitmap.data(), decoded, w, h, c);
    free(decoded);
    benchmark::DoNotOptimize(bitmap.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bitmap.size()));
}
BENCHMARK(BM_LoadPngAndConvert)->Arg(512)->Arg(2048)->Unit(benchmark::kMillisecond);

// libpng's simplified read of the same file into 8-bit RGBA, for comparison.
void BM_LibpngReadRgba(benchmark::State& state) {
  std::string path = MakeTestPng(static_cast<int>(state.range(0)));
  std::vector<uint8_t> buffer(static_cast<size_t>(state.range(0)) * state.range(0) * 4);
  for (auto _ : state) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) {
      state.SkipWithError("libpng read failed");
      break;
    }
    image.format = PNG_FORMAT_RGBA;
    png_image_finish_read(&image, nullptr, buffer.data(), 0, nullptr);
    benchmark::DoNotOptimize(buffer.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(buffer.size()));
}
BENCHMARK(BM_LibpngReadRgba)->Arg(512)->Arg(2048)->Unit(benchmark::kMillisecond);

void BM_ReduceImage(benchmark::State& state) {
  int32_t sw = static_cast<int32_t>(state.range(0)), sh = static_cast<int32_t>(state.range(1));
  int32_t tw = static_cast<int32_t>(state.range(2)), th = static_cast<int32_t>(state.range(3));
  std::vector<uint32_t> source(static_cast<size_t>(sw) * sh), target(static_cast<size_t>(tw) * th);
  for (size_t i = 0; i < source.size(); ++i) source[i] = static_cast<uint32_t>(i * 2654435761u) | 0xFF000000u;
  for (auto _ : state) {
    ReduceImage(target.data(), source.data(), tw, th, sw, sh);
    benchmark::DoNotOptimize(target.data());
  }
  state.counters["Mpixel/s"] = benchmark::Counter(
      static_cast<double>(state.iterations()) * sw * sh / 1e6, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ReduceImage)
    ->Args({2048, 2048, 72, 72})
    ->Args({72, 72, 48, 48})
    ->Args({240, 32, 120, 16})
    ->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
