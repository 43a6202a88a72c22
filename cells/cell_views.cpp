#include "cells/cell_views.h"

#include "cells/cell_access_rules.h"
#include "cells/cell_security.h"

// Other processes share the values, where no lock of this process would
// guard them: every access must be lock-free.
static_assert(std::atomic_ref<int32_t>::is_always_lock_free, "a cell is read and written without a lock");
static_assert(std::atomic_ref<char>::is_always_lock_free, "the list is read and written without a lock");
static_assert(std::atomic_ref<wchar_t>::is_always_lock_free, "the list is read and written without a lock");

namespace {

std::atomic_ref<int32_t> Cell(int32_t* cell) { return std::atomic_ref<int32_t>(*cell); }
template <typename Char>
std::atomic_ref<Char> Letter(Char* list, int at) {
  return std::atomic_ref<Char>(list[at]);
}

// Stores the text (cut to the cell) letter by letter, each an atomic store.
template <typename Char>
void StoreText(Char* cell, const Char* text) {
  int at = 0;
  for (; at < kExcludeCellSize - 1 && text != nullptr && text[at] != 0; ++at) {
    Letter(cell, at).store(text[at], std::memory_order_relaxed);
  }
  Letter(cell, at).store(0, std::memory_order_relaxed);
}

}  // namespace

template <typename Acquire>
bool CellViews::MapAll(Acquire acquire) {
  Close();
  UniqueHandle excludeMapping(acquire(kExcludeCellName, kExcludeCellSize));
  UniqueView excludeView(excludeMapping ? MapViewOfFile(excludeMapping.Get(), kCellOpenAccess, 0, 0, 0)
                                        : nullptr);
  if (!excludeView) return false;
  exclude_ = static_cast<char*>(excludeView.Get());
  excludeMapping_ = std::move(excludeMapping);
  excludeView_ = std::move(excludeView);
  UniqueHandle wideMapping(acquire(kExcludeWideCellName, kExcludeCellSize * sizeof(wchar_t)));
  UniqueView wideView(wideMapping ? MapViewOfFile(wideMapping.Get(), kCellOpenAccess, 0, 0, 0) : nullptr);
  if (!wideView) {
    Close();
    return false;
  }
  excludeWide_ = static_cast<wchar_t*>(wideView.Get());
  excludeWideMapping_ = std::move(wideMapping);
  excludeWideView_ = std::move(wideView);
  for (int key = 0; key < CELL_COUNT; ++key) {
    UniqueHandle mapping(acquire(cellNames[key], sizeof(int32_t)));
    if (!mapping) break;
    UniqueView view(MapViewOfFile(mapping.Get(), kCellOpenAccess, 0, 0, 0));
    if (!view) break;
    cells_[key] = static_cast<int32_t*>(view.Get());
    mappings_[key] = std::move(mapping);
    views_[key] = std::move(view);
  }
  if (cells_[CELL_COUNT - 1] != nullptr) return true;
  Close();
  return false;
}

bool CellViews::Create() {
  CellSecurity security;
  return MapAll([&security](const char* name, DWORD size) {
    HANDLE made = CreateFileMappingA(INVALID_HANDLE_VALUE, security.Attributes(), PAGE_READWRITE, 0, size, name);
    // A cell some process still holds from an earlier run grants read and
    // write alone, less than a create asks for: it is opened instead.
    if (made == nullptr && GetLastError() == ERROR_ACCESS_DENIED) made = OpenFileMappingA(kCellOpenAccess, FALSE, name);
    return made;
  });
}

bool CellViews::Open() {
  return MapAll([](const char* name, DWORD) { return OpenFileMappingA(kCellOpenAccess, FALSE, name); });
}

void CellViews::Close() {
  for (int key = 0; key < CELL_COUNT; ++key) {
    cells_[key] = nullptr;
    views_[key].Reset();
    mappings_[key].Reset();
  }
  exclude_ = nullptr;
  excludeView_.Reset();
  excludeMapping_.Reset();
  excludeWide_ = nullptr;
  excludeWideView_.Reset();
  excludeWideMapping_.Reset();
}

