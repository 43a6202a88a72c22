// Small move-only owners of platform objects, so that each object's release
// is written once: the owner frees what it holds when it goes out of scope or
// is reset, and hands it over on a move. Null (or the type's invalid value)
// means "holds nothing".
#pragma once
#include <windows.h>

#include <utility>

template <typename Handle, typename Traits>
class Owned {
 public:
  Owned() = default;
  explicit Owned(Handle handle) : handle_(handle) {}
  ~Owned() { Reset(); }
  Owned(const Owned&) = delete;
  Owned& operator=(const Owned&) = delete;
  Owned(Owned&& other) noexcept : handle_(other.Release()) {}
  Owned& operator=(Owned&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }

  Handle Get() const { return handle_; }
  explicit operator bool() const { return handle_ != Traits::Invalid(); }

  // Frees what is held and takes the new handle.
  void Reset(Handle handle = Traits::Invalid()) {
    Handle old = std::exchange(handle_, handle);
    if (old != Traits::Invalid()) Traits::Free(old);
  }
  // Gives up ownership without freeing.
  Handle Release() { return std::exchange(handle_, Traits::Invalid()); }

 private:
  Handle handle_ = Traits::Invalid();
};

template <typename Handle, auto FreeFunction>
struct NullIsInvalid {
  static Handle Invalid() { return nullptr; }
  static void Free(Handle handle) { FreeFunction(handle); }
};

struct GdiObjectTraits {
  static HGDIOBJ Invalid() { return nullptr; }
  static void Free(HGDIOBJ object) { DeleteObject(object); }
};
struct BitmapTraits {
  static HBITMAP Invalid() { return nullptr; }
  static void Free(HBITMAP bitmap) { DeleteObject(bitmap); }
};
struct FileTraits {
  static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
  static void Free(HANDLE file) { CloseHandle(file); }
};
struct ViewTraits {
  static void* Invalid() { return nullptr; }
  static void Free(void* view) { UnmapViewOfFile(view); }
};

using UniqueDC = Owned<HDC, NullIsInvalid<HDC, DeleteDC>>;  // a memory DC
using UniqueBitmap = Owned<HBITMAP, BitmapTraits>;
using UniqueIcon = Owned<HICON, NullIsInvalid<HICON, DestroyIcon>>;
using UniqueMenu = Owned<HMENU, NullIsInvalid<HMENU, DestroyMenu>>;
using UniqueModule = Owned<HMODULE, NullIsInvalid<HMODULE, FreeLibrary>>;
using UniqueHandle = Owned<HANDLE, NullIsInvalid<HANDLE, CloseHandle>>;  // mappings, threads, events
using UniqueFile = Owned<HANDLE, FileTraits>;                              // an open file
using UniqueView = Owned<void*, ViewTraits>;                               // a mapped view

// A screen DC borrowed for the scope: GetDC on entry, ReleaseDC on exit.
class ScreenDC {
 public:
  explicit ScreenDC(HWND window) : window_(window), dc_(GetDC(window)) {}
  ~ScreenDC() {
    if (dc_ != nullptr) ReleaseDC(window_, dc_);
  }
  ScreenDC(const ScreenDC&) = delete;
  ScreenDC& operator=(const ScreenDC&) = delete;
  HDC Get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// Selects an object into a DC for the guard's life and puts the previous one
// back at its end, so the object can be deleted afterwards.
class SelectGuard {
 public:
  SelectGuard() = default;
  SelectGuard(HDC dc, HGDIOBJ object) : dc_(dc), previous_(dc != nullptr ? SelectObject(dc, object) : nullptr) {
    if (previous_ == HGDI_ERROR) previous_ = nullptr;
  }
  ~SelectGuard() { Restore(); }
  SelectGuard(const SelectGuard&) = delete;
  SelectGuard& operator=(const SelectGuard&) = delete;
  SelectGuard(SelectGuard&& other) noexcept
      : dc_(std::exchange(other.dc_, nullptr)), previous_(std::exchange(other.previous_, nullptr)) {}
  SelectGuard& operator=(SelectGuard&& other) noexcept {
    if (this != &other) {
      Restore();
      dc_ = std::exchange(other.dc_, nullptr);
      previous_ = std::exchange(other.previous_, nullptr);
    }
    return *this;
  }

  // Whether the selection took place.
  explicit operator bool() const { return previous_ != nullptr; }
  void Restore() {
    if (dc_ != nullptr && previous_ != nullptr) SelectObject(dc_, previous_);
    dc_ = nullptr;
    previous_ = nullptr;
  }

 private:
  HDC dc_ = nullptr;
  HGDIOBJ previous_ = nullptr;
};

// A bitmap selected into a memory DC of its own: the triple every picture
// (star, number, poof frame, digit strip, version box) is drawn from. Members
// are destroyed in reverse order: the selection is undone first, then the
// bitmap and the DC go.
class MemoryBitmap {
 public:
  MemoryBitmap() = default;
  // Takes the bitmap and selects it into a new DC compatible with the screen.
  // False, with nothing held and the bitmap freed, when the DC cannot be made.
  bool Adopt(UniqueBitmap owned) {
    Reset();
    if (!owned) return false;
    UniqueDC dc(CreateCompatibleDC(nullptr));
    if (!dc) return false;
    SelectGuard selection(dc.Get(), owned.Get());
    if (!selection) return false;
    dc_ = std::move(dc);
    bitmap_ = std::move(owned);
    selection_ = std::move(selection);
    return true;
  }
  void Reset() {
    selection_.Restore();
    bitmap_.Reset();
    dc_.Reset();
  }
  HDC DC() const { return dc_.Get(); }
  HBITMAP Bitmap() const { return bitmap_.Get(); }
  explicit operator bool() const { return static_cast<bool>(dc_); }

 private:
  UniqueDC dc_;
  UniqueBitmap bitmap_;
  SelectGuard selection_;
};
