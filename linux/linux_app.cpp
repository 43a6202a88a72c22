#include "linux/linux_app.h"

#include <cstdio>

#include <QCoreApplication>
#include <QGuiApplication>

#include "app/ini_rules.h"
#include "linux/field_shell.h"
#include "linux/kit/settings_file.h"

LinuxApp::LinuxApp()
    : status_([this](StatusFigures* figures) { Figures(figures); },
              [this](std::vector<StarLine>* stars) {
                if (field_) field_->Stars(stars);
              }) {}

LinuxApp::~LinuxApp() {
  // The listener may wait for room in the queue: closing it lets the thread end.
  queue_.Close();
  listener_.Stop();
  field_.reset();  // every star window goes before the display closes
}

bool LinuxApp::Start() {
  XdgEnvironment env = XdgFromEnvironment();
  KitPath lockPath;
  if (LockFile(env, &lockPath)) {
    KitPath folder;
    if (SettingsFolder(env, &folder)) MakeFolders(folder.text);
    pid_t holder = 0;
    LockOutcome outcome = OneCopyLock::Take(lockPath.text, &lock_, &holder);
    if (outcome == LockOutcome::HeldByAnother) {
      fprintf(stderr, "tovik2: another copy is running (process %ld)\n", static_cast<long>(holder));
      return false;
    }
    if (outcome == LockOutcome::Failed) fprintf(stderr, "tovik2: the one-copy lock %s cannot be taken\n", lockPath.text);
  }
  SettingsRecord settings = DefaultSettings();
  if (!SettingsFile(env, &settingsFile_)) {
    fprintf(stderr, "tovik2: no place for the settings file: defaults are used\n");
  } else if (const char* complaint = SettingsComplaint(LoadSettingsFile(settingsFile_.text, &settings))) {
    fprintf(stderr, "tovik2: %s (%s)\n", complaint, settingsFile_.text);
  }

  if (!display_.Open()) {
    fprintf(stderr, "tovik2: no X display with a 32-bit ARGB visual\n");
    return false;
  }
  display_.SetDpi(static_cast<int32_t>(qGuiApp->devicePixelRatio() * 96 + 0.5));
  field_ = std::make_unique<FieldShell>(display_, settings);
  if (!field_->Start()) {
    fprintf(stderr, "tovik2: the built-in star could not be made\n");
    return false;
  }
  if (!wake_.Open()) {
    fprintf(stderr, "tovik2: no wake-up for input\n");
    return false;
  }
  connect(&wake_, &InputWake::Woken, this, &LinuxApp::TakeInput);

  watchdogTimer_.setInterval(1000);
  connect(&watchdogTimer_, &QTimer::timeout, this, &LinuxApp::SampleWatchdog);

  if (!listener_.Start(this, true)) fprintf(stderr, "tovik2: no XInput 2: no reaction to input\n");
  // Last: once the status answers, input is heard and the stars can be made.
  if (!status_.ListenFromEnvironment()) fprintf(stderr, "tovik2: the status socket cannot be made\n");
  return true;
}

void LinuxApp::Queue(QueuedKind kind, int32_t x, int32_t y) {
  InputEvent event;
  event.kind = kind;
  event.x = x;
  event.y = y;
  if (queue_.Push(event)) wake_.Signal();
}

void LinuxApp::TakeInput() {
  InputEvent event;
  while (queue_.Pop(&event)) {
    switch (event.kind) {
      case QueuedKind::Press:
        ++clicks_;
        field_->Click(event.x, event.y);
        break;
      case QueuedKind::Move:
        moves_ += event.merged;
        field_->Move(event.x, event.y);
        break;
      case QueuedKind::Key:  // never queued: see OnRawKey
      case QueuedKind::Release:
        break;
    }
  }
  WakeWatchdog();
}

void LinuxApp::WakeWatchdog() {
  activeSinceSample_ = true;
  if (watchdogTimer_.isActive()) return;
  ProcessClock now;
  if (!ReadProcessClock(&now)) return;
  watchdog_.Skip(now);
  watchdogTimer_.start();
}

void LinuxApp::SampleWatchdog() {
  ProcessClock now;
  if (!ReadProcessClock(&now)) return;
  if (!activeSinceSample_) {
    // Nothing happened for a second: the watchdog sleeps until something does.
    watchdog_.Skip(now);
    watchdogTimer_.stop();
    return;
  }
  activeSinceSample_ = false;
  if (watchdog_.Sample(now, false)) {
    fprintf(stderr, "tovik2: the processor was busy above 90 %% for ten seconds: ending\n");
    QCoreApplication::exit(2);
  }
}

void LinuxApp::Figures(StatusFigures* f) const {
  if (field_) field_->Figures(f);
  f->compositor = display_.Compositing();
  f->scale = display_.Dpi() * 100 / 96;
  f->clicks = clicks_;
  f->moves = moves_;
  f->keys = keys_.load(std::memory_order_relaxed);
  f->queued = static_cast<int32_t>(queue_.Size());
  f->ini = settingsFile_.text;
}
