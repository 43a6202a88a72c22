// The program's side of the shared cells: it creates them and keeps the
// reaction switches in them up to date; it never reads a cell.
#pragma once

// Creates every cell in order and writes its first value: the main window's
// handle into mainhwnd, 0 into the other twelve.
void SetUpMMFile();

// Copies the four reaction switches of Settings into their cells.
void UpdateMMFile();
