// Where Win32 keeps what the pictures are made from: the picture folder's PNG
// files (FindFirstFileA in the system code page, whose lead bytes the markers
// respect) and the built-in artwork's payloads (BITARRAY resources of the
// program file).
#pragma once
#include "images/artwork_payload.h"
#include "images/png_lister.h"

class Win32PngLister final : public PngLister {
 public:
  FolderState ListPngFiles(const char* folder, PngFileVisitor* visitor) const override;
  char Separator() const override { return '\\'; }
  LeadByteRule LeadBytes() const override;
};

class Win32ArtworkPayloads final : public ArtworkPayloads {
 public:
  Payload Find(BuiltInArt art) const override;
};

// The lister and payloads every Win32 picture user shares: stateless, and in
// static storage, so an abandoned folder load may use the lister for good.
const Win32PngLister& PngFilesOfFolders();
const Win32ArtworkPayloads& ProgramArtwork();

// The bytes of BITARRAY resource id of the program file, mapped for the
// process's life; {null, 0} when it is missing.
Payload FindBitArray(int id);
