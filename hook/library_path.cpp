#include "hook/library_path.h"

#include <cstring>

int PathBesideModule(const char* modulePath, const char* fileName, LeadByteTest isLeadByte,
                     char* out, size_t outSize) {
  if (outSize == 0) return 0;
  out[0] = '\0';
  // Walk by characters: a separator inside a two-byte character is no separator.
  size_t folderLength = 0;
  for (size_t i = 0; modulePath[i] != '\0'; ++i) {
    unsigned char byte = static_cast<unsigned char>(modulePath[i]);
    if (isLeadByte(byte) && modulePath[i + 1] != '\0') {
      ++i;
      continue;
    }
    if (byte == '\\' || byte == '/') folderLength = i + 1;
  }
  if (folderLength == 0) return 0;
  size_t nameLength = std::strlen(fileName);
  if (folderLength >= outSize || nameLength >= outSize - folderLength) return 0;
  std::memcpy(out, modulePath, folderLength);
  std::memcpy(out + folderLength, fileName, nameLength + 1);
  return 1;
}
