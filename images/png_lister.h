// How the folder scan finds a folder's PNG files: the platform lists them (with
// its own search and its own rule for double-byte file names), the scan
// decides what each file becomes.
#pragma once

// Tells whether a byte starts a double-byte character of the file names.
using LeadByteRule = bool (*)(unsigned char byte);

enum class FolderState { kPresent, kMissing, kIsFile };

// Takes the file names one by one; false ends the listing.
class PngFileVisitor {
 public:
  virtual bool File(const char* name) = 0;

 protected:
  ~PngFileVisitor() = default;
};

class PngLister {
 public:
  virtual ~PngLister() = default;
  // Whether the folder is there, and for one that is, the name of every
  // *.png file directly in it (not of folders named so), in the file system's
  // order. Called on the folder load's worker thread.
  virtual FolderState ListPngFiles(const char* folder, PngFileVisitor* visitor) const = 0;
  // What joins a folder and a file name into a path.
  virtual char Separator() const = 0;
  // The rule the "_fix" and "_anm" markers are searched by.
  virtual LeadByteRule LeadBytes() const = 0;
};

// For file names without double-byte characters (UTF-8 names have no byte
// that could be mistaken for part of a marker).
bool NoLeadByte(unsigned char byte);
