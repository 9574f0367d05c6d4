#include "discovery/parsers/recycle_bin.h"

#include <optional>
#include <utility>

#include "discovery/folder_tree.h"
#include "platform/error.h"
#include "platform/shell.h"

namespace qm {

namespace {

constexpr int kFixedDrive = 2;

/// Removes the emptied bin `path` itself, through its parent folder; whatever is left in it keeps it.
void RemoveBin(const std::string& path) {
  const std::size_t separator = path.find_last_of(FileSystem::Separator());
  if (separator == std::string::npos || separator == 0) return;
  const FolderHandle parent = FolderHandle::Open(path.substr(0, separator));
  if (std::optional<FolderEntry> bin = parent.Find(path.substr(separator + 1))) {
    if (bin->Kind == EntryKind::Folder) parent.RemoveFolder(*bin);
  }
}

}  // namespace

RecycleBinPlaces RecycleBinPlaces::System() {
  RecycleBinPlaces places;
  if (FileSystem::Separator() == '\\') {
    places.Drives = FileSystem().Drives();
  } else if (std::string data = shell::SpecialFolderPath(shell::kCsidlLocalAppData); !data.empty()) {
    // The mounts of a POSIX system hold no Windows bins of this user; a folder named Recycled at a mount
    // point is somebody's data.
    places.TrashFolder = FileSystem::Join(data, "Trash");
  }
  return places;
}

std::vector<RecycleBinFolder> RecycleBinFolders(const RecycleBinPlaces& places, const std::string& userText) {
  std::vector<RecycleBinFolder> folders;
  for (const Drive& drive : places.Drives) {
    if (drive.DriveType != kFixedDrive) continue;
    if (drive.FileSystem == "NTFS" && !userText.empty()) {
      folders.push_back({FileSystem::Join(FileSystem::Join(drive.Path, "Recycler"), userText), true});
      // Windows Vista and later keep each user's bin here.
      folders.push_back({FileSystem::Join(FileSystem::Join(drive.Path, "$Recycle.Bin"), userText), true});
    }
    folders.push_back({FileSystem::Join(drive.Path, "Recycled"), true});
  }
  if (!places.TrashFolder.empty()) {
    folders.push_back({FileSystem::Join(places.TrashFolder, "files"), false});
    folders.push_back({FileSystem::Join(places.TrashFolder, "info"), false});
  }
  return folders;
}

void ParseRecycleBin(WalkContext& context) {
  for (const RecycleBinFolder& bin : RecycleBinFolders(context.Services.RecycleBins, context.Services.UserText)) {
    if (context.Stopped()) return;
    std::optional<FolderHandle> folder;
    if (!SkipFailure([&] { folder.emplace(FolderHandle::Open(bin.Path)); })) continue;
    FolderTree(context, {.erase = FillRule::Never}).Walk(std::move(*folder));
    if (!context.Clear || !bin.RemoveWhenEmptied || context.Stopped()) continue;
    // Only an empty bin goes: whatever is left in it was not recorded, or could not be deleted.
    SkipFailure([&] { RemoveBin(bin.Path); });
  }
}

}  // namespace qm
