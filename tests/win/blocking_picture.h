// A picture file whose read never ends: a named pipe called like a picture,
// held open by a writer that never writes, as a file on a share that went
// offline behaves. Wine starts the Unix shell that makes and holds it; the
// pipe is let go (its reads then end at once) and removed when the object
// goes, so the folder can go too.
#pragma once
#include <windows.h>

#include <string>

class BlockingPicture {
 public:
  // Makes folder\name (a Windows path of a fresh folder) and holds it open.
  BlockingPicture(const std::string& folder, const char* name) : folder_(folder) {
    using UnixName = char*(CDECL*)(const wchar_t*);
    auto unixName = reinterpret_cast<UnixName>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32"), "wine_get_unix_file_name")));
    if (unixName == nullptr) return;
    std::wstring wide(folder.begin(), folder.end());
    char* unixFolder = unixName(wide.c_str());
    if (unixFolder == nullptr) return;
    // The writer opens the pipe for reading and writing, which never waits
    // for a reader; it lets go once the release mark appears (or after a
    // minute, should the test die first).
    std::string command = std::string("/bin/sh -c \"cd '") + unixFolder + "' && mkfifo '" + name +
                          "' && exec 3<>'" + name + "' && touch held && i=0 && " +
                          "while [ ! -e release ] && [ $i -lt 1200 ]; do sleep 0.05; i=$((i+1)); done; " +
                          "exec 3>&-; rm -f '" + name + "' held\"";
    HeapFree(GetProcessHeap(), 0, unixFolder);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
      return;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    held_ = WaitForMark(true);
  }
  ~BlockingPicture() { Release(); }
  BlockingPicture(const BlockingPicture&) = delete;
  BlockingPicture& operator=(const BlockingPicture&) = delete;

  // The pipe exists and its writer holds it: a read of it blocks.
  bool Held() const { return held_; }
  // Lets the writer go: reads of the pipe end (at its end) from then on, and
  // the pipe is removed. True once the writer has let go.
  bool Release() {
    if (!held_) return true;
    HANDLE mark = CreateFileA((folder_ + "\\release").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (mark != INVALID_HANDLE_VALUE) CloseHandle(mark);
    held_ = !WaitForMark(false);
    return !held_;
  }

 private:
  // Waits (up to 20 s) until the writer's "held" mark exists or is gone.
  bool WaitForMark(bool present) const {
    const std::string mark = folder_ + "\\held";
    for (int k = 0; k < 400; ++k) {
      if ((GetFileAttributesA(mark.c_str()) != INVALID_FILE_ATTRIBUTES) == present) return true;
      Sleep(50);
    }
    return false;
  }

  std::string folder_;
  bool held_ = false;
};
