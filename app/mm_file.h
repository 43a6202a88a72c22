// The program's side of the shared cells: it creates them, keeps the reaction
// switches and the list of programs left alone in them up to date, and takes
// the hook's pending move. The main window holds one for its life; its views
// are kept, and its handles keep the cells alive meanwhile.
#pragma once
#include <windows.h>

#include <cstddef>

#include "base/settings.h"
#include "cells/cell_views.h"

class ProgramCells {
 public:
  // Creates (or, when a set is left by an earlier run, reopens) every cell in
  // order and writes its first value: the main window's handle into mainhwnd,
  // 0 into all the others but the list's serial, which is only made even. False when a cell cannot be
  // made: the hooks then find no cells and only pass input on.
  bool SetUpMMFile(HWND mainWindow);

  // Copies the four reaction switches and the list of programs left alone
  // into their cells. An entry of the list that can be no program name is
  // left out, and the first such entry kept to be told.
  void UpdateMMFile(const SettingsRecord& settings);
  // The first entry the last list dropped (cut to kDroppedEntrySize), once:
  // false when there is none or it was taken already.
  static constexpr size_t kDroppedEntrySize = 64;
  bool TakeDroppedExcludeEntry(wchar_t* out, size_t outSize);

  // The hook's posted move message has been taken: the next may come.
  void ClearHookPending();
  // The same for the hook's posted key message.
  void ClearKeyPending();

 private:
  // Written for every move the hook posts, so kept mapped.
  CellViews cells_;
  wchar_t dropped_[kDroppedEntrySize] = {};
};
