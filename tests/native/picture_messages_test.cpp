#include "app/picture_messages.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

UiTextBlock Texts() {
  UiTextBlock texts{};
  auto put = [&](int slot, const char* text) { std::snprintf(texts.slot[slot], kTextSize, "%s", text); };
  put(TEXT_SOME_UNREADABLE, "some unreadable");
  put(TEXT_FOLDER_UNUSABLE, "nothing usable\nbuilt-in used");
  put(TEXT_FOLDER_MISSING, "no such folder");
  put(TEXT_FOLDER_IS_FILE, "a file, not a folder");
  put(TEXT_USING_DEFAULT, "built-in used");
  put(TEXT_NO_PICTURE, "nothing to show");
  put(TEXT_MORE_FILES, "and %d more");
  return texts;
}

FolderScanReport Failed(int count) {
  FolderScanReport scan{};
  for (int k = 0; k < count; ++k) NoteFailedFile(&scan, ("f" + std::to_string(k) + ".png").c_str());
  return scan;
}

std::string Compose(const FolderScanReport& scan, int gotPictures, int starField, const UiTextBlock& texts = Texts()) {
  char out[kFolderMessageSize];
  std::snprintf(out, sizeof out, "untouched");
  if (!ComposeFolderMessage(out, sizeof out, texts, "C:\\pics", scan, gotPictures, starField)) return "(none)";
  return out;
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

// Unreadable files are named, the first five, then counted.
TEST(FolderMessages, NameTheFirstUnreadableFilesAndCountTheRest) {
  EXPECT_EQ(Compose(Failed(1), 1, 1), "some unreadable\n\nf0.png");
  EXPECT_EQ(Compose(Failed(2), 0, 0), "nothing to show\n\nf0.png\nf1.png");
  EXPECT_EQ(Compose(Failed(5), 0, 1), "nothing usable\nbuilt-in used\n\nf0.png\nf1.png\nf2.png\nf3.png\nf4.png");
  EXPECT_EQ(Compose(Failed(12), 1, 0), "some unreadable\n\nf0.png\nf1.png\nf2.png\nf3.png\nf4.png\nand 7 more");
  // A count text without its mark still gives the count; a '%' in a file name
  // is only a character.
  UiTextBlock plain = Texts();
  std::snprintf(plain.slot[TEXT_MORE_FILES], kTextSize, "more:");
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
  char out[64];
  ASSERT_EQ(ComposeFolderMessage(out, sizeof out, Texts(), "C:\\pics", scan, 1, 1), 1);
  EXPECT_EQ(std::string(out), "some unreadable\n\n" + std::string(sizeof out - 18, 'n'));
}
