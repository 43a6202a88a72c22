// The cells mapped once and kept, so that each access is a plain load or
// store in shared memory instead of an open, a map, an unmap and a close.
//
// Each view is kept together with its mapping's handle. The handle keeps the
// cell's name alive: a program that starts again while some other process
// still holds a set opens these very cells (and resets them) rather than
// making new ones that the holder would never see.
//
// Threads of many processes read and write the cells at once, so every
// access is atomic (std::atomic_ref over the shared memory): a plain load or
// store where the order of other accesses does not matter, an interlocked
// step where it does.
#pragma once
#include <windows.h>

#include <atomic>
#include <cstdint>

#include "base/owned_handles.h"
#include "cells/cell_names.h"

class CellViews {
 public:
  // The program's side: creates every cell (or opens one left by an earlier
  // run, keeping its contents) and maps it. False, holding nothing, when any
  // cell can't be made or mapped.
  bool Create();
  // The hook library's side: opens the existing cells and maps them. False,
  // holding nothing, when one of them doesn't exist.
  bool Open();
  void Close();
  bool IsOpen() const { return cells_[0] != nullptr; }

  // 0 while not open.
  int32_t Read(CellKey key) const;
  // Nothing while not open.
  void Write(CellKey key, int32_t value) const;
  // Stores `desired` if the cell holds `expected`, as one step that no other
  // process can split; returns what the cell held (0 while not open).
  int32_t CompareExchange(CellKey key, int32_t expected, int32_t desired) const;

  // The program's side: stores the list of programs left alone (cut to the
  // cell), in UTF-16 and in the ANSI code page, and then changes its serial.
  void WriteExcludeList(const wchar_t* list) const;
  // Copies the UTF-16 list (kExcludeCellSize characters with the NUL) and gives the
  // serial read before the copy; false when the serial was odd (being
  // written) or changed during the copy: out then holds what was read. While
  // the cells are not open: false, out empty, serial 0.
  bool ReadExcludeList(wchar_t* out, int32_t* serial) const;
  // ReadExcludeList tried up to kExcludeReadTries times; false when none of
  // them gave a whole copy, out then holding the last one read. A program
  // that ended between the serial's two steps leaves it odd for good, so a
  // reader cannot wait for it to turn even.
  static constexpr int kExcludeReadTries = 4;
  bool ReadExcludeListSettled(wchar_t* out, int32_t* serial) const;

 private:
  template <typename Acquire>
  bool MapAll(Acquire acquire);

  UniqueHandle mappings_[CELL_COUNT];
  UniqueView views_[CELL_COUNT];
  int32_t* cells_[CELL_COUNT] = {};  // the start of each view: one aligned 32-bit value
  UniqueHandle excludeMapping_;
  UniqueView excludeView_;
  char* exclude_ = nullptr;
  UniqueHandle excludeWideMapping_;
  UniqueView excludeWideView_;
  wchar_t* excludeWide_ = nullptr;
};

// The hook library's hold on the cells in one process: opened on first use
// and kept while the library stays loaded there. Where the cells don't exist
// yet (the program isn't running) an open is tried again at most once per
// kCellRetryMs, not on every event. Input threads of the process may call at
// once: one of them opens, the others go on without cells meanwhile.
class CachedCells {
 public:
  static constexpr uint32_t kCellRetryMs = 1000;

  // The views while the cells are mapped, else null.
  const CellViews* Get();
  // The same, but a missing set is tried again now, whatever the schedule.
  const CellViews* GetNow();
  // Unmaps the cells; only when no procedure can run any more (unload).
  void Release();

 private:
  const CellViews* TryOpen();

  enum State : int { kClosed, kOpening, kOpen };
  CellViews views_;
  std::atomic<int> state_{kClosed};
  std::atomic<bool> tried_{false};
  std::atomic<uint32_t> lastTry_{0};
};
