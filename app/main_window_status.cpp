// The main window's answer to observers that wait on its state rather than
// on time (the end-to-end probe): see cells/program_status.h.
#include "app/main_window.h"
#include "app/message_out.h"
#include "base/app_state.h"
#include "cells/program_status.h"

// A query that comes while the thread waits in its own loop finds only its
// own handler running; one that comes while a menu or a handler's message
// box shows finds the handler that showed it too.
LRESULT MainWindow::OnQueryStatus() {
  ProgramStatus status{};
  status.moving = field_ && field_->TimerRunning();
  status.insideHandler = handlersRunning.load() > 1;
  status.loading = field_ && field_->PicturesPending();
  status.queued = (HIWORD(GetQueueStatus(QS_POSTMESSAGE)) & QS_POSTMESSAGE) != 0;
  status.telling = MessageShowing();
  status.fullScreen = store_.Current().fullscreenPause != 0 && fullScreen_.InFront(GetTickCount());
  status.settingsOpen = SettingsDialogOpen();
  status.ticks = motionTicks_;
  return static_cast<LRESULT>(PackStatus(status));
}
