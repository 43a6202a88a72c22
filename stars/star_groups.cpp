#include "stars/star_groups.h"

#include "stars/group_rules.h"

namespace {

PixelPoint CentreOf(const Star* star, const FrameShape& frame) {
  PixelPoint corner = star->window != nullptr ? star->window->Position() : PixelPoint{0, 0};
  return PixelPoint{corner.x + frame.width / 2, corner.y + frame.height / 2};
}

}  // namespace

// The first grabbed star of the dropped star's picture, in list order, whose
// centre lies close enough; null if none does.
Star* StarGroups::FindPartner(const Star* dropped) const {
  FrameShape frame{};
  if (!host_.PictureFrame(dropped->imageIndex, &frame)) return nullptr;
  PixelPoint centre = CentreOf(dropped, frame);
  for (Star* t = pool_.starListHead->next; t != pool_.starListTail; t = t->next) {
    if (t == dropped || !StarPool::IsGrabbed(t) || t->imageIndex != dropped->imageIndex) continue;
    PixelPoint other = CentreOf(t, frame);
    if (CentresJoin(static_cast<int64_t>(centre.x) - other.x, static_cast<int64_t>(centre.y) - other.y,
                    frame.width, frame.height)) {
      return t;
    }
  }
  return nullptr;
}

Star* StarGroups::ConnectStar(Star* dropped) {
  if (dropped == nullptr) return nullptr;
  // A drop may set things going (a group past 999 goes off); the ticks stop
  // again at the next one when nothing moves.
  ticker_.Start();
  Star* group = FindPartner(dropped);
  if (group == nullptr) return dropped;
  group->count += dropped->count;
  numbers_.SetStarNumber(group, CheckMaxNumber(group->count));
  pool_.DestroyStar(dropped);
  if (group->count > 999) bombs_.BeginBomb();
  return group;
}

void StarGroups::AllTogetherStar() {
  if (pool_.starListHead == nullptr) return;
  for (Star* a = pool_.starListHead->next; a != pool_.starListTail; a = a->next) {
    if (!StarPool::IsGrabbed(a)) continue;
    Star* b = a->next;
    while (b != pool_.starListTail) {
      Star* next = b->next;  // b may be destroyed
      if (StarPool::IsGrabbed(b) && b->imageIndex == a->imageIndex) {
        a->count += b->count;
        numbers_.SetStarNumber(a, CheckMaxNumber(a->count));
        pool_.DestroyStar(b);
      }
      b = next;
    }
  }
}
