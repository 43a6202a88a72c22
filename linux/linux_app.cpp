#include "linux/linux_app.h"

#include <cstdio>

#include <QGuiApplication>

LinuxApp::LinuxApp()
    : status_([this](StatusFigures* figures) { Figures(figures); }, [](std::vector<StarLine>*) {}) {}

LinuxApp::~LinuxApp() { listener_.Stop(); }

bool LinuxApp::Start() {
  if (!display_.Open()) {
    fprintf(stderr, "tovik2: no X display with a 32-bit ARGB visual\n");
    return false;
  }
  display_.SetDpi(static_cast<int32_t>(qGuiApp->devicePixelRatio() * 96 + 0.5));
  if (!status_.ListenFromEnvironment()) fprintf(stderr, "tovik2: the status socket cannot be made\n");
  if (!wake_.Open()) {
    fprintf(stderr, "tovik2: no wake-up for input\n");
    return false;
  }
  connect(&wake_, &InputWake::Woken, this, &LinuxApp::TakeInput);
  if (!listener_.Start(this, true)) fprintf(stderr, "tovik2: no XInput 2: no reaction to input\n");
  return true;
}

void LinuxApp::OnRawClick(int32_t, int32_t) {
  clicks_.fetch_add(1, std::memory_order_relaxed);
  if (queued_.fetch_add(1) == 0) wake_.Signal();
}

void LinuxApp::OnRawMove(int32_t, int32_t) {
  moves_.fetch_add(1, std::memory_order_relaxed);
  if (queued_.fetch_add(1) == 0) wake_.Signal();
}

void LinuxApp::OnRawKey() {
  keys_.fetch_add(1, std::memory_order_relaxed);
  if (queued_.fetch_add(1) == 0) wake_.Signal();
}

void LinuxApp::TakeInput() { queued_.store(0); }

void LinuxApp::Figures(StatusFigures* f) const {
  f->compositor = display_.Compositing();
  f->scale = display_.Dpi() * 100 / 96;
  f->clicks = clicks_.load();
  f->moves = moves_.load();
  f->keys = keys_.load();
  f->queued = queued_.load();
}
