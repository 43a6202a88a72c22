#include "app/ini_place_rules.h"

#include <gtest/gtest.h>

#include <string>

namespace {

IniPlaceFacts Facts(bool besideExists, bool besideWritable, bool appDataExists, bool appDataWritable,
                    bool appDataKnown = true) {
  return {besideExists, besideWritable, appDataKnown, appDataExists, appDataWritable};
}

TEST(ChooseIniPlace, BesideTheProgramWheneverItCanBeWrittenThere) {
  for (bool besideExists : {false, true}) {
    for (bool appDataExists : {false, true}) {
      IniPlaceChoice choice = ChooseIniPlace(Facts(besideExists, true, appDataExists, true));
      EXPECT_EQ(choice.place, INI_BESIDE_PROGRAM) << besideExists << appDataExists;
      EXPECT_FALSE(choice.copyBesideFirst);
      EXPECT_TRUE(choice.writable);
    }
  }
}

TEST(ChooseIniPlace, AnUnwritableProgramFolderMovesToAppDataSeededOnceFromTheCopyBeside) {
  IniPlaceChoice first = ChooseIniPlace(Facts(true, false, false, true));
  EXPECT_EQ(first.place, INI_APP_DATA);
  EXPECT_TRUE(first.copyBesideFirst) << "the settings beside the program are where the user starts from";
  EXPECT_TRUE(first.writable);

  IniPlaceChoice later = ChooseIniPlace(Facts(true, false, true, true));
  EXPECT_EQ(later.place, INI_APP_DATA);
  EXPECT_FALSE(later.copyBesideFirst) << "the settings saved since are never overwritten";

  IniPlaceChoice none = ChooseIniPlace(Facts(false, false, false, true));
  EXPECT_EQ(none.place, INI_APP_DATA);
  EXPECT_FALSE(none.copyBesideFirst) << "nothing to copy: the defaults are written";
}

TEST(ChooseIniPlace, NowhereWritableReadsTheFileThatExistsAndSavesNothing) {
  IniPlaceChoice beside = ChooseIniPlace(Facts(true, false, false, false));
  EXPECT_EQ(beside.place, INI_BESIDE_PROGRAM);
  EXPECT_FALSE(beside.writable);
  EXPECT_FALSE(beside.copyBesideFirst);

  IniPlaceChoice appData = ChooseIniPlace(Facts(true, false, true, false));
  EXPECT_EQ(appData.place, INI_APP_DATA) << "the application data copy is the newer one";
  EXPECT_FALSE(appData.writable);

  IniPlaceChoice unknown = ChooseIniPlace(Facts(false, false, true, true, false));
  EXPECT_EQ(unknown.place, INI_BESIDE_PROGRAM) << "without an application data folder there is only beside";
  EXPECT_FALSE(unknown.writable);
}

TEST(WidePaths, TheProgramFolderKeepsItsBackslashAndJoinsTheFileName) {
  wchar_t path[64] = L"C:\\ソフト\\Tovik2.exe";
  CutAfterLastBackslashW(path);
  EXPECT_EQ(std::wstring(path), L"C:\\ソフト\\");
  ASSERT_EQ(JoinWidePath(path, L"tovik2.ini", path, 64), 1) << "out may be the folder's own buffer";
  EXPECT_EQ(std::wstring(path), L"C:\\ソフト\\tovik2.ini");

  wchar_t bare[16] = L"Tovik2.exe";
  CutAfterLastBackslashW(bare);
  EXPECT_EQ(std::wstring(bare), L"");
}

TEST(WidePaths, APathThatWouldNotFitIsRefusedWhole) {
  wchar_t out[12];
  EXPECT_EQ(JoinWidePath(L"C:\\a\\", L"b.ini", out, 12), 1);
  EXPECT_EQ(std::wstring(out), L"C:\\a\\b.ini");
  EXPECT_EQ(JoinWidePath(L"C:\\ab\\", L"bc.ini", out, 12), 0) << "12 characters and the NUL";
  EXPECT_EQ(std::wstring(out), L"");
}

}  // namespace
