#include "discovery/parsers/recycle_bin.h"

#include <memory>
#include <utility>

#include "config/stop_requested.h"
#include "platform/error.h"
#include "platform/shell.h"

namespace qm {

namespace {

constexpr int kFixedDrive = 2;

/// The entries of a folder, read in one pass before anything in it is deleted.
std::vector<FolderEntry> ReadEntries(const FileSystem& fs, const std::string& folder) {
  std::vector<FolderEntry> entries;
  fs.ForEachEntry(folder, [&](const FolderEntry& entry) { entries.push_back(entry); });
  return entries;
}

/// Records one file or link of a bin and, when clearing, deletes it (a link itself, never its target).
void ParseBinFile(ParseRun& run, const FileSystem& fs, const FolderEntry& entry) {
  std::shared_ptr<PrivacyValue> pv;
  try {
    pv = run.Values->AddFile(File{entry.Name, entry.Path, entry.Size, ""}, status::kFound);
  } catch (const RuntimeError&) {
    // What could not be recorded is not erased either.
    return;
  }
  if (run.Clear) {
    try {
      fs.DeleteFile(entry.Path, true);
      pv->ValueStatus = status::kErased;
    } catch (const RuntimeError&) {
      pv->ValueStatus = status::kFailed;
    }
  }
  run.ReportValue(*pv);
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

void ParseRecycleBin(ParseRun& run, const RecycleBinPlaces& places, const std::string& userText) {
  FileSystem fs;
  for (const RecycleBinFolder& bin : RecycleBinFolders(places, userText)) {
    if (StopRequested) return;
    if (!fs.FolderExists(bin.Path)) continue;
    if (!ParseFolderTree(run, bin.Path)) return;
    if (!run.Clear || !bin.RemoveWhenEmptied) continue;
    try {
      // Only an empty bin goes: whatever is left in it was not recorded, or could not be deleted.
      fs.RemoveEmptyFolder(bin.Path, true);
    } catch (const RuntimeError&) {
    }
  }
}

bool ParseFolderTree(ParseRun& run, const std::string& folder) {
  FileSystem fs;
  std::vector<FolderEntry> entries;
  try {
    entries = ReadEntries(fs, folder);
  } catch (const RuntimeError&) {
    return true;
  }

  std::vector<std::pair<const FolderEntry*, std::shared_ptr<PrivacyValue>>> subFolders;
  for (const FolderEntry& entry : entries) {
    if (entry.Kind != EntryKind::Folder) continue;
    if (StopRequested) return false;
    std::shared_ptr<PrivacyValue> pv;
    try {
      pv =
          run.Values->AddFolder(Folder{entry.Path, entry.Name}, run.Clear ? status::kErased : status::kFound);
    } catch (const RuntimeError&) {
    }
    subFolders.emplace_back(&entry, pv);
    if (pv) run.ReportValue(*pv);
  }

  for (const FolderEntry& entry : entries) {
    if (entry.Kind != EntryKind::File && entry.Kind != EntryKind::Link) continue;
    if (StopRequested) return false;
    ParseBinFile(run, fs, entry);
  }

  for (const auto& [entry, pv] : subFolders) {
    if (StopRequested) return false;
    if (!ParseFolderTree(run, entry->Path)) return false;
    // A folder that could not be recorded stays, like everything else that was not reported.
    if (!run.Clear || !pv) continue;
    try {
      fs.RemoveEmptyFolder(entry->Path, true);
    } catch (const RuntimeError&) {
      // Something in it could not be deleted: the folder is still there, and its status says so.
      pv->ValueStatus = status::kFailed;
    }
  }
  return true;
}

}  // namespace qm
