#include "linux/kit/ini_text.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "linux/kit/unique_fd.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

// [from, to) with blanks cut from both ends.
void Trim(const std::string& text, size_t* from, size_t* to) {
  while (*from < *to && IsBlank(text[*from])) ++*from;
  while (*to > *from && IsBlank(text[*to - 1])) --*to;
}

// Keys and section names match in any ASCII letter case, as on Windows.
bool SameName(const std::string& text, size_t from, size_t to, const char* name) {
  size_t length = strlen(name);
  if (to - from != length) return false;
  for (size_t i = 0; i < length; ++i) {
    char a = text[from + i], b = name[i];
    if (a >= 'a' && a <= 'z') a = static_cast<char>(a - 'a' + 'A');
    if (b >= 'a' && b <= 'z') b = static_cast<char>(b - 'a' + 'A');
    if (a != b) return false;
  }
  return true;
}

bool WriteAll(int fd, const char* data, size_t size) {
  while (size > 0) {
    ssize_t done = write(fd, data, size);
    if (done < 0 && errno == EINTR) continue;
    if (done <= 0) return false;
    data += done;
    size -= static_cast<size_t>(done);
  }
  return true;
}

}  // namespace

IniLoad IniText::Load(const char* path) {
  text_.clear();
  changed_ = false;
  UniqueFd fd(open(path, O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
  if (!fd) return errno == ENOENT ? IniLoad::kMissing : IniLoad::kUnreadable;
  struct stat info;
  if (fstat(fd.Get(), &info) != 0 || !S_ISREG(info.st_mode) || info.st_size > static_cast<off_t>(kMaxBytes)) {
    return IniLoad::kUnreadable;
  }
  mode_ = info.st_mode & 07777;
  char block[4096];
  for (;;) {
    ssize_t got = read(fd.Get(), block, sizeof block);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) break;
    if (got == 0) return IniLoad::kRead;
    // The file may have grown since it was measured.
    if (text_.size() + static_cast<size_t>(got) > kMaxBytes) break;
    text_.append(block, static_cast<size_t>(got));
  }
  text_.clear();
  return IniLoad::kUnreadable;
}

bool IniText::Save(const char* path) const {
  // A linked settings file stays linked: the file it names is replaced.
  char resolved[PATH_MAX];
  if (realpath(path, resolved) != nullptr) path = resolved;
  std::string temporary = std::string(path) + ".XXXXXX";
  UniqueFd fd(mkostemp(temporary.data(), O_CLOEXEC));
  if (!fd) return false;
  bool written = fchmod(fd.Get(), mode_) == 0 && WriteAll(fd.Get(), text_.data(), text_.size()) && fsync(fd.Get()) == 0;
  written = close(fd.Release()) == 0 && written;
  if (written && rename(temporary.c_str(), path) == 0) return true;
  unlink(temporary.c_str());
  return false;
}

bool IniText::Find(const char* key, Place* place) const {
  bool inSection = false;
  place->sectionEnd = std::string::npos;
  size_t at = 0;
  while (at < text_.size()) {
    size_t end = text_.find('\n', at);
    size_t next = end == std::string::npos ? text_.size() : end + 1;
    if (end == std::string::npos) end = text_.size();
    size_t from = at, to = end;
    Trim(text_, &from, &to);
    if (from < to && text_[from] == '[') {
      size_t close = text_.find(']', from);
      if (close != std::string::npos && close < to) {
        size_t nameFrom = from + 1, nameTo = close;
        Trim(text_, &nameFrom, &nameTo);
        inSection = SameName(text_, nameFrom, nameTo, section_);
        if (inSection) place->sectionEnd = next;
      }
    } else if (inSection && from < to) {
      place->sectionEnd = next;  // a new key goes after the section's last line
      size_t equals = text_.find('=', from);
      if (text_[from] != ';' && equals != std::string::npos && equals < to) {
        size_t keyTo = equals;
        Trim(text_, &from, &keyTo);
        if (SameName(text_, from, keyTo, key)) {
          place->lineStart = at;
          place->lineEnd = end;
          place->valueStart = equals + 1;
          place->valueEnd = to;
          Trim(text_, &place->valueStart, &place->valueEnd);
          return true;
        }
      }
    }
    at = next;
  }
  return false;
}

int IniText::ReadKey(void* context, const char* key, char* out, int size) {
  const auto* self = static_cast<const IniText*>(context);
  if (size <= 0) return 0;
  out[0] = '\0';
  Place place;
  if (!self->Find(key, &place)) return 0;
  size_t length = place.valueEnd - place.valueStart;
  if (length > static_cast<size_t>(size - 1)) {
    length = static_cast<size_t>(size - 1);
    // Back to the start of the character the cut would split.
    while (length > 0 && (static_cast<unsigned char>(self->text_[place.valueStart + length]) & 0xC0) == 0x80) --length;
  }
  memcpy(out, self->text_.data() + place.valueStart, length);
  out[length] = '\0';
  // A NUL inside the value ends it, as it would for any C reader.
  return 1;
}

int IniText::WriteKey(void* context, const char* key, const char* text) {
  auto* self = static_cast<IniText*>(context);
  if (strpbrk(text, "\r\n") != nullptr || strpbrk(key, "\r\n=[") != nullptr) return 0;
  std::string line = std::string(key) + "=" + text;
  Place place;
  std::string updated = self->text_;
  if (self->Find(key, &place)) {
    updated.replace(place.lineStart, place.lineEnd - place.lineStart, line);
  } else if (place.sectionEnd != std::string::npos) {
    size_t at = place.sectionEnd;
    if (at > 0 && updated[at - 1] != '\n') updated.insert(at++, 1, '\n');
    updated.insert(at, line + "\n");
  } else {
    if (!updated.empty() && updated.back() != '\n') updated += '\n';
    updated += std::string("[") + self->section_ + "]\n" + line + "\n";
  }
  if (updated.size() > kMaxBytes) return 0;
  if (updated != self->text_) self->changed_ = true;
  self->text_ = std::move(updated);
  return 1;
}
