#include "hook/library_path.h"

#include <gtest/gtest.h>

#include <string>

namespace {

bool NoLeadBytes(unsigned char) { return false; }
// The lead bytes of code page 932.
bool ShiftJisLeadByte(unsigned char byte) {
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

TEST(PathBesideModule, ReplacesTheFileNameAfterTheLastSeparator) {
  char out[260];
  ASSERT_EQ(PathBesideModule("C:\\Program Files\\Tovik2\\Tovik2.exe", kHookLibraryFile, NoLeadBytes,
                             out, sizeof out), 1);
  EXPECT_STREQ(out, "C:\\Program Files\\Tovik2\\nivlet2.dll");
  ASSERT_EQ(PathBesideModule("Z:/tmp/run/Tovik2.exe", kHookLibraryFile, NoLeadBytes, out, sizeof out), 1);
  EXPECT_STREQ(out, "Z:/tmp/run/nivlet2.dll");
}

TEST(PathBesideModule, ABackslashInsideAJapaneseCharacterIsNoSeparator) {
  char out[260];
  // "ソ" is 0x83 0x5C in code page 932: its second byte looks like '\'.
  const char* module = "C:\\toys\\\x83\x5C" "ft.exe";
  ASSERT_EQ(PathBesideModule(module, kHookLibraryFile, ShiftJisLeadByte, out, sizeof out), 1);
  EXPECT_STREQ(out, "C:\\toys\\nivlet2.dll");
  // In a folder name the character is kept whole.
  ASSERT_EQ(PathBesideModule("C:\\\x83\x5C\\a.exe", kHookLibraryFile, ShiftJisLeadByte, out, sizeof out), 1);
  EXPECT_STREQ(out, "C:\\\x83\x5C\\nivlet2.dll");
}

TEST(PathBesideModule, RefusesWhatDoesNotFitOrHasNoFolder) {
  char out[260];
  out[0] = 'x';
  EXPECT_EQ(PathBesideModule("Tovik2.exe", kHookLibraryFile, NoLeadBytes, out, sizeof out), 0);
  EXPECT_STREQ(out, "");

  // Exactly full (259 characters and the NUL) fits; one more does not.
  std::string folder = "C:\\" + std::string(259 - 3 - 11 - 1, 'a') + "\\";
  std::string module = folder + "Tovik2.exe";
  ASSERT_EQ(PathBesideModule(module.c_str(), kHookLibraryFile, NoLeadBytes, out, sizeof out), 1);
  EXPECT_EQ(std::string(out), folder + "nivlet2.dll");
  EXPECT_EQ(std::string(out).size(), 259u);
  std::string longer = "C:\\" + std::string(259 - 3 - 11, 'a') + "\\Tovik2.exe";
  EXPECT_EQ(PathBesideModule(longer.c_str(), kHookLibraryFile, NoLeadBytes, out, sizeof out), 0);
  EXPECT_STREQ(out, "");
  EXPECT_EQ(PathBesideModule(module.c_str(), kHookLibraryFile, NoLeadBytes, out, 0), 0);
}

}  // namespace
