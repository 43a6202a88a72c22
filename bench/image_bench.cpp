// Image pipeline figures: decode + convert against libpng's own RGBA read,
// the reductions the program asks for, and a large picture made into a star
// (the whole picture decoded, converted and reduced, against rows reduced as
// they are decoded), each with its peak memory beside libpng's full read.
#include <benchmark/benchmark.h>
#include <png.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "images/alpha_pixels.h"
#include "images/png_file.h"
#include "images/reduce.h"
#include "images/star_image_rules.h"
#include "images/star_pixels.h"

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

// The decode benchmarks time the steady state, each side alike: untimed calls
// first, so that no figure counts the first touch of memory the process then
// reuses call after call. The reference's buffer is made before its loop,
// while the picture LoadPngFile hands out (and the star target's pixels) are
// asked for inside it; a page's first touch is a fault, about 12 us a page on
// the virtual machine these figures were taken on, 48 ms for a 2048 x 2048
// picture, which once in a run of a few calls outweighed everything the
// comparison is about. Two calls: glibc gives the first call's 16 MiB back to
// the system (and then raises its threshold for doing so), the second's stays.
template <typename Work>
void WarmUpThenTime(benchmark::State& state, Work work) {
  for (int warmUp = 0; warmUp < 2; ++warmUp) {
    if (!work()) {
      state.SkipWithError("decode failed");
      return;
    }
  }
  for (auto _ : state) {
    if (!work()) {
      state.SkipWithError("decode failed");
      break;
    }
  }
}

void BM_LoadPngAndConvert(benchmark::State& state) {
  std::string path = MakeTestPng(static_cast<int>(state.range(0)));
  std::vector<uint8_t> bitmap(AlphaPixelBytes(static_cast<int32_t>(state.range(0)),
                                              static_cast<int32_t>(state.range(0))));
  WarmUpThenTime(state, [&] {
    uint8_t* decoded = nullptr;
    int32_t w, h, c;
    if (!LoadPngFile(path.c_str(), &decoded, &w, &h, &c)) return false;
    ConvertToAlphaPixels(bitmap.data(), decoded, w, h, c);
    free(decoded);
    benchmark::DoNotOptimize(bitmap.data());
    return true;
  });
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bitmap.size()));
}
BENCHMARK(BM_LoadPngAndConvert)->Arg(512)->Arg(2048)->Unit(benchmark::kMillisecond);

// libpng's simplified read of the same file into 8-bit RGBA, for comparison.
void BM_LibpngReadRgba(benchmark::State& state) {
  std::string path = MakeTestPng(static_cast<int>(state.range(0)));
  std::vector<uint8_t> buffer(static_cast<size_t>(state.range(0)) * state.range(0) * 4);
  WarmUpThenTime(state, [&] {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return false;
    image.format = PNG_FORMAT_RGBA;
    png_image_finish_read(&image, nullptr, buffer.data(), 0, nullptr);
    benchmark::DoNotOptimize(buffer.data());
    return true;
  });
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

// A width x height RGBA picture written row by row (so making it never holds
// it whole): smooth colour, a disc of opaque pixels on soft alpha. Like a
// large drawing, it compresses well: 16384 x 16384 is a few megabytes.
std::string MakeLargePng(int width, int height) {
  std::string path = (std::filesystem::temp_directory_path() /
                      ("tovik2_bench_large_" + std::to_string(width) + "x" + std::to_string(height) + ".png"))
                         .string();
  if (std::filesystem::exists(path)) return path;
  FILE* file = fopen(path.c_str(), "wb");
  if (file == nullptr) return path;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  png_init_io(png, file);
  png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  std::vector<uint8_t> row(static_cast<size_t>(width) * 4);
  int64_t r = std::min(width, height) / 3;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      uint8_t* p = &row[static_cast<size_t>(x) * 4];
      int64_t dx = x - width / 2, dy = y - height / 2;
      p[0] = static_cast<uint8_t>(static_cast<int64_t>(x) * 255 / width);
      p[1] = static_cast<uint8_t>(static_cast<int64_t>(y) * 255 / height);
      p[2] = 128;
      p[3] = dx * dx + dy * dy < r * r ? 255 : 64;
    }
    png_write_row(png, row.data());
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  fclose(file);
  return path;
}

// Pixel memory from the heap, written in full like a bitmap.
class HeapTarget : public PixelTarget {
 public:
  uint32_t* Allocate(int32_t width, int32_t height) override {
    pixels.assign(static_cast<size_t>(width) * height, 0);
    return pixels.data();
  }
  std::vector<uint32_t> pixels;
};

