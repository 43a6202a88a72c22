// Peak memory and time of loading one picture file the way the star field
// does, in a process of its own, run by hand under Wine:
//   wine picture_memory.exe star FILE.png    the picture made into a star
//   wine picture_memory.exe whole FILE.png   the reference: the whole picture
//                                            decoded at once (LoadPngFile)
//   wine picture_memory.exe none FILE.png    the floor: the process alone
// Prints the rise of the peak working set and of the peak private (pagefile)
// bytes over what they were before the load, the time it took, and the
// sizes of the file, of its decoded pixels and of the bitmap that is kept.
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "images/win32/image_set.h"
#include "images/png_file.h"
#include "images/win32/star_images.h"

namespace {

PROCESS_MEMORY_COUNTERS_EX Counters() {
  PROCESS_MEMORY_COUNTERS_EX counters{};
  counters.cb = sizeof counters;
  GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                       sizeof counters);
  return counters;
}

double MiB(SIZE_T bytes) { return static_cast<double>(bytes) / (1 << 20); }

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::printf("usage: picture_memory.exe star|whole|none FILE.png\n");
    return 64;
  }
  const char* mode = argv[1];
  const char* path = argv[2];
  ImageList<ImageSet> list;
  const PROCESS_MEMORY_COUNTERS_EX before = Counters();
  LARGE_INTEGER frequency, start, end;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  int32_t width = 0, height = 0, channels = 0, keptWidth = 0, keptHeight = 0;
  if (std::strcmp(mode, "star") == 0) {
    if (!PrepairStarImageByFile(path, &list)) {
      std::printf("not loaded: %s\n", path);
      return 1;
    }
    keptWidth = list.Get(0)->frameWidth * list.Get(0)->frameCount;
    keptHeight = list.Get(0)->frameHeight;
  } else if (std::strcmp(mode, "whole") == 0) {
    uint8_t* pixels = nullptr;
    if (!LoadPngFile(path, &pixels, &width, &height, &channels)) {
      std::printf("not decoded: %s\n", path);
      return 1;
    }
    std::free(pixels);
  } else if (std::strcmp(mode, "none") != 0) {
    std::printf("unknown mode %s\n", mode);
    return 64;
  }
  QueryPerformanceCounter(&end);
  const PROCESS_MEMORY_COUNTERS_EX after = Counters();
  std::printf("%s: peak working set +%.1f MiB (%.1f -> %.1f), peak private +%.1f MiB (%.1f -> %.1f), %.0f ms",
              mode, MiB(after.PeakWorkingSetSize - before.PeakWorkingSetSize), MiB(before.PeakWorkingSetSize),
              MiB(after.PeakWorkingSetSize), MiB(after.PeakPagefileUsage - before.PeakPagefileUsage),
              MiB(before.PeakPagefileUsage), MiB(after.PeakPagefileUsage),
              static_cast<double>(end.QuadPart - start.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart));
  if (keptWidth > 0) {
    std::printf(", kept bitmap %dx%d = %.1f KiB", keptWidth, keptHeight, keptWidth * keptHeight * 4 / 1024.0);
  }
  if (width > 0) {
    std::printf(", decoded %dx%dx%d = %.1f MiB", width, height, channels,
                MiB(static_cast<SIZE_T>(width) * height * channels));
  }
  std::printf("\n");
  ReleaseImageList(&list);
  return 0;
}
