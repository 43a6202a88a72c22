#include "stars/win32/win32_field_host.h"

#include <new>

#include "base/app_state.h"
#include "base/owned_handles.h"
#include "cells/private_messages.h"
#include "stars/motion_rules.h"
#include "stars/win32/pupil_surface.h"

bool Win32FieldHost::StartTicks() {
  if (host_.owner == nullptr) return false;
  return SetTimer(host_.owner, STAR_TIMER_ID, STAR_TIMER_INTERVAL, nullptr) != 0;
}

void Win32FieldHost::StopTicks() { KillTimer(host_.owner, STAR_TIMER_ID); }

MonitorMetrics Win32FieldHost::MonitorAt(PixelPoint point) const {
  MonitorMetrics metrics{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), 96};
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (GetMonitorInfoA(MonitorFromPoint(POINT{point.x, point.y}, MONITOR_DEFAULTTONEAREST), &info)) {
    metrics = MonitorMetrics{info.rcMonitor.left, info.rcMonitor.top, info.rcMonitor.right, info.rcMonitor.bottom,
                             metrics.dpi};
  }
  // The system's DPI stands for every monitor's until the field scales by the
  // monitor's own.
  ScreenDC screen(nullptr);
  if (screen.Get() != nullptr) metrics.dpi = GetDeviceCaps(screen.Get(), LOGPIXELSX);
  return metrics;
}

bool Win32FieldHost::PictureFrame(int32_t imageIndex, FrameShape* shape) const {
  const ImageSet* image = shelf_->pictures.Get(imageIndex);
  if (image == nullptr) return false;
  *shape = FrameShape{image->frameWidth, image->frameHeight};
  return true;
}

SurfaceOwner Win32FieldHost::MakeSurface(int32_t imageIndex) {
  auto* surface = new (std::nothrow) PupilSurface(shelf_->Shown(imageIndex), &shelf_->artwork);
  if (surface != nullptr) surface->Create(host_.owner, host_.cursor, host_.texts);
  return SurfaceOwner(surface);
}

void Win32FieldHost::LoaderStarts() {
  SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_BELOW_NORMAL);
}

void Win32FieldHost::PicturesLoaded(uintptr_t serial) {
  PostMessageA(host_.owner, PWM_PICTURES_LOADED, serial, 0);
}

void Win32FieldHost::TrimMemory() { TrimWorkingSet(); }
