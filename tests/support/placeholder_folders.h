#pragma once

#include "config/placeholders.h"

namespace qm::test {

/// One fixed set of Windows placeholder folders, so expansions and folder checks do not depend on the
/// machine: the profile "C:\Users\ann", its local application data (and temporary folder below it),
/// "C:\Windows", "C:\Windows\system32" and "C:\Program Files".
SpecialFolders WindowsTestFolders();

/// Makes `folders` the program's placeholder folders while the object lives, then puts back what was there.
class ScopedPlaceholderFolders {
 public:
  explicit ScopedPlaceholderFolders(const SpecialFolders& folders);
  ~ScopedPlaceholderFolders();
  ScopedPlaceholderFolders(const ScopedPlaceholderFolders&) = delete;
  ScopedPlaceholderFolders& operator=(const ScopedPlaceholderFolders&) = delete;

 private:
  SpecialFolders saved_;
};

}  // namespace qm::test
