#include "test_window.h"

#include <string>

TestWindow::TestWindow()
    : window_(CreateWindowExA(0, "STATIC", "tovik2 test window", WS_POPUP, 0, 0, 10, 10, nullptr,
                              nullptr, GetModuleHandleA(nullptr), nullptr)) {}

TestWindow::~TestWindow() {
  if (window_ != nullptr) DestroyWindow(window_);
}

long RunBesideTests(const char* program, const std::string& arguments, DWORD timeoutMs) {
  char path[MAX_PATH];
  DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return -1;
  std::string directory(path, length);
  directory.resize(directory.find_last_of('\\') + 1);
  std::string commandLine = "\"" + directory + program + "\" " + arguments;

  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process)) {
    return -1;
  }
  long result = -1;
  if (WaitForSingleObject(process.hProcess, timeoutMs) == WAIT_OBJECT_0) {
    DWORD code = 0;
    if (GetExitCodeProcess(process.hProcess, &code)) result = static_cast<long>(code);
  } else {
    TerminateProcess(process.hProcess, 1);
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return result;
}
