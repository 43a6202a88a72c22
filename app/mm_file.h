// The program's side of the shared cells: it creates them, keeps the reaction
// switches and the list of programs left alone in them up to date, and takes
// the hook's pending move. The main window holds one for its life; its views
// are kept, and its handles keep the cells alive meanwhile.
#pragma once
#include <windows.h>

#include "base/settings.h"
#include "cells/cell_views.h"

class ProgramCells {
 public:
  // Creates (or, when a set is left by an earlier run, reopens) every cell in
  // order and writes its first value: the main window's handle into mainhwnd,
  // 0 into all the others but the list's serial. False when a cell cannot be
  // made: the hooks then find no cells and only pass input on.
  bool SetUpMMFile(HWND mainWindow);

  // Copies the four reaction switches and the list of programs left alone
  // into their cells.
  void UpdateMMFile(const SettingsRecord& settings);

  // The hook's posted move message has been taken: the next may come.
  void ClearHookPending();

 private:
  // Written for every move the hook posts, so kept mapped.
  CellViews cells_;
};
