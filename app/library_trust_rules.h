// Whether a file's (or folder's) security lets only the administrators and
// the system change it. A global hook's library is loaded by path into every
// process at or below the installer's integrity: an elevated copy whose
// library an ordinary program could replace would run that program's code
// in the next elevated program that gets input.
#pragma once
#include <cstddef>
#include <cstdint>

// Who an access entry (or the owner) names, as far as trust goes.
enum class Trustee {
  kAdministration,  // the Administrators group, the system, the installer service
  kOther,           // anybody else, the user included
};

// What matters of one access entry.
struct AccessEntry {
  bool allows;       // an allowing entry (denying ones take nothing away here)
  bool inheritOnly;  // applies to what the folder holds, not to the object itself
  uint32_t mask;     // the rights it grants
  Trustee who;
};

// The rights that change a file or what a folder holds: write or append data
// (add a file or a folder), delete a child, delete, change the access list or
// the owner, and the generic all and write.
constexpr uint32_t kChangingRights = 0x0002u | 0x0004u | 0x0040u | 0x00010000u | 0x00040000u | 0x00080000u |
                                     0x10000000u | 0x40000000u;

// True when no entry that applies to the object grants a changing right to
// anybody but the administration, and the owner (who may always rewrite the
// access list) is the administration's. No access list at all lets
// everybody do everything.
bool OnlyAdministrationChanges(bool hasAccessList, Trustee owner, const AccessEntry* entries, size_t count);
