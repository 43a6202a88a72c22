// What the user is told after a scan of the picture folder: at the star
// field's start, or for the settings dialog's test display.
#pragma once
#include <cstddef>

#include "base/ui_texts.h"
#include "images/folder_scan.h"

// Room for the longest message: a few lines of text and the names of the
// first few files that could not be read.
constexpr size_t kFolderMessageSize = 2048;

// Turns a path in the ANSI code page into UTF-16 (out holds size characters
// and is always NUL-terminated); the caller gives the platform's conversion.
using AnsiToWide = void (*)(const char* text, wchar_t* out, size_t size);

// Writes the message that the scan calls for into out (size wide characters)
// and returns 1, or returns 0 when all went well. The folder named is the one
// the report says was scanned, so a message never names another. gotPictures:
// the scan gave at least one picture. starField: the star field's start,
// where the built-in star stands in when the folder gives nothing (else the
// test display, which shows nothing then). Unreadable files are named, the
// first few of them.
int ComposeFolderMessage(wchar_t* out, size_t size, const UiTextBlock& texts, const FolderScanReport& scan,
                         int gotPictures, int starField, AnsiToWide widen);

// The star field's message about a load, for a report held back while a
// full-screen program was in front and shown once it left: it may come long
// after the folder was chosen, so it first says which folder's load it is
// about (a message about a missing folder, or a file, names it already).
// Returns what ComposeFolderMessage returns.
int ComposeHeldFolderMessage(wchar_t* out, size_t size, const UiTextBlock& texts, const FolderScanReport& scan,
                             int gotPictures, AnsiToWide widen);
