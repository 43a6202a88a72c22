// Lists of Win32 star pictures (bitmaps made at once): from the PNG files of
// a folder, or from the built-in star, made by the picture code of images/.
// What went wrong is returned; telling the user is the shell's business.
#pragma once
#include <cstdint>

#include "images/folder_scan.h"
#include "images/star_pixels.h"
#include "images/win32/image_set.h"

// The marker search over ANSI text in the system code page.
int SearchSubString(const char* text, const char* pattern);

// 1 when the file became an ImageSet appended to list, else 0. "_fix" in the
// path keeps the picture's size (otherwise it is reduced to fit 72 x 72);
// "_anm" cuts it into square frames along its long side. A stop that is set
// (stop may be null) ends the load with 0 at the next row decoded.
int PrepairStarImageByFile(const char* path, ImageList<ImageSet>* list, const StopSignal* stop = nullptr);

// Every *.png file directly in the folder, in the file system's order
// (folders whose names end in .png are passed over), at most
// kMaxFolderPictures. Nonzero when list holds
// at least one picture afterwards; *report (when given) names the folder and
// says whether it was missing or a file, and which files did not become pictures. Once
// stop (when given) is set, the scan ends at the next row decoded, and the
// file it was loading is not counted as broken.
int PrepairStarImageByFolder(const char* folder, ImageList<ImageSet>* list, FolderScanReport* report = nullptr,
                             const StopSignal* stop = nullptr);

// The built-in star (BITARRAY resourceId of width x height) at full size, 48
// and 32 into list. 0 when it cannot be made: the program cannot run.
int PrepairStarImage(int resourceId, int32_t width, int32_t height, ImageList<ImageSet>* list);

// The same from a source drawn larger (sourceSide square) than the star is
// shown (side square, then 48 and 32, each at the process's scale).
int PrepairStarImageFrom(int resourceId, int32_t sourceSide, int32_t side, ImageList<ImageSet>* list);

// The built-in star at the process's scale: reduced from the 72 pixel source
// at 100 %, from the one of twice that size above it, so that no size up to
// 200 % is enlarged.
int PrepairBuiltInStar(ImageList<ImageSet>* list);
