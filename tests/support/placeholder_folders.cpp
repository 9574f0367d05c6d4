#include "support/placeholder_folders.h"

namespace qm::test {

SpecialFolders WindowsTestFolders() {
  SpecialFolders folders;
  folders.UserProfileDir = "C:\\Users\\ann";
  folders.AppDataDir = "C:\\Users\\ann\\AppData\\Local";
  folders.WindowsDir = "C:\\Windows";
  folders.SystemDir = "C:\\Windows\\system32";
  folders.TemporaryDir = "C:\\Users\\ann\\AppData\\Local\\Temp";
  folders.ProgramFilesDir = "C:\\Program Files";
  return folders;
}

ScopedPlaceholderFolders::ScopedPlaceholderFolders(const SpecialFolders& folders)
    : saved_(PlaceholderFolders()) {
  PlaceholderFolders() = folders;
}

ScopedPlaceholderFolders::~ScopedPlaceholderFolders() { PlaceholderFolders() = saved_; }

}  // namespace qm::test