// The program's own road for a picture kept at its size: rows converted into
// the bitmap's memory as they are decoded (beside libpng's read above).
void BM_LoadStarPixelsAtOwnSize(benchmark::State& state) {
  std::string path = MakeTestPng(static_cast<int>(state.range(0)));
  HeapTarget target;
  WarmUpThenTime(state, [&] {
    int32_t w = 0, h = 0;
    if (!LoadStarPixels(path.c_str(), 1, &target, &w, &h, nullptr)) return false;
    benchmark::DoNotOptimize(target.pixels.data());
    return true;
  });
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(0) * state.range(0) * 4);
}
BENCHMARK(BM_LoadStarPixelsAtOwnSize)->Arg(512)->Arg(2048)->Unit(benchmark::kMillisecond);

// The road a star picture took before: the whole picture decoded, converted
// into a whole alpha bitmap, then reduced to fit 72 x 72.
void WholeThenReduce(const std::string& path) {
  uint8_t* decoded = nullptr;
  int32_t w = 0, h = 0, c = 0;
  if (!LoadPngFile(path.c_str(), &decoded, &w, &h, &c)) return;
  std::vector<uint32_t> whole(static_cast<size_t>(w) * h);
  ConvertToAlphaPixels(reinterpret_cast<uint8_t*>(whole.data()), decoded, w, h, c);
  free(decoded);
  PictureSize size = ReducedStarSize(w, h);
  std::vector<uint32_t> star(static_cast<size_t>(size.width) * size.height);
  ReduceImage(star.data(), whole.data(), size.width, size.height, w, h);
  benchmark::DoNotOptimize(star.data());
}

// The road it takes now: rows converted and reduced as they are decoded.
void RowByRow(const std::string& path) {
  HeapTarget target;
  int32_t w = 0, h = 0;
  LoadStarPixels(path.c_str(), 0, &target, &w, &h, nullptr);
  benchmark::DoNotOptimize(target.pixels.data());
}

// The reference: libpng's own simplified read of the whole picture into RGBA.
void LibpngWhole(const std::string& path) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) return;
  image.format = PNG_FORMAT_RGBA;
  std::vector<uint8_t> buffer(PNG_IMAGE_SIZE(image));
  png_image_finish_read(&image, nullptr, buffer.data(), 0, nullptr);
  benchmark::DoNotOptimize(buffer.data());
}

// The works whose peak memory is measured, by the name a measuring process is
// started with.
void Nothing(const std::string&) {}
struct NamedWork {
  const char* name;
  void (*work)(const std::string&);
};
constexpr NamedWork kWorks[] = {{"nothing", Nothing}, {"libpng", LibpngWhole}, {"whole", WholeThenReduce},
                                {"rows", RowByRow}};

// The peak resident memory of one run of a work, in MiB, less that of a
// process that does nothing. Each runs in a process of its own, started
// afresh, so that no memory this process already holds hides what the work
// makes resident.
double PeakMiB(const char* work, const std::string& path) {
  char self[4096] = {};
  if (readlink("/proc/self/exe", self, sizeof self - 1) <= 0) return 0.0;
  auto peakKiB = [&](const char* name) {
    std::string command = "'" + std::string(self) + "' --peak-of " + std::string(name) + " '" + path + "'";
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return 0.0;
    double kib = 0;
    if (fscanf(pipe, "%lf", &kib) != 1) kib = 0;
    pclose(pipe);
    return kib;
  };
  return (peakKiB(work) - peakKiB("nothing")) / 1024.0;
}

// In a measuring process: runs the work once and prints the process's peak
// resident memory (VmHWM, kB).
int MeasurePeak(const char* name, const std::string& path) {
  for (const NamedWork& w : kWorks) {
    if (std::string(w.name) != name) continue;
    w.work(path);
    FILE* status = fopen("/proc/self/status", "r");
    char line[256];
    while (status != nullptr && fgets(line, sizeof line, status) != nullptr) {
      if (std::strncmp(line, "VmHWM:", 6) == 0) std::printf("%s", line + 6);
    }
    if (status != nullptr) fclose(status);
    return 0;
  }
  return 1;
}

template <void (*Work)(const std::string&)>
void BM_LargePictureToStar(benchmark::State& state) {
  std::string path = MakeLargePng(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  for (auto _ : state) Work(path);
  const char* name = "nothing";
  for (const NamedWork& w : kWorks) {
    if (w.work == Work) name = w.name;
  }
  state.counters["peak_MiB"] = PeakMiB(name, path);
  state.counters["file_MiB"] = static_cast<double>(std::filesystem::file_size(path)) / (1 << 20);
}
#define LARGE_PICTURES ->Args({1920, 1080})->Args({4096, 4096})->Args({16384, 16384})->Unit(benchmark::kMillisecond)
BENCHMARK_TEMPLATE(BM_LargePictureToStar, LibpngWhole) LARGE_PICTURES;
BENCHMARK_TEMPLATE(BM_LargePictureToStar, WholeThenReduce) LARGE_PICTURES;
BENCHMARK_TEMPLATE(BM_LargePictureToStar, RowByRow) LARGE_PICTURES;

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::string(argv[1]) == "--peak-of") return MeasurePeak(argv[2], argv[3]);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
