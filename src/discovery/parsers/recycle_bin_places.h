#pragma once

#include <string>
#include <vector>

#include "platform/file_system.h"

namespace qm {

/// Where the recycle bins of a system are: the drive list (each fixed drive holds Windows recycle-bin
/// folders) and the user's freedesktop trash folder ("" where there is none).
struct RecycleBinPlaces {
  std::vector<Drive> Drives;
  std::string TrashFolder;

  /// This system's: the file-system service's drives where paths are Windows paths, and the trash of the
  /// user's data folder ($XDG_DATA_HOME/Trash) where they are POSIX paths.
  static RecycleBinPlaces System();
};

/// One recycle-bin folder to empty.
struct RecycleBinFolder {
  std::string Path;
  /// The folder itself goes too once it has been emptied; the trash's own folders stay, as the desktop
  /// expects to find them.
  bool RemoveWhenEmptied = true;
};

/// The recycle-bin folders of `places`, in the order they are emptied: for each fixed drive in drive-list
/// order, on NTFS \Recycler\ + `userText` and \$Recycle.Bin\ + `userText` (skipped without a user text, as
/// they would name every user's bins), then on every file system \Recycled; then the trash's files and info
/// folders.
std::vector<RecycleBinFolder> RecycleBinFolders(const RecycleBinPlaces& places, const std::string& userText);

}  // namespace qm
