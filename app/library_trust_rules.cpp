#include "app/library_trust_rules.h"

bool OnlyAdministrationChanges(bool hasAccessList, Trustee owner, const AccessEntry* entries, size_t count) {
  if (!hasAccessList || owner != Trustee::kAdministration) return false;
  for (size_t i = 0; i < count; ++i) {
    const AccessEntry& entry = entries[i];
    if (entry.allows && !entry.inheritOnly && (entry.mask & kChangingRights) != 0 &&
        entry.who != Trustee::kAdministration) {
      return false;
    }
  }
  return true;
}
