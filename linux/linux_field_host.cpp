#include "linux/linux_field_host.h"

#include <time.h>

#include <QGuiApplication>
#include <QScreen>

#include "linux/x_star_surface.h"
#include "stars/motion_rules.h"

LinuxFieldHost::LinuxFieldHost(XDisplay& display, const XPictureList* pictures, const XArtwork* artwork,
                               StarWindowEvents* events, std::function<void()> onTick)
    : display_(display), pictures_(pictures), artwork_(artwork), events_(events) {
  ticks_.setTimerType(Qt::PreciseTimer);
  ticks_.setInterval(static_cast<int>(STAR_TIMER_INTERVAL));
  QObject::connect(&ticks_, &QTimer::timeout, [onTick = static_cast<std::function<void()>&&>(onTick), this] {
    onTick();
    display_.Flush();  // the tick's moves go out in one write
  });
}

uint32_t LinuxFieldHost::Now() const {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<uint32_t>(static_cast<uint64_t>(now.tv_sec) * 1000u + static_cast<uint64_t>(now.tv_nsec) / 1000000u);
}

bool LinuxFieldHost::StartTicks() {
  ticks_.start();
  return true;
}

void LinuxFieldHost::StopTicks() { ticks_.stop(); }

MonitorMetrics LinuxFieldHost::MonitorAt(PixelPoint point) const {
  // Qt speaks of screens in device-independent pixels; the field in the
  // screen's own.
  qreal ratio = display_.Dpi() / 96.0;
  QPoint logical(static_cast<int>(point.x / ratio), static_cast<int>(point.y / ratio));
  QScreen* screen = QGuiApplication::screenAt(logical);
  if (screen == nullptr) screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) return MonitorMetrics{0, 0, display_.ScreenWidth(), display_.ScreenHeight(), display_.Dpi()};
  QRect area = screen->geometry();
  auto scaled = [ratio](int v) { return static_cast<int32_t>(v * ratio + 0.5); };
  return MonitorMetrics{scaled(area.left()), scaled(area.top()), scaled(area.left() + area.width()),
                        scaled(area.top() + area.height()), static_cast<int32_t>(screen->devicePixelRatio() * 96 + 0.5)};
}

bool LinuxFieldHost::PictureFrame(int32_t imageIndex, FrameShape* shape) const {
  if (imageIndex < 0 || imageIndex >= PictureCount()) return false;
  const XPicture& picture = *(*pictures_)[imageIndex];
  *shape = FrameShape{picture.FrameWidth(), picture.FrameHeight()};
  return true;
}

SurfaceOwner LinuxFieldHost::MakeSurface(int32_t imageIndex) {
  const XPicture* picture =
      imageIndex >= 0 && imageIndex < PictureCount() ? (*pictures_)[imageIndex].get() : nullptr;
  auto surface = std::make_unique<XStarSurface>(display_, picture, artwork_, events_);
  if (!surface->Create()) return nullptr;
  return surface;
}
