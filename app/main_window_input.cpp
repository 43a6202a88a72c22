// The main window's handlers of input and of the star windows' messages:
// each hands its event to the star field.
#include "app/main_window.h"
#include "base/app_state.h"
#include "cells/packed_point.h"
#include "cells/private_messages.h"

namespace {
HWND AsWindow(LPARAM value) { return reinterpret_cast<HWND>(value); }

// The hook library's message as the star field names its kind of input.
InputKind InputKindOf(UINT message) {
  if (message == PWM_HOOK_MOVE) return InputKind::kMove;
  if (message == PWM_HOOK_KEY) return InputKind::kKey;
  return InputKind::kClick;
}
}  // namespace

// Clicks, moves and keys make stars only while the star field reacts, the
// settings dialog is closed and no full-screen program is in front.
LRESULT MainWindow::OnHookInput(UINT kind, LPARAM lParam) {
  // The hook posts moves and keys one at a time: taking this one lets the next come.
  if (kind == PWM_HOOK_MOVE) cells_.ClearHookPending();
  if (kind == PWM_HOOK_KEY) cells_.ClearKeyPending();
  // A click is sent, so it overtakes a move posted just before it: that move
  // is handled first, and the click's stars stay the last ones made.
  MSG earlier;
  if (kind == PWM_HOOK_CLICK && PeekMessageA(&earlier, window_, PWM_HOOK_MOVE, PWM_HOOK_MOVE, PM_REMOVE)) {
    OnHookInput(PWM_HOOK_MOVE, earlier.lParam);
  }
  return MakeInputStars(kind, lParam);
}

// A click comes sent, or posted again under the same serial when the send was
// not taken in time (which may still deliver it late): each serial makes its
// stars once, and one older than the last taken is one a later click
// overtook. Serial 0 has no serial.
LRESULT MainWindow::OnHookClick(WPARAM serial, LPARAM lParam) {
  const auto taken = static_cast<uint32_t>(serial);
  if (taken != 0) {
    if (lastClickSerial_ != 0 && static_cast<int32_t>(taken - lastClickSerial_) <= 0) return 0;
    lastClickSerial_ = taken;
  }
  return OnHookInput(PWM_HOOK_CLICK, lParam);
}

// A key in a window without a Win32 caret: the caret thread is asked, and
// the key's turn is given back at once, so a newer key replaces the question.
LRESULT MainWindow::OnKeyWithoutCaret() {
  cells_.ClearKeyPending();
  if (!SettingsDialogOpen() && field_ && field_->Reacting()) caret_.Ask();
  return 0;
}

// The caret thread's answer: the key's stars go there, if input still makes stars.
LRESULT MainWindow::OnCaretFound(LPARAM lParam) { return MakeInputStars(PWM_HOOK_KEY, lParam); }

LRESULT MainWindow::MakeInputStars(UINT kind, LPARAM lParam) {
  if (SettingsDialogOpen() || !field_) return 0;
  // Input that never lets the queue run empty would starve WM_TIMER.
  DWORD now = GetTickCount();
  // Counted before it runs, as a timer tick is: a status query answered while
  // the tick waits on the window system already counts it.
  if (field_->TickDue(now)) ++motionTicks_;
  field_->RunDueTick(now);
  if (!field_->Reacting()) return 0;
  if (store_.Current().fullscreenPause != 0 && fullScreen_.InFront(now)) return 0;
  ScreenPoint point = UnpackPoint(static_cast<uint64_t>(lParam));
  field_->GenerateStars(InputKindOf(kind), point.x, point.y);
  return 0;
}

LRESULT MainWindow::OnTimer() {
  ++motionTicks_;
  // The stars stand still while the settings dialog is open.
  if (!SettingsDialogOpen() && field_) field_->MoveStar();
  return 0;
}

LRESULT MainWindow::OnHotkey(WPARAM id) {
  if (id == kPauseHotkeyId) OnToggleReaction();
  return 0;
}

LRESULT MainWindow::OnStarGrabbed(LPARAM star) {
  if (field_) field_->GrabStar(AsWindow(star));
  return 0;
}

LRESULT MainWindow::OnButtonUp(LPARAM window) {
  if (field_) field_->ConnectStar(AsWindow(window));
  return 0;
}

LRESULT MainWindow::OnStarTidy(LPARAM star) {
  if (field_) field_->AllTogetherStar(AsWindow(star));
  return 0;
}

LRESULT MainWindow::OnStarEraseAll() {
  if (field_) field_->BeginBomb();
  return 0;
}

LRESULT MainWindow::OnStarErase(LPARAM star) {
  if (field_) field_->BombStar(field_->GetStarByHWND(AsWindow(star)));
  return 0;
}

LRESULT MainWindow::OnQueryManyStars() { return field_ && field_->EnsureManyStars() ? 1 : 0; }