void CellViews::WriteExcludeList(const wchar_t* list) const {
  if (excludeWide_ == nullptr || cells_[CELL_EXCLUDESERIAL] == nullptr) return;
  char ansi[kExcludeCellSize] = {};
  if (list != nullptr && WideCharToMultiByte(CP_ACP, 0, list, -1, ansi, kExcludeCellSize, nullptr, nullptr) == 0) {
    ansi[0] = '\0';
  }
  // Odd while the text changes: a reader that sees an odd or changed serial
  // reads again.
  Cell(cells_[CELL_EXCLUDESERIAL]).fetch_add(1);
  StoreText(excludeWide_, list);
  StoreText(exclude_, ansi);
  Cell(cells_[CELL_EXCLUDESERIAL]).fetch_add(1);
}

bool CellViews::ReadExcludeList(wchar_t* out, int32_t* serial) const {
  out[0] = L'\0';
  *serial = 0;
  if (excludeWide_ == nullptr || cells_[CELL_EXCLUDESERIAL] == nullptr) return false;
  const int32_t before = Cell(cells_[CELL_EXCLUDESERIAL]).load();
  for (int at = 0; at < kExcludeCellSize; ++at) out[at] = Letter(excludeWide_, at).load(std::memory_order_relaxed);
  out[kExcludeCellSize - 1] = L'\0';
  // The copy is read before the serial is read again.
  std::atomic_thread_fence(std::memory_order_acquire);
  const int32_t after = Cell(cells_[CELL_EXCLUDESERIAL]).load();
  // The serial from before the copy: a decision kept under it is made again
  // as soon as the serial moves on.
  *serial = before;
  return (before & 1) == 0 && after == before;
}

bool CellViews::ReadExcludeListSettled(wchar_t* out, int32_t* serial) const {
  for (int tries = 0; tries < kExcludeReadTries; ++tries) {
    if (ReadExcludeList(out, serial)) return true;
  }
  return false;
}

int32_t CellViews::Read(CellKey key) const {
  int32_t* cell = cells_[key];
  return cell != nullptr ? Cell(cell).load(std::memory_order_relaxed) : 0;
}

void CellViews::Write(CellKey key, int32_t value) const {
  int32_t* cell = cells_[key];
  if (cell != nullptr) Cell(cell).store(value, std::memory_order_relaxed);
}

int32_t CellViews::CompareExchange(CellKey key, int32_t expected, int32_t desired) const {
  int32_t* cell = cells_[key];
  if (cell == nullptr) return 0;
  int32_t held = expected;  // what the cell held: expected on success, the value found otherwise
  Cell(cell).compare_exchange_strong(held, desired);
  return held;
}

const CellViews* CachedCells::Get() {
  if (state_.load(std::memory_order_acquire) == kOpen) return &views_;
  // Tick arithmetic wraps, so the schedule holds across the counter's rollover.
  if (tried_.load(std::memory_order_relaxed) &&
      GetTickCount() - lastTry_.load(std::memory_order_relaxed) < kCellRetryMs) {
    return nullptr;
  }
  return TryOpen();
}

const CellViews* CachedCells::GetNow() {
  if (state_.load(std::memory_order_acquire) == kOpen) return &views_;
  return TryOpen();
}

const CellViews* CachedCells::TryOpen() {
  int expected = kClosed;
  if (!state_.compare_exchange_strong(expected, kOpening, std::memory_order_acquire)) {
    return expected == kOpen ? &views_ : nullptr;
  }
  lastTry_.store(GetTickCount(), std::memory_order_relaxed);
  tried_.store(true, std::memory_order_relaxed);
  bool opened = views_.Open();
  state_.store(opened ? kOpen : kClosed, std::memory_order_release);
  return opened ? &views_ : nullptr;
}

void CachedCells::Release() {
  state_.store(kClosed, std::memory_order_release);
  views_.Close();
  tried_.store(false, std::memory_order_relaxed);
}
