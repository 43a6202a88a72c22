// What the census library (census.cpp) writes into the probe's named mapping.
#pragma once

#include <cstdint>

inline constexpr char kCensusMappingName[] = "tovik2_probe_census";
inline constexpr uint32_t kCensusDone = 0x43454e53;  // "CENS"
inline constexpr int kCensusGdiTypes = 16;           // OBJ_PEN (1) .. OBJ_COLORSPACE (14)

struct CensusRecord {
  uint32_t done;  // kCensusDone once the census is written
  int32_t gdiObjects;
  int32_t gdiByType[kCensusGdiTypes];
  int32_t heaps;
  uint64_t heapBusyBytes;
  uint64_t heapBusyBlocks;
};
