#include "images/win32/win32_sources.h"

#include <windows.h>

#include <cstdio>

#include "base/owned_handles.h"
#include "base/resource_ids.h"
#include "images/folder_scan.h"

namespace {

bool SystemLeadByte(unsigned char byte) { return IsDBCSLeadByte(byte) != 0; }

struct FindTraits {
  static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
  static void Free(HANDLE search) { FindClose(search); }
};
using UniqueFind = Owned<HANDLE, FindTraits>;

}  // namespace

FolderState Win32PngLister::ListPngFiles(const char* folder, PngFileVisitor* visitor) const {
  DWORD attributes = GetFileAttributesA(folder);
  if (attributes == INVALID_FILE_ATTRIBUTES) return FolderState::kMissing;
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) return FolderState::kIsFile;
  char pattern[kFolderPathSize];
  int length = std::snprintf(pattern, sizeof pattern, "%s\\*.png", folder);
  if (length < 0 || length >= static_cast<int>(sizeof pattern)) return FolderState::kPresent;
  WIN32_FIND_DATAA entry;
  UniqueFind search(FindFirstFileA(pattern, &entry));
  if (!search) return FolderState::kPresent;
  do {
    // A folder named like a picture holds no picture of its own.
    if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    if (!visitor->File(entry.cFileName)) break;
  } while (FindNextFileA(search.Get(), &entry));
  return FolderState::kPresent;
}

LeadByteRule Win32PngLister::LeadBytes() const { return SystemLeadByte; }

Payload FindBitArray(int id) {
  HMODULE module = GetModuleHandleA(nullptr);
  HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), "BITARRAY");
  if (found == nullptr) return Payload{nullptr, 0};
  HGLOBAL loaded = LoadResource(module, found);
  const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
  if (bytes == nullptr) return Payload{nullptr, 0};
  return Payload{static_cast<const uint8_t*>(bytes), SizeofResource(module, found)};
}

Payload Win32ArtworkPayloads::Find(BuiltInArt art) const {
  switch (art) {
    case BuiltInArt::kStar: return FindBitArray(IDR_STAR_ART);
    case BuiltInArt::kStarLarge: return FindBitArray(IDR_STAR_LARGE_ART);
    case BuiltInArt::kDigits: return FindBitArray(IDR_DIGITS_ART);
    case BuiltInArt::kDigitsMask: return FindBitArray(IDR_DIGITS_MASK_ART);
    case BuiltInArt::kPoof: return FindBitArray(IDR_POOF_ART);
    case BuiltInArt::kVersion: return FindBitArray(IDR_VERSION_ART);
    case BuiltInArt::kVersionEn: return FindBitArray(IDR_VERSION_EN_ART);
  }
  return Payload{nullptr, 0};
}

const Win32PngLister& PngFilesOfFolders() {
  static const Win32PngLister lister;
  return lister;
}

const Win32ArtworkPayloads& ProgramArtwork() {
  static const Win32ArtworkPayloads payloads;
  return payloads;
}
