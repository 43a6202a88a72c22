// What a scan of the picture folder found wrong, for the shell to tell. No
// platform calls here.
#pragma once

constexpr int kNamedFailedFiles = 5;     // files named at most; the rest are counted
constexpr int kFailedNameSize = 260;
// Folder texts (the test display's edit text) may be this long.
constexpr int kFolderPathSize = 4096;
struct FolderScanReport {
  char folder[kFolderPathSize];  // the folder scanned: what every message about the scan names
  int folderMissing;  // no such folder
  int folderIsFile;   // the path names a file, not a folder
  int failedFiles;    // *.png files that did not become pictures
  char failedNames[kNamedFailedFiles][kFailedNameSize];  // the first of them, by file name
  int picturesLeftOut;  // the folder held more PNG files than kMaxFolderPictures: the rest were not read
};

// Counts a file that did not become a picture, keeping its name among the
// first few.
void NoteFailedFile(FolderScanReport* report, const char* name);
