#include "app/picture_messages.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

void Put(UiTextBlock& texts, int slot, const wchar_t* text) { std::swprintf(texts.slot[slot], kTextSize, L"%ls", text); }

UiTextBlock Texts() {
  UiTextBlock texts{};
  Put(texts, TEXT_SOME_UNREADABLE, L"some unreadable");
  Put(texts, TEXT_FOLDER_UNUSABLE, L"nothing usable\nbuilt-in used");
  Put(texts, TEXT_FOLDER_MISSING, L"no such folder");
  Put(texts, TEXT_FOLDER_IS_FILE, L"a file, not a folder");
  Put(texts, TEXT_USING_DEFAULT, L"built-in used");
  Put(texts, TEXT_NO_PICTURE, L"nothing to show");
  Put(texts, TEXT_MORE_FILES, L"and %d more");
  Put(texts, TEXT_FOLDER_LOADED, L"folder loaded");
  return texts;
}

// ASCII stands for the code page here: each byte becomes its character.
void Widen(const char* text, wchar_t* out, size_t size) {
  size_t at = 0;
  for (; at + 1 < size && text[at] != '\0'; ++at) out[at] = static_cast<unsigned char>(text[at]);
  out[at] = L'\0';
}

std::string Narrow(const wchar_t* text) {
  std::string narrow;
  for (; *text != L'\0'; ++text) narrow += static_cast<char>(*text);
  return narrow;
}

FolderScanReport Failed(int count) {
  FolderScanReport scan{};
  for (int k = 0; k < count; ++k) NoteFailedFile(&scan, ("f" + std::to_string(k) + ".png").c_str());
  return scan;
}

// The message of a scan; a report that names no folder stands for one of C:\pics.
std::string Compose(FolderScanReport scan, int gotPictures, int starField, const UiTextBlock& texts = Texts()) {
  wchar_t out[kFolderMessageSize];
  std::swprintf(out, kFolderMessageSize, L"untouched");
  if (scan.folder[0] == '\0') std::snprintf(scan.folder, sizeof scan.folder, "C:\\pics");
  if (!ComposeFolderMessage(out, kFolderMessageSize, texts, scan, gotPictures, starField, Widen)) {
    return "(none)";
  }
  return Narrow(out);
}

// The message of a held report, of a scan of D:\\game pics.
std::string ComposeHeld(FolderScanReport scan, int gotPictures, size_t size = kFolderMessageSize) {
  wchar_t out[kFolderMessageSize];
  std::swprintf(out, kFolderMessageSize, L"untouched");
  std::snprintf(scan.folder, sizeof scan.folder, "D:\\game pics");
  if (!ComposeHeldFolderMessage(out, size, Texts(), scan, gotPictures, Widen)) return "(none)";
  return Narrow(out);
}

}  // namespace

// A missing folder, a file given as the folder, and a folder of nothing usable
// are told apart; the star field adds that its built-in star stands in.
TEST(FolderMessages, TellTheFolderProblemsApart) {
  FolderScanReport missing{};
  missing.folderMissing = 1;
  EXPECT_EQ(Compose(missing, 0, 1), "no such folder\nC:\\pics\nbuilt-in used");
  EXPECT_EQ(Compose(missing, 0, 0), "no such folder\nC:\\pics");
  FolderScanReport file{};
  file.folderIsFile = 1;
  EXPECT_EQ(Compose(file, 0, 1), "a file, not a folder\nC:\\pics\nbuilt-in used");
  EXPECT_EQ(Compose(FolderScanReport{}, 0, 1), "nothing usable\nbuilt-in used");
  EXPECT_EQ(Compose(FolderScanReport{}, 0, 0), "nothing to show") << "an empty test display says so";
  EXPECT_EQ(Compose(FolderScanReport{}, 1, 1), "(none)");
  EXPECT_EQ(Compose(FolderScanReport{}, 1, 0), "(none)");
}

// The folder named is the one the report says was scanned, whichever it is.
TEST(FolderMessages, NameTheFolderTheScanLookedAt) {
  FolderScanReport other{};
  other.folderMissing = 1;
  std::snprintf(other.folder, sizeof other.folder, "D:\\other pictures");
  EXPECT_EQ(Compose(other, 0, 1), "no such folder\nD:\\other pictures\nbuilt-in used");
}

// Unreadable files are named, the first five, then counted.
TEST(FolderMessages, NameTheFirstUnreadableFilesAndCountTheRest) {
  EXPECT_EQ(Compose(Failed(1), 1, 1), "some unreadable\n\nf0.png");
  EXPECT_EQ(Compose(Failed(2), 0, 0), "nothing to show\n\nf0.png\nf1.png");
  EXPECT_EQ(Compose(Failed(5), 0, 1), "nothing usable\nbuilt-in used\n\nf0.png\nf1.png\nf2.png\nf3.png\nf4.png");
  EXPECT_EQ(Compose(Failed(12), 1, 0), "some unreadable\n\nf0.png\nf1.png\nf2.png\nf3.png\nf4.png\nand 7 more");
  // A count text without its mark still gives the count; a '%' in a file name
  // is only a character.
  UiTextBlock plain = Texts();
  Put(plain, TEXT_MORE_FILES, L"more:");
  FolderScanReport scan = Failed(5);
  NoteFailedFile(&scan, "x.png");
  EXPECT_EQ(Compose(scan, 1, 1, plain), "some unreadable\n\nf0.png\nf1.png\nf2.png\nf3.png\nf4.png\nmore: 1");
  FolderScanReport odd{};
  NoteFailedFile(&odd, "100%d%s.png");
  EXPECT_EQ(Compose(odd, 1, 1), "some unreadable\n\n100%d%s.png");
}

// Long names are cut, never written past the message's end.
TEST(FolderMessages, StayWithinTheirBuffer) {
  FolderScanReport scan{};
  std::string longName(400, 'n');
  for (int k = 0; k < 7; ++k) NoteFailedFile(&scan, longName.c_str());
  EXPECT_EQ(std::string(scan.failedNames[0]).size(), static_cast<size_t>(kFailedNameSize - 1));
  EXPECT_EQ(scan.failedFiles, 7);
  wchar_t out[64];
  ASSERT_EQ(ComposeFolderMessage(out, 64, Texts(), scan, 1, 1, Widen), 1);
  EXPECT_EQ(Narrow(out), "some unreadable\n\n" + std::string(64 - 18, 'n'));
}

// A report held back while a full-screen program was in front comes later, so
// it first names the folder whose load it tells of; one that names the folder
// already is not given it twice, and a load that went well tells nothing.
TEST(HeldFolderMessages, NameTheLoadedFolderFirst) {
  EXPECT_EQ(ComposeHeld(Failed(1), 1), "folder loaded\nD:\\game pics\n\nsome unreadable\n\nf0.png");
  EXPECT_EQ(ComposeHeld(Failed(2), 0),
            "folder loaded\nD:\\game pics\n\nnothing usable\nbuilt-in used\n\nf0.png\nf1.png");
  FolderScanReport missing{};
  missing.folderMissing = 1;
  EXPECT_EQ(ComposeHeld(missing, 0), "no such folder\nD:\\game pics\nbuilt-in used");
  EXPECT_EQ(ComposeHeld(FolderScanReport{}, 1), "(none)");
  EXPECT_EQ(ComposeHeld(Failed(1), 1, 20), "folder loaded\nD:\\ga") << "cut at the buffer's end";
}
