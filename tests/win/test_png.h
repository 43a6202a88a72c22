// Writes small PNG files for the tests of the image loaders.
#pragma once
#include <windows.h>
#include <png.h>

#include <cstdio>
#include <string>
#include <vector>

// A width x height RGBA picture of one colour; true when written.
inline bool WriteTestPng(const std::string& path, int width, int height, uint32_t rgba = 0xFF40C0FFu) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(width);
  image.height = static_cast<png_uint_32>(height);
  image.format = PNG_FORMAT_RGBA;
  std::vector<png_byte> pixels(static_cast<size_t>(width) * height * 4);
  for (size_t i = 0; i < pixels.size(); i += 4) {
    pixels[i] = static_cast<png_byte>(rgba >> 24);
    pixels[i + 1] = static_cast<png_byte>(rgba >> 16);
    pixels[i + 2] = static_cast<png_byte>(rgba >> 8);
    pixels[i + 3] = static_cast<png_byte>(rgba);
  }
  return png_image_write_to_file(&image, path.c_str(), 0, pixels.data(), 0, nullptr) != 0;
}

inline bool WriteTextFile(const std::string& path, const char* text) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  std::fputs(text, file);
  return std::fclose(file) == 0;
}

// A fresh, empty folder under the temporary folder; removed with its files.
// Wine gives process ids again across sessions, so the name also carries the
// time and a count: a folder an earlier run left behind is never reused.
class TempFolder {
 public:
  explicit TempFolder(const char* name) {
    static LONG made = 0;
    char base[MAX_PATH];
    GetTempPathA(MAX_PATH, base);
    const std::string stem = std::string(base) + "tovik2_" + std::to_string(GetCurrentProcessId()) + "_" +
                             std::to_string(GetTickCount64() % 1000000) + "_";
    do {
      path_ = stem + std::to_string(InterlockedIncrement(&made)) + "_" + name;
    } while (!CreateDirectoryA(path_.c_str(), nullptr) && GetLastError() == ERROR_ALREADY_EXISTS);
  }
  ~TempFolder() {
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA((path_ + "\\*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
      do {
        std::string entryPath = path_ + "\\" + entry.cFileName;
        if (!DeleteFileA(entryPath.c_str())) RemoveDirectoryA(entryPath.c_str());  // an empty subfolder
      } while (FindNextFileA(search, &entry));
      FindClose(search);
    }
    RemoveDirectoryA(path_.c_str());
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::string& path() const { return path_; }
  std::string File(const char* name) const { return path_ + "\\" + name; }

 private:
  std::string path_;
};
