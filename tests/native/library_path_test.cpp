#include "cells/library_path.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(PathBesideModule, ReplacesTheFileNameAfterTheLastSeparator) {
  wchar_t out[260];
  ASSERT_EQ(PathBesideModule(L"C:\\Program Files\\Tovik2\\Tovik2.exe", kHookLibraryFile, out, 260), 1);
  EXPECT_EQ(std::wstring(out), L"C:\\Program Files\\Tovik2\\nivlet2.dll");
  ASSERT_EQ(PathBesideModule(L"Z:/tmp/run/Tovik2.exe", kHookLibraryFile, out, 260), 1);
  EXPECT_EQ(std::wstring(out), L"Z:/tmp/run/nivlet2.dll");
}

TEST(PathBesideModule, FolderNamesOutsideAnyCodePageStayWhole) {
  wchar_t out[260];
  // Japanese, an accented letter and a character beyond the 16-bit range
  // (a surrogate pair in UTF-16): none of their units is a separator.
  const wchar_t* module = L"C:\\\u30BD\u00FC\U0001F31F\\\u30BD.exe";
  ASSERT_EQ(PathBesideModule(module, kHookLibraryFile, out, 260), 1);
  EXPECT_EQ(std::wstring(out), L"C:\\\u30BD\u00FC\U0001F31F\\nivlet2.dll");
}

TEST(PathBesideModule, RefusesWhatDoesNotFitOrHasNoFolder) {
  wchar_t out[260];
  out[0] = L'x';
  EXPECT_EQ(PathBesideModule(L"Tovik2.exe", kHookLibraryFile, out, 260), 0);
  EXPECT_EQ(std::wstring(out), L"");

  // Far beyond 259 characters works when the room is there; exactly full
  // (the path and its NUL) fits, one character more does not.
  std::wstring folder = L"C:\\" + std::wstring(1000, L'a') + L"\\";
  std::wstring module = folder + L"Tovik2.exe";
  std::wstring expected = folder + L"nivlet2.dll";
  std::wstring room(expected.size() + 1, L'x');
  ASSERT_EQ(PathBesideModule(module.c_str(), kHookLibraryFile, room.data(), room.size()), 1);
  EXPECT_EQ(std::wstring(room.c_str()), expected);
  std::wstring tooSmall(expected.size(), L'x');
  EXPECT_EQ(PathBesideModule(module.c_str(), kHookLibraryFile, tooSmall.data(), tooSmall.size()), 0);
  EXPECT_EQ(std::wstring(tooSmall.c_str()), L"");
  EXPECT_EQ(PathBesideModule(module.c_str(), kHookLibraryFile, out, 0), 0);
}

}  // namespace
