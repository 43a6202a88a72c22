// The named 32-bit cells that the program and the hook library share. One
// list for both deliverables: the order is the order the program creates them.
#pragma once
#include <cstdint>

enum CellKey : int {
  CELL_MAINHWND,
  CELL_HHOOKMOUSE,
  CELL_HHOOKKEY,
  CELL_PREVDISTANCE,
  CELL_MOUSEX,
  CELL_MOUSEY,
  CELL_MOUSEDOWN,
  CELL_REACTMOUSECLICK,
  CELL_REACTMOUSEMOVE,
  CELL_REACTKEY,
  CELL_REACTENTERKEY,
  CELL_DIRECTIONX,
  CELL_DIRECTIONY,
  // The tick at which the hook posted a move message that the program has
  // not taken yet (0: none), so that at most one move waits.
  CELL_HOOKPENDING,
  // Changes each time the program writes the list of programs left alone, so
  // that every process decides about itself again.
  CELL_EXCLUDESERIAL,
  // The same turn for keys: a held key or a key-sending tool cannot fill the
  // program's queue; keys that come while one waits are merged into it.
  CELL_KEYPENDING,
  // The serial of the last click the hook delivered (never 0): a click whose
  // bounded send was not taken in time is posted again under the same
  // serial, and the program takes each serial once.
  CELL_CLICKSERIAL,
  CELL_COUNT
};

// The list of programs left alone (EXCLUDE): text of this many characters
// with its NUL, in a mapping of its own, as UTF-16 (the hook library reads
// this one) and in the ANSI code page (kept for a library of an earlier
// version), both written under one serial.
constexpr int kExcludeCellSize = 1024;
inline constexpr const char kExcludeCellName[] = "pipwink_mmfile_exclude";
inline constexpr const char kExcludeWideCellName[] = "pipwink_mmfile_excludew";

// Full mapping names, with no namespace prefix, indexed by CellKey.
inline constexpr const char* const cellNames[CELL_COUNT] = {
    "pipwink_mmfile_mainhwnd",        "pipwink_mmfile_hhookmouse",
    "pipwink_mmfile_hhookkey",        "pipwink_mmfile_prevdistance",
    "pipwink_mmfile_mousex",          "pipwink_mmfile_mousey",
    "pipwink_mmfile_mousedown",       "pipwink_mmfile_reactmouseclick",
    "pipwink_mmfile_reactmousemove",  "pipwink_mmfile_reactkey",
    "pipwink_mmfile_reactenterkey",   "pipwink_mmfile_directionx",
    "pipwink_mmfile_directiony",      "pipwink_mmfile_hookpending",
    "pipwink_mmfile_excludeserial",   "pipwink_mmfile_keypending",
    "pipwink_mmfile_clickserial",
};

// Window and hook handles travel through a 32-bit cell: user handles keep
// their value in the low 32 bits, and are sign-extended back.
inline int32_t HandleToCell(const void* handle) {
  return static_cast<int32_t>(reinterpret_cast<intptr_t>(handle));
}
template <typename H>
inline H CellToHandle(int32_t value) {
  return reinterpret_cast<H>(static_cast<intptr_t>(value));
}
