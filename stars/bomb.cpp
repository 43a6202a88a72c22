#include "stars/bomb_rules.h"
#include "stars/pupil_window.h"
#include "stars/star_field.h"

namespace {

bool IsGrabbed(const Star* star) {
  return star->inUse && star->window != nullptr && star->window->IsGrabbed();
}

}  // namespace

// Turns the window into poof frame `frame`, centred on the star's picture when
// the poof begins. Without poof artwork the star keeps its own picture, number
// included, until its countdown ends.
void StarField::ShowPoofFrame(Star* star, int32_t frame) {
  PupilWindow* window = star->window;
  const MemoryBitmap* poof = artwork.PoofFrame(frame);
  if (window == nullptr || poof == nullptr) return;
  const FrameSize& poofSize = artwork.poofFrameSize;
  window->ReleaseOwnPicture();
  window->RewindAnimation();
  window->StopAnimation();  // the poof is shown as still pictures, one per tick
  POINT position = window->GetPosition();
  SIZE size = window->GetSize();
  if (star->bombCountdown == kPoofTicks) {
    // A window that is already poof-sized (re-armed mid-poof) stays put.
    PixelPoint corner = PoofCorner(PixelPoint{position.x, position.y}, size.cx, size.cy,
                                   poofSize.width, poofSize.height);
    position = POINT{corner.x, corner.y};
  }
  // Place and size the window in one step, so that it never shows the poof
  // anywhere but centred on the star; then give it the frame.
  SetWindowPos(window->Handle(), nullptr, position.x, position.y, poofSize.width, poofSize.height,
               SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
  window->SetImage(poof->DC(), poofSize.width, poofSize.height);
  window->MoveTo(position);  // a hidden window was parked by SetImage
}

void StarField::BombStar(Star* star) {
  if (star == nullptr || !star->inUse) return;
  star->bombing = 1;
  star->bombCountdown = kPoofTicks;
  StartMotion();
}

void StarField::BeginBomb() {
  if (starListHead == nullptr) return;
  int32_t grabbedStars = 0;
  for (Star* s = starListHead->next; s != starListTail; s = s->next) {
    if (IsGrabbed(s)) ++grabbedStars;
  }
  int32_t countdown = grabbedStars + kPoofTicks;
  for (Star* s = starListHead->next; s != starListTail; s = s->next) {
    if (!IsGrabbed(s)) continue;
    s->bombCountdown = countdown--;
    s->bombing = 1;
  }
  if (grabbedStars > 0) StartMotion();
}

void StarField::StepBomb(Star* star) {
  if (star == nullptr || !star->bombing) return;
  if (star->bombCountdown <= 0) {
    DestroyStar(star);
    return;
  }
  int32_t frame = PoofFrameAt(star->bombCountdown);
  if (frame >= 0) ShowPoofFrame(star, frame);
  --star->bombCountdown;
}
