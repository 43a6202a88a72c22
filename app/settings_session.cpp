#include "app/settings_session.h"

#include <new>

#include "app/settings_dialog.h"

SettingsSession* SettingsSession::Make(HWND owner, HCURSOR cursor) {
  return new (std::nothrow) SettingsSession(owner, cursor);
}

void SettingsSession::Hold() { holds_.fetch_add(1); }

void SettingsSession::LetGo() {
  if (holds_.fetch_sub(1) == 1) delete this;
}

bool SettingsSession::Open(const SettingsRecord& current, const wchar_t* iniPath) {
  if (open_.load()) return false;
  edited_ = current;
  lstrcpynW(iniPath_, iniPath != nullptr ? iniPath : L"", kIniPathSize);
  chosenWaits_.store(false);
  dialog_.store(nullptr);
  open_.store(true);
  return true;
}

void SettingsSession::Close() {
  dialog_.store(nullptr);
  open_.store(false);
}

void SettingsSession::Choose(const SettingsRecord& chosen) {
  chosen_ = chosen;
  chosenWaits_.store(true, std::memory_order_release);
}

bool SettingsSession::TakeChoice(SettingsRecord* chosen) {
  if (!chosenWaits_.exchange(false, std::memory_order_acquire)) return false;
  *chosen = chosen_;
  return true;
}

UniqueHandle StartSettingDialog(SettingsSession* session) {
  session->Hold();
  UniqueHandle thread(CreateThread(nullptr, 0, SettingDialogThread, session, 0, nullptr));
  if (!thread) session->LetGo();
  return thread;
}
