// The foreground a menu borrows goes back to the window the user typed in,
// even when a click in the notification area made the taskbar the foreground
// first. The taskbar here is a window of the taskbar's class. Wine sends no
// foreground events, so what it shows is the loan's own look below the
// taskbar; the memory of the events is for a real Windows to show.
#include "base/foreground_loan.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "test_window.h"

namespace {

void Pump() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
}

// A window of the taskbar's class, on the calling thread.
HWND MakeTaskbar() {
  WNDCLASSA taskbarClass{};
  taskbarClass.lpfnWndProc = DefWindowProcA;
  taskbarClass.hInstance = GetModuleHandleA(nullptr);
  taskbarClass.lpszClassName = "Shell_TrayWnd";
  RegisterClassA(&taskbarClass);
  return CreateWindowExA(WS_EX_TOOLWINDOW, "Shell_TrayWnd", "", WS_POPUP | WS_VISIBLE, 0, 560, 800, 40, nullptr,
                         nullptr, GetModuleHandleA(nullptr), nullptr);
}

// The program the user types in: a window of a thread of its own.
class TypingProgram {
 public:
  TypingProgram() : thread_([this] { Run(); }) {
    while (window_.load() == nullptr) Sleep(1);
  }
  ~TypingProgram() {
    PostMessageA(window_.load(), WM_CLOSE, 0, 0);
    thread_.join();
  }
  HWND handle() const { return window_.load(); }

 private:
  void Run() {
    HWND window = CreateWindowExA(0, "STATIC", "typing", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200, nullptr,
                                  nullptr, GetModuleHandleA(nullptr), nullptr);
    window_ = window;
    MSG message;
    while (IsWindow(window) && GetMessageA(&message, nullptr, 0, 0) > 0) {
      if (message.message == WM_CLOSE) DestroyWindow(window);
      DispatchMessageA(&message);
    }
  }
  std::atomic<HWND> window_{nullptr};
  std::thread thread_;
};

bool PumpUntilForeground(HWND window) {
  const DWORD start = GetTickCount();
  while (GetForegroundWindow() != window && GetTickCount() - start < 5000) {
    Pump();
    Sleep(5);
  }
  Pump();
  return GetForegroundWindow() == window;
}

TEST(ForegroundLoan, AMenuOpenedFromTheTaskbarGivesTheForegroundToTheProgramTypedInBefore) {
  TypingProgram typing;
  HWND taskbar = MakeTaskbar();
  ASSERT_NE(taskbar, nullptr);
  TestWindow borrower;
  ForegroundMemory memory;
  ASSERT_TRUE(memory.Start());
  SetForegroundWindow(taskbar);
  ASSERT_TRUE(PumpUntilForeground(taskbar));
  // The user types in the program, then clicks the tray icon: the taskbar
  // comes to the front before the menu is opened.
  SetForegroundWindow(typing.handle());
  ASSERT_TRUE(PumpUntilForeground(typing.handle()));
  SetForegroundWindow(taskbar);
  ASSERT_TRUE(PumpUntilForeground(taskbar));
  EXPECT_TRUE(IsTaskbarWindow(taskbar));
  EXPECT_FALSE(IsTaskbarWindow(typing.handle()));
  EXPECT_NE(RememberedForeground(), taskbar) << "the taskbar was remembered";
  {
    ForegroundLoan loan(borrower.handle());
    EXPECT_EQ(loan.Lender(), typing.handle()) << "the loan would give the keyboard to the taskbar";
  }
  EXPECT_TRUE(PumpUntilForeground(typing.handle())) << "the program typed in is not in front again";

  // With no program to give it back to, the taskbar still never gets it.
  memory.Stop();
  ShowWindow(typing.handle(), SW_HIDE);
  SetForegroundWindow(taskbar);
  ASSERT_TRUE(PumpUntilForeground(taskbar));
  ForegroundLoan loan(borrower.handle());
  EXPECT_EQ(loan.Lender(), nullptr);
  DestroyWindow(taskbar);
}

}  // namespace
