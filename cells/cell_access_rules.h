// Who may open the shared cells. A copy run as administrator makes them at
// high integrity, where the hook library inside the user's ordinary
// programs could not write them; so every cell gets a descriptor that lets
// the user's own processes read and write it, down to medium integrity, and
// nobody else anything.
#pragma once
#include <cstddef>
#include <cstdint>

// The rights a process asks for when it opens a cell: read and write, not
// the full set (that would also need rights the descriptor never grants).
constexpr uint32_t kCellOpenAccess = 0x0004u | 0x0002u;  // FILE_MAP_READ | FILE_MAP_WRITE

// The descriptor as SDDL for the user given as a string SID ("S-1-5-21-..."):
// generic read and write for that user alone, nothing inherited, and a
// medium label that keeps lower-integrity processes from writing. 1 on
// success; 0, with out empty, when the SID is no SID or the text won't fit.
//
// A copy elevated over the shoulder (with another account's credentials)
// runs as that account while the desktop's programs run as the signed-in
// user: `desktopUserSid`, when given and another, gets the same entry, or
// the user's own programs could not write the cells and would make no stars.
// A desktop user that is no SID is left out; the program's own still counts.
int ComposeCellSddl(const wchar_t* userSid, wchar_t* out, size_t outSize, const wchar_t* desktopUserSid = nullptr);
