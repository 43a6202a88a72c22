// A picture folder on Linux: its PNG files, named in UTF-8 (or whatever bytes
// the file system holds; a name is passed on as it is).
#pragma once

enum class PngFolderState { kPresent, kMissing, kIsFile };

// Takes the file names one by one; false ends the listing.
class PngNameVisitor {
 public:
  virtual bool File(const char* name) = 0;

 protected:
  ~PngNameVisitor() = default;
};

// Whether the folder is there, and for one that is, the name of every file
// directly in it whose name ends in ".png" in any letter case (as the
// Windows program's search finds them), never a folder named so, in the file
// system's order.
PngFolderState ListPngFolder(const char* folder, PngNameVisitor* visitor);
