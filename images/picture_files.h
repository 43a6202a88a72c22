// Pictures from PNG files: one file, or every PNG file of a folder as its
// lister finds them. What went wrong is returned; telling the user is the
// shell's business.
#pragma once
#include <cstdint>

#include "images/folder_scan.h"
#include "images/image_list.h"
#include "images/picture.h"
#include "images/png_lister.h"
#include "images/star_pixels.h"

// A folder gives at most this many pictures: each costs the platform a
// drawing surface of its own (two GDI objects on Win32, whose quota is 10,000
// a process), so a folder of thousands must not exhaust it.
constexpr int32_t kMaxFolderPictures = 2000;

// The file's picture: "_fix" in the path keeps its size (otherwise it is
// reduced to fit 72 x 72), "_anm" cuts it into square frames along its long
// side. Null on any failure, and once stop (may be null) is set.
PicturePtr PictureFromFile(const char* path, LeadByteRule leadBytes, const StopSignal* stop = nullptr);

// Every PNG file of the folder the lister names, in its order, appended to
// list as pictures (the list owns them from then on; release them with
// ReleasePictures). Nonzero when list holds at least one picture afterwards.
// *report (when given) names the folder, says whether it was missing or a
// file, which files did not become pictures and whether files beyond
// kMaxFolderPictures were left out. Once stop (when given) is set, the scan
// ends at the next row decoded, and the file it was loading is not counted
// as broken.
int ScanPictureFolder(const char* folder, const PngLister& lister, ImageList<Picture>* list,
                      FolderScanReport* report = nullptr, const StopSignal* stop = nullptr);

// Removes and deletes every picture of the list.
void ReleasePictures(ImageList<Picture>* list);
