// What the census library (census.cpp) writes into the probe's named mapping.
#pragma once

#include <cstdint>

inline constexpr char kCensusMappingName[] = "tovik2_probe_census";
inline constexpr uint32_t kCensusDone = 0x43454e53;  // "CENS"
inline constexpr int kCensusGdiTypes = 16;           // OBJ_PEN (1) .. OBJ_COLORSPACE (14)
inline constexpr int kCensusMenuText = 1024;

// What the probe asks the library for.
enum CensusRequest : uint32_t {
  CENSUS_COUNT = 0,  // GDI objects and heap bytes
  CENSUS_MENU = 1,   // the items of the process's shown popup menu
};

struct CensusRecord {
  uint32_t request;  // a CensusRequest, set by the probe
  uint32_t done;     // kCensusDone once the answer is written
  int32_t gdiObjects;
  int32_t gdiByType[kCensusGdiTypes];
  int32_t heaps;
  uint64_t heapBusyBytes;
  uint64_t heapBusyBlocks;
  // The shown menu's items in UTF-8, one a line, "-" for a separator; empty
  // when the process shows no menu.
  char menuItems[kCensusMenuText];
};
