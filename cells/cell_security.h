// The descriptor the program gives every cell it makes (cell_access_rules.h),
// for the user this process runs as.
#pragma once
#include <windows.h>

#include <cstddef>

// This process's user as a string SID ("S-1-5-21-..."); false, out empty,
// when the token can't tell.
bool CurrentUserSid(wchar_t* out, size_t outSize);

// The user of the desktop's shell (the signed-in user, whoever this process
// runs as); false, out empty, when there is no shell or its token can't be read.
bool DesktopUserSid(wchar_t* out, size_t outSize);

// The cells' SDDL for this process's user and the desktop's; false, out
// empty, when it can't be made.
bool CurrentCellSddl(wchar_t* out, size_t outSize);

// The descriptor in the form CreateFileMapping takes, made once for a set of
// cells; where it can't be made, the cells get the default descriptor.
class CellSecurity {
 public:
  CellSecurity();
  ~CellSecurity();
  CellSecurity(const CellSecurity&) = delete;
  CellSecurity& operator=(const CellSecurity&) = delete;

  // Null when the descriptor could not be made.
  SECURITY_ATTRIBUTES* Attributes() { return descriptor_ != nullptr ? &attributes_ : nullptr; }

 private:
  PSECURITY_DESCRIPTOR descriptor_ = nullptr;
  SECURITY_ATTRIBUTES attributes_{};
};
