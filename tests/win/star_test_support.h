// Helpers for the star field's Win32 tests: alpha pictures, an owner window
// that stands in for the main window and records what it receives, and a
// message pump with a deadline.
#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "base/settings.h"
#include "base/ui_texts.h"
#include "images/win32/image_set.h"
#include "stars/win32/pupil_surface.h"
#include "stars/win32/pupil_window.h"
#include "stars/random_source.h"
#include "stars/win32/win32_star_field.h"

// The window behind a star of a Win32 star field; null for a star without
// a surface.
inline PupilWindow* WindowOf(const Star* star) {
  if (star == nullptr || star->window == nullptr) return nullptr;
  return &static_cast<PupilSurface*>(star->window.get())->Window();
}

// A 32-bit alpha picture, every pixel the same premultiplied B, G, R, A value.
inline UniqueBitmap MakeAlphaBitmap(int width, int height, uint32_t bgra, bool topDown = false) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = topDown ? -height : height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  UniqueBitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap) return bitmap;
  auto* pixels = static_cast<uint32_t*>(bits);
  for (int i = 0; i < width * height; ++i) pixels[i] = bgra;
  GdiFlush();
  return bitmap;
}

// A picture of frameCount square frames of side `side`, appended to list.
inline ImageSet* AddStarImage(ImageList<ImageSet>* list, int side, int frameCount = 1,
                              bool sideBySide = true) {
  int width = sideBySide ? side * frameCount : side;
  int height = sideBySide ? side : side * frameCount;
  ImageSet* set = StockStarImage(MakeAlphaBitmap(width, height, 0x80402010u), list);
  if (set == nullptr) return nullptr;
  set->frameWidth = side;
  set->frameHeight = side;
  set->frameCount = frameCount;
  set->framesSideBySide = sideBySide ? 1 : 0;
  return set;
}

// Sets the generator so that its next draw is r (one step run backwards).
inline void NextDrawIs(int32_t r) {
  uint32_t inverse = 214013u;
  for (int i = 0; i < 5; ++i) inverse *= 2u - 214013u * inverse;
  SeedRandomSource(((static_cast<uint32_t>(r) << 16) - 2531011u) * inverse);
}

// Dispatches this thread's messages until done() holds or the time is up.
inline bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 3000) {
  DWORD start = GetTickCount();
  for (;;) {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
    if (done()) return true;
    if (GetTickCount() - start > timeoutMs) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}

struct ReceivedMessage {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};

// Stands in for the main window: owns the star windows, records every private
// message, answers the many-stars question, and lets a test act on arrival.
class OwnerWindow {
 public:
  OwnerWindow() {
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = Procedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "Tovik2 Test Owner";
    RegisterClassExA(&windowClass);
    window_ = CreateWindowExA(WS_EX_TOOLWINDOW, "Tovik2 Test Owner", "", WS_POPUP, 0, 0, 1, 1,
                              nullptr, nullptr, GetModuleHandleA(nullptr), this);
  }
  ~OwnerWindow() {
    if (window_ != nullptr) {
      SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
      DestroyWindow(window_);
    }
  }
  OwnerWindow(const OwnerWindow&) = delete;
  OwnerWindow& operator=(const OwnerWindow&) = delete;

  HWND handle() const { return window_; }

  int CountOf(UINT message) const {
    int n = 0;
    for (const ReceivedMessage& m : received) n += m.message == message ? 1 : 0;
    return n;
  }

  std::vector<ReceivedMessage> received;
  std::function<void(UINT, WPARAM, LPARAM)> onMessage;
  Win32StarField* field = nullptr;  // answers the many-stars question

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
      auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
      SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<OwnerWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (self != nullptr && message >= WM_USER) {
      self->received.push_back({message, wParam, lParam});
      if (self->onMessage) self->onMessage(message, wParam, lParam);
      if (message == 1231) return self->field != nullptr && self->field->EnsureManyStars() ? 1 : 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
  }

  HWND window_;
};

// A star field of the test's own over an owner window of the test's own, with
// pictures of the test's choosing and settings that only it reads.
class StarFieldTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(owner.handle(), nullptr);
    owner.field = &field;
    settings.quantity = 1;
    settings.moveRange = 70;
    SeedRandomSource(20240601u);
    ASSERT_EQ(field.Pool().CreateStarList(), 1);
  }

  void TearDown() override {
    std::vector<HWND> windows;
    for (Star* s = field.Pool().starListHead->next; s != field.Pool().starListTail; s = s->next) {
      if (s->window != nullptr && WindowOf(s)->Handle() != nullptr) windows.push_back(WindowOf(s)->Handle());
    }
    field.StopPipwink();
    // Every star window goes when its queue reaches the posted WM_CLOSE.
    EXPECT_TRUE(PumpUntil([&] {
      for (HWND w : windows) {
        if (IsWindow(w)) return false;
      }
      return true;
    }));
  }

  ImageSet* AddStarImage(int side, int frameCount = 1, bool sideBySide = true) {
    return ::AddStarImage(&field.StarImageList, side, frameCount, sideBySide);
  }

  // The stars of the list, head to tail.
  std::vector<Star*> Stars() const {
    std::vector<Star*> stars;
    for (Star* s = field.Pool().starListHead->next; s != field.Pool().starListTail; s = s->next) stars.push_back(s);
    return stars;
  }

  static RECT WindowRect(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
  }

  OwnerWindow owner;
  SettingsRecord settings{};
  Win32StarField field{StarFieldHost{owner.handle(), nullptr, &UiTexts, &settings}};
};
