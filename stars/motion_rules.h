// The arithmetic of star motion: start speed, start corner, one flight step,
// the halving that brings a star to rest, and the animation frame count.
#pragma once
#include <cstdint>

#include "base/dpi_scale.h"
#include "stars/input_kind.h"
#include "stars/star.h"

constexpr int32_t MINIMUM_SPEED = 10;
constexpr uint32_t STAR_TIMER_INTERVAL = 100;  // milliseconds

// A random integer in about -range/2 .. +range/2; 0 for range 0. A range
// beyond +-32767 is taken as +-32767, which keeps the divisor from reaching 0.
int32_t GetRandomSpeed(int32_t range);

// One random speed component from the moveRange setting, kept at least
// MINIMUM_SPEED in magnitude (a draw of 0 becomes +MINIMUM_SPEED).
int32_t RandomSpeedComponent(int32_t range);

// vx, then vy, from the moveRange setting, multiplied out from 96 DPI to dpi.
void SetInitialSpeed(Star* star, int32_t moveRange, int32_t dpi = kBaseDpi);

// Moves x, y from the event point to the corner where a picture of
// width x height starts, one pixel clear of the point in the direction of
// flight. Needs vx, vy set.
void SetInitialPosition(Star* star, int32_t width, int32_t height);

// What one tick does to a moving star's flight.
enum FlightStep : int {
  FLIGHT_WAITED = 0,  // a delay tick: nothing moved
  FLIGHT_MOVED = 1,   // moved and slowed, still flying
  FLIGHT_RESTED = 2,  // moved and slowed to a stop
};

// Counts down a delay, or moves by (vx, vy) and halves both (truncating);
// the star rests when either halved component reaches 0.
FlightStep StepFlight(Star* star);

// The frame after frameIndex, wrapping at frameCount.
int32_t NextFrameIndex(int32_t frameIndex, int32_t frameCount);

struct FrameOrigin {
  int32_t x;
  int32_t y;
};

// Where frame frameIndex of a width x height frame strip lies in its picture;
// a frameCount of 0 means a plain picture, always shown from (0, 0).
FrameOrigin FrameSourcePoint(int32_t frameCount, int32_t frameIndex, int32_t width, int32_t height,
                             int32_t framesSideBySide);

// Work per event stays bounded whatever the INI holds: one event makes at
// most this many stars, and the star field keeps at most kMaxStarWindows star
// windows (beyond it a flying star of the same picture is reused).
constexpr int32_t kMaxStarsPerEvent = 99;
constexpr int32_t kMaxStarWindows = 1000;

// How many stars an input event of that kind makes: a move makes one, the others make quantity, at most
// kMaxStarsPerEvent; none when quantity is 0 or less.
int32_t StarsForEvent(InputKind kind, int32_t quantity);
