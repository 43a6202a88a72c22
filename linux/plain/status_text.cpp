#include "linux/plain/status_text.h"

#include <cinttypes>
#include <cstdio>

std::string StatusText(int64_t pid, const StatusFigures& f) {
  char line[512];
  snprintf(line, sizeof line,
           "pid=%" PRId64 " reacting=%d stars=%d shown=%d flying=%d grabbed=%d timer=%d ticks=%" PRIu64
           " queued=%d loading=%d pictures=%d compositor=%d scale=%d clicks=%" PRIu64 " moves=%" PRIu64
           " keys=%" PRIu64 " ini=",
           pid, f.reacting ? 1 : 0, f.stars, f.shown, f.flying, f.grabbed, f.timer ? 1 : 0, f.ticks, f.queued,
           f.loading ? 1 : 0, f.pictures, f.compositor ? 1 : 0, f.scale, f.clicks, f.moves, f.keys);
  return line + f.ini + "\n";
}

std::string StarsText(const std::vector<StarLine>& stars) {
  std::string text;
  char line[256];
  for (const StarLine& s : stars) {
    snprintf(line, sizeof line, "window=0x%" PRIxPTR " x=%d y=%d w=%d h=%d shown=%d grabbed=%d flying=%d number=%d image=%d\n",
             s.window, s.x, s.y, s.w, s.h, s.shown ? 1 : 0, s.grabbed ? 1 : 0, s.flying ? 1 : 0, s.number, s.image);
    text += line;
  }
  return text + "end\n";
}
