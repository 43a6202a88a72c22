#include "app/ini_section.h"

#include <cstring>

namespace {

struct Span {
  const char* from;
  const char* to;
};

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

Span Trimmed(const char* from, const char* to) {
  while (from < to && IsBlank(*from)) ++from;
  while (to > from && IsBlank(to[-1])) --to;
  return Span{from, to};
}

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameName(Span span, const char* name) {
  const size_t length = std::strlen(name);
  if (static_cast<size_t>(span.to - span.from) != length) return false;
  for (size_t at = 0; at < length; ++at) {
    if (Lower(span.from[at]) != Lower(name[at])) return false;
  }
  return true;
}

// The next line of [at, end) without its line end; at moves past it.
Span NextLine(const char*& at, const char* end) {
  const char* from = at;
  while (at < end && *at != '\n' && *at != '\r') ++at;
  Span line{from, at};
  if (at < end && *at == '\r') ++at;
  if (at < end && *at == '\n') ++at;
  return line;
}

void CopyCut(Span value, char* out, int size, LeadByteTest isLeadByte) {
  size_t at = 0;
  const size_t length = static_cast<size_t>(value.to - value.from);
  const size_t room = static_cast<size_t>(size - 1);
  while (at < length && value.from[at] != '\0') {
    const size_t step = isLeadByte(static_cast<unsigned char>(value.from[at])) && at + 1 < length ? 2 : 1;
    if (at + step > room) break;
    at += step;
  }
  std::memcpy(out, value.from, at);
  out[at] = '\0';
}

}  // namespace

int FindIniValue(const char* text, size_t length, const char* section, const char* key, char* out, int size,
                 LeadByteTest isLeadByte) {
  if (size <= 0) return 0;
  out[0] = '\0';
  if (text == nullptr) return 0;
  const char* end = text + length;
  bool inSection = false;
  bool sectionRead = false;  // only the first section of the name is read
  for (const char* at = text; at < end;) {
    const Span raw = NextLine(at, end);
    const Span line = Trimmed(raw.from, raw.to);
    if (line.from == line.to || *line.from == ';') continue;
    if (*line.from == '[') {
      const char* close = line.from + 1;
      while (close < line.to && *close != ']') ++close;
      if (inSection) sectionRead = true;
      inSection = !sectionRead && close < line.to && SameName(Trimmed(line.from + 1, close), section);
      continue;
    }
    if (!inSection) continue;
    const char* equals = static_cast<const char*>(std::memchr(line.from, '=', static_cast<size_t>(line.to - line.from)));
    if (equals == nullptr || !SameName(Trimmed(line.from, equals), key)) continue;
    Span value = Trimmed(equals + 1, line.to);
    if (value.to - value.from >= 2 && *value.from == '"' && value.to[-1] == '"') {
      ++value.from;
      --value.to;
    }
    CopyCut(value, out, size, isLeadByte);
    return 1;
  }
  return 0;
}
