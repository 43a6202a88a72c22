// Answers the program's message boxes from a thread of its own and records
// their texts, so code that tells the user something can run in a test.
#pragma once
#include <windows.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class MessageBoxWatcher {
 public:
  MessageBoxWatcher() : MessageBoxWatcher([](HWND box) { PostMessageA(box, WM_COMMAND, IDOK, 0); }) {}
  // Answers each box by calling `answer` with it, instead of pressing OK.
  explicit MessageBoxWatcher(std::function<void(HWND box)> answer)
      : answer_(std::move(answer)), thread_([this] { Watch(); }) {}
  ~MessageBoxWatcher() {
    stop_ = true;
    thread_.join();
  }
  MessageBoxWatcher(const MessageBoxWatcher&) = delete;
  MessageBoxWatcher& operator=(const MessageBoxWatcher&) = delete;

  // The texts of the boxes answered so far, in order, as the box shows them.
  std::vector<std::wstring> Texts() {
    std::lock_guard<std::mutex> lock(mutex_);
    return texts_;
  }

 private:
  static BOOL CALLBACK Visit(HWND window, LPARAM self) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    char className[16] = {};
    GetClassNameA(window, className, sizeof className);
    if (process != GetCurrentProcessId() || !IsWindowVisible(window) || std::string(className) != "#32770") {
      return TRUE;
    }
    // The settings dialog is a dialog of that class and caption too, but no
    // box: it is the one with an edit control.
    if (FindWindowExA(window, nullptr, "Edit", nullptr) != nullptr) return TRUE;
    // Only a box's own modal loop answers the text request: asking any other
    // window of the test's thread would wait for a thread that waits for us.
    char caption[64] = {};
    GetWindowTextA(window, caption, sizeof caption);
    if (std::string(caption) == "Pipwink2") reinterpret_cast<MessageBoxWatcher*>(self)->Answer(window);
    return TRUE;
  }

  void Answer(HWND box) {
    for (HWND seen : answered_) {
      if (seen == box) return;
    }
    wchar_t text[1024] = {};
    GetDlgItemTextW(box, 0xFFFF, text, 1024);  // the box's text control
    // A box caught before its text is set is looked at again next time.
    if (text[0] == L'\0') return;
    answered_.push_back(box);
    {
      std::lock_guard<std::mutex> lock(mutex_);
      texts_.push_back(text);
    }
    answer_(box);
  }

  void Watch() {
    while (!stop_) {
      EnumWindows(Visit, reinterpret_cast<LPARAM>(this));
      Sleep(20);
    }
  }

  std::atomic<bool> stop_{false};
  std::mutex mutex_;
  std::vector<std::wstring> texts_;
  std::vector<HWND> answered_;
  std::function<void(HWND)> answer_;
  std::thread thread_;
};
