#include "discovery/parsers/mozilla_files.h"

#include "config/stop_requested.h"
#include "discovery/parsers/mozilla_profiles.h"
#include "platform/file_system.h"

namespace qm {

namespace {

/// The file `name` of each profile.
void ParseProfileFile(ParseRun& run, const std::string& profilesFolder, const std::string& name) {
  FileSystem fs;
  ForEachMozillaProfile(profilesFolder, [&](const Folder& profile) {
    const std::string path = FileSystem::Join(profile.Path, name);
    if (!fs.FileExists(path)) return true;
    if (StopRequested) return false;
    ParseMozillaFile(run, fs.GetFile(path));
    return true;
  });
}

}  // namespace

void ParseMozillaHistoryFile(ParseRun& run, const std::string& profilesFolder) {
  ParseProfileFile(run, profilesFolder, "history.dat");
}

void ParseMozillaCookies(ParseRun& run, const std::string& profilesFolder) {
  ParseProfileFile(run, profilesFolder, "cookies.txt");
}

void ParseMozillaCacheFiles(ParseRun& run, const std::string& profilesFolder) {
  FileSystem fs;
  ForEachMozillaProfile(profilesFolder, [&](const Folder& profile) {
    const std::string cache = FileSystem::Join(profile.Path, "Cache");
    if (!fs.FolderExists(cache)) return true;
    for (const File& file : fs.GetFolder(cache).Files()) {
      if (StopRequested) return false;
      ParseMozillaFile(run, file);
    }
    return true;
  });
}

}  // namespace qm
