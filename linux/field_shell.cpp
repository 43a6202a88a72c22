#include "linux/field_shell.h"

#include <cstdlib>

#include "hook/hook_rules.h"
#include "linux/x_star_surface.h"

FieldShell::FieldShell(XDisplay& display, const SettingsRecord& settings)
    : display_(display),
      settings_(settings),
      shelf_(display),
      host_(display, shelf_.Pictures(), shelf_.Artwork(), this,
            [this] {
              ++ticks_;
              field_.MoveStar();
            }),
      field_(host_, shelf_, &settings_) {}

FieldShell::~FieldShell() { field_.StopPipwink(); }

bool FieldShell::Start() {
  StartReport report = field_.StartPipwink();
  display_.Flush();
  return report.noStarPicture == 0;
}

void FieldShell::Input(InputKind kind, int32_t x, int32_t y) {
  field_.RunDueTick(host_.Now());  // a flood of input never starves the ticks
  if (field_.Reacting()) field_.GenerateStars(kind, x, y);
  display_.Flush();
}

void FieldShell::Click(int32_t x, int32_t y) {
  if (settings_.reactMouseClick) Input(InputKind::kClick, x, y);
}

void FieldShell::Move(int32_t x, int32_t y) {
  // The hook library's movement rule: a step makes a star when it and the
  // one before were both long, or a fast movement suddenly stopped.
  int32_t dx = x - lastMoveX_, dy = y - lastMoveY_;
  int32_t distance = abs(dx) + abs(dy);
  bool fires = MovementRuleFires(lastDistance_, distance);
  lastMoveX_ = x;
  lastMoveY_ = y;
  lastDistance_ = distance;
  if (settings_.reactMouseMove && fires) Input(InputKind::kMove, x, y);
}

void FieldShell::OnStarMenu(uintptr_t handle, StarMenuChoice choice) {
  switch (choice) {
    case StarMenuChoice::kErase:
      field_.BombStar(field_.GetStarBySurface(handle));
      break;
    case StarMenuChoice::kEraseAll:
      field_.BeginBomb();
      break;
    case StarMenuChoice::kTidy:
      field_.AllTogetherStar(handle);
      break;
  }
  display_.Flush();
}

void FieldShell::Figures(StatusFigures* f) const {
  f->reacting = field_.Reacting();
  f->timer = field_.TimerRunning();
  f->ticks = ticks_;
  f->loading = field_.PicturesPending();
  f->pictures = shelf_.Count();
  std::vector<StarLine> stars;
  Stars(&stars);
  f->stars = static_cast<int32_t>(stars.size());
  for (const StarLine& s : stars) {
    f->shown += s.shown ? 1 : 0;
    f->grabbed += s.grabbed ? 1 : 0;
    f->flying += s.flying ? 1 : 0;
  }
}

void FieldShell::Stars(std::vector<StarLine>* out) const {
  const StarPool& pool = field_.Pool();
  if (pool.starListHead == nullptr) return;
  for (const Star* at = pool.starListHead->next; at != pool.starListTail; at = at->next) {
    const Star& star = *at;
    StarLine line;
    if (star.window) {
      // Every surface of this field is an X star window: the host makes them.
      const auto& surface = static_cast<const XStarSurface&>(*star.window);
      line.window = surface.Handle();
      line.x = surface.Position().x;
      line.y = surface.Position().y;
      line.w = surface.Width();
      line.h = surface.Height();
      line.shown = surface.Shown();
      line.grabbed = surface.IsGrabbed();
    }
    line.flying = star.inUse && !line.grabbed && star.bombing == 0;
    line.number = star.count > 1 ? star.count : 0;
    line.image = star.imageIndex;
    out->push_back(line);
  }
}
