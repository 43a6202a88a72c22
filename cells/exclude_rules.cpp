#include "cells/exclude_rules.h"

#include <cstring>

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool ForbiddenInName(char c) {
  return static_cast<unsigned char>(c) < 0x20 || std::strchr("\\/:*?\"<>|", c) != nullptr;
}

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

int NormaliseExcludeList(const char* text, char* out, size_t outSize) {
  if (outSize == 0) return 0;
  out[0] = '\0';
  if (text == nullptr) return 1;
  if (strnlen(text, kExcludeListSize) >= static_cast<size_t>(kExcludeListSize)) return 0;
  size_t written = 0;
  const char* at = text;
  while (*at != '\0') {
    const char* end = at;
    while (*end != '\0' && *end != ';') ++end;
    const char* from = at;
    const char* to = end;
    while (from < to && IsBlank(*from)) ++from;
    while (to > from && IsBlank(to[-1])) --to;
    if (to > from) {
      for (const char* c = from; c < to; ++c) {
        if (ForbiddenInName(*c)) {
          out[0] = '\0';
          return 0;
        }
      }
      size_t length = static_cast<size_t>(to - from);
      size_t needed = length + (written > 0 ? 1 : 0);
      if (written + needed + 1 > outSize) {
        out[0] = '\0';
        return 0;
      }
      if (written > 0) out[written++] = ';';
      std::memcpy(out + written, from, length);
      written += length;
      out[written] = '\0';
    }
    at = *end == ';' ? end + 1 : end;
  }
  return 1;
}

bool IsExcludedProgram(const char* list, const char* programName) {
  if (list == nullptr || programName == nullptr || programName[0] == '\0') return false;
  const size_t nameLength = std::strlen(programName);
  const char* at = list;
  while (*at != '\0') {
    const char* end = at;
    while (*end != '\0' && *end != ';') ++end;
    if (static_cast<size_t>(end - at) == nameLength) {
      size_t i = 0;
      while (i < nameLength && Lower(at[i]) == Lower(programName[i])) ++i;
      if (i == nameLength) return true;
    }
    at = *end == ';' ? end + 1 : end;
  }
  return false;
}
