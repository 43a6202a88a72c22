// The program's side of the shared cells: it creates them, keeps the reaction
// switches in them up to date and takes the hook's pending move or key.
// It keeps its views of the cells for its whole run.
#pragma once

// Creates (or, when a set is left by an earlier run, reopens) every cell in
// order and writes its first value: the main window's handle into mainhwnd,
// 0 into all the others.
void SetUpMMFile();

// Copies the four reaction switches of Settings and the list of programs left
// alone into their cells.
void UpdateMMFile();

// The hook's posted move or key message has been taken: the next may come.
void ClearHookPending();
