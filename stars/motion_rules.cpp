#include "stars/motion_rules.h"

#include "stars/random_source.h"

int32_t GetRandomSpeed(int32_t range) {
  if (range == 0) return 0;
  if (range > kRandomMax) range = kRandomMax;
  if (range < -kRandomMax) range = -kRandomMax;
  int32_t d = kRandomMax / range;
  int32_t r = DrawRandom();
  return r / d - range / 2;
}

int32_t RandomSpeedComponent(int32_t range) {
  int32_t v = GetRandomSpeed(range);
  return v < 0 ? v - MINIMUM_SPEED : v + MINIMUM_SPEED;
}

void SetInitialSpeed(Star* star, int32_t moveRange, int32_t dpi) {
  star->vx = ScaleToDpi(RandomSpeedComponent(moveRange), dpi);
  star->vy = ScaleToDpi(RandomSpeedComponent(moveRange), dpi);
}

void SetInitialPosition(Star* star, int32_t width, int32_t height) {
  int32_t dx = star->vx > 0 ? 1 : -1 - width;
  int32_t dy = star->vy > 0 ? 1 : -1 - height;
  int32_t ax = star->vx < 0 ? -star->vx : star->vx;
  int32_t ay = star->vy < 0 ? -star->vy : star->vy;
  if (ax / 2 > ay) {
    // Mostly horizontal: centred on the point vertically, a quarter width ahead.
    dy += dy > 0 ? -(height / 2) : height / 2;
    dx += dx > 0 ? width / 4 : -(width / 4);
  } else if (ay / 2 > ax) {
    dx += dx > 0 ? -(width / 2) : width / 2;
    dy += dy > 0 ? height / 4 : -(height / 4);
  }
  star->x += dx;
  star->y += dy;
}

FlightStep StepFlight(Star* star) {
  if (star->delay != 0) {
    --star->delay;
    return FLIGHT_WAITED;
  }
  star->x += star->vx;
  star->y += star->vy;
  star->vx /= 2;
  star->vy /= 2;
  return (star->vx == 0 || star->vy == 0) ? FLIGHT_RESTED : FLIGHT_MOVED;
}

int32_t NextFrameIndex(int32_t frameIndex, int32_t frameCount) {
  int32_t next = frameIndex + 1;
  return next >= frameCount ? 0 : next;
}

FrameOrigin FrameSourcePoint(int32_t frameCount, int32_t frameIndex, int32_t width, int32_t height,
                             int32_t framesSideBySide) {
  if (frameCount == 0) return FrameOrigin{0, 0};
  if (framesSideBySide) return FrameOrigin{frameIndex * width, 0};
  return FrameOrigin{0, frameIndex * height};
}

int32_t StarsForEvent(InputKind kind, int32_t quantity) {
  if (quantity <= 0) return 0;
  if (kind == InputKind::kMove) return 1;
  return quantity > kMaxStarsPerEvent ? kMaxStarsPerEvent : quantity;
}
