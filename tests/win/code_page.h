// Where texts are concerned the Win32 tests run twice: under the Japanese
// locale the environment gives (code page 932) and again under LC_ALL=C.UTF-8
// (a Western code page, 1252). A run checks that it got the code page its
// locale stands for, so a second run that silently stayed Japanese fails.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <cstring>

inline void ExpectCodePageOfThisRun() {
  const char* locale = std::getenv("LC_ALL");
  if (locale == nullptr || locale[0] == '\0') locale = std::getenv("LANG");
  if (locale == nullptr || locale[0] == '\0') return;
  const UINT expected = std::strncmp(locale, "ja", 2) == 0 ? 932u : 1252u;
  EXPECT_EQ(GetACP(), expected) << "the ANSI code page of the locale " << locale;
}
