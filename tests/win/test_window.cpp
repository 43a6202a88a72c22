#include "test_window.h"

#include <shellapi.h>

#include <string>
#include <vector>

TestWindow::TestWindow()
    : window_(CreateWindowExA(0, "STATIC", "tovik2 test window", WS_POPUP, 0, 0, 10, 10, nullptr,
                              nullptr, GetModuleHandleA(nullptr), nullptr)) {}

TestWindow::~TestWindow() {
  if (window_ != nullptr) DestroyWindow(window_);
}

namespace {
NOTIFYICONDATAW KeeperIcon(HWND owner) {
  NOTIFYICONDATAW icon{};
  icon.cbSize = sizeof icon;
  icon.hWnd = owner;
  icon.uID = 0x7E57;
  icon.uFlags = NIF_ICON;
  icon.hIcon = LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_APPLICATION));
  return icon;
}
}  // namespace

TrayKeeper::TrayKeeper() {
  NOTIFYICONDATAW icon = KeeperIcon(owner_.handle());
  added_ = owner_.handle() != nullptr && Shell_NotifyIconW(NIM_ADD, &icon);
}

TrayKeeper::~TrayKeeper() {
  NOTIFYICONDATAW icon = KeeperIcon(owner_.handle());
  if (added_) Shell_NotifyIconW(NIM_DELETE, &icon);
}

namespace {

HANDLE StartProgram(std::wstring commandLine) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process)) {
    return nullptr;
  }
  CloseHandle(process.hThread);
  return process.hProcess;
}

long WaitForExit(HANDLE process, DWORD timeoutMs) {
  if (process == nullptr) return -1;
  long result = -1;
  if (WaitForSingleObject(process, timeoutMs) == WAIT_OBJECT_0) {
    DWORD code = 0;
    if (GetExitCodeProcess(process, &code)) result = static_cast<long>(code);
  } else {
    TerminateProcess(process, 1);
  }
  CloseHandle(process);
  return result;
}

std::wstring Widen(const std::string& text) {
  std::wstring wide(text.size(), L'\0');
  for (size_t i = 0; i < text.size(); ++i) wide[i] = static_cast<unsigned char>(text[i]);  // ASCII arguments
  return wide;
}

}  // namespace

std::wstring TestFolder() {
  std::vector<wchar_t> path(32768);
  DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
  std::wstring folder(path.data(), length);
  folder.resize(folder.find_last_of(L'\\') + 1);
  return folder;
}

HANDLE StartBesideTests(const char* program, const std::string& arguments) {
  return StartProgram(L"\"" + TestFolder() + Widen(program) + L"\" " + Widen(arguments));
}

long RunBesideTests(const char* program, const std::string& arguments, DWORD timeoutMs) {
  return WaitForExit(StartBesideTests(program, arguments), timeoutMs);
}

HANDLE StartProgramAt(const std::wstring& path, const std::wstring& arguments) {
  return StartProgram(L"\"" + path + L"\" " + arguments);
}

long RunProgramAt(const std::wstring& path, const std::wstring& arguments, DWORD timeoutMs) {
  return WaitForExit(StartProgram(L"\"" + path + L"\" " + arguments), timeoutMs);
}
