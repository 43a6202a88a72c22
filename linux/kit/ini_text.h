// The settings file's text, held whole and bounded in size, with the keys of
// one section read and written in place: lines the program does not own
// (comments, other sections, long lines, bytes of any value) stay as they were.
#pragma once
#include <cstddef>
#include <string>
#include <sys/types.h>

enum class IniLoad {
  kMissing,     // no such file: a first start
  kRead,        // the whole file is held
  kUnreadable,  // there, but not read (no permission, not a plain file, too big)
};

class IniText {
 public:
  // A settings file is a few hundred bytes; a bigger one is not ours to rewrite.
  static constexpr size_t kMaxBytes = 64 * 1024;

  explicit IniText(const char* section) : section_(section) {}

  IniLoad Load(const char* path);
  // Replaces the file as a whole (a new file renamed over it), so a failure
  // at any point leaves the old one as it was; true when it was replaced.
  bool Save(const char* path) const;

  // The reader and writer the settings rules take; context is an IniText.
  // A read copies at most size - 1 bytes, never ending in half a UTF-8
  // character. A write refuses a text with a line break and one that would
  // grow the file past its bound.
  static int ReadKey(void* context, const char* key, char* out, int size);
  static int WriteKey(void* context, const char* key, const char* text);

  bool Changed() const { return changed_; }

 private:
  // Where a key's line and its value are in text_; false when the section or
  // the key is missing. sectionEnd is where a new key of the section goes
  // (npos without the section).
  struct Place {
    size_t lineStart = 0, lineEnd = 0, valueStart = 0, valueEnd = 0;
    size_t sectionEnd = std::string::npos;
  };
  bool Find(const char* key, Place* place) const;

  const char* section_;
  std::string text_;
  mode_t mode_ = 0600;  // a file kept keeps its permissions
  bool changed_ = false;
};
