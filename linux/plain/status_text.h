// The status answer's text: what the program says of itself, one line of
// key=value figures, or a line per star and "end". The keys and their order
// are a contract with the tests.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct StatusFigures {
  bool reacting = false;
  int32_t stars = 0;  // in the list
  int32_t shown = 0;  // star windows shown
  int32_t flying = 0;
  int32_t grabbed = 0;
  bool timer = false;  // motion ticks running
  uint64_t ticks = 0;  // ticks handled so far
  int32_t queued = 0;  // input events waiting
  bool loading = false;
  int32_t pictures = 0;
  bool compositor = false;
  int32_t scale = 100;  // percent
  uint64_t clicks = 0;
  uint64_t moves = 0;
  uint64_t keys = 0;
  std::string ini;
};

struct StarLine {
  uintptr_t window = 0;
  int32_t x = 0;
  int32_t y = 0;
  int32_t w = 0;
  int32_t h = 0;
  bool shown = false;
  bool grabbed = false;
  bool flying = false;
  int32_t number = 0;
  int32_t image = 0;
};

// The answers' text, apart from the socket.
std::string StatusText(int64_t pid, const StatusFigures& figures);
std::string StarsText(const std::vector<StarLine>& stars);
