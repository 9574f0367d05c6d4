#include "discovery/parsers/mozilla_profiles.h"

#include <memory>

namespace qm {

void ForEachMozillaProfile(const std::string& profilesFolder,
                           const std::function<bool(const Folder& profile)>& visit) {
  FileSystem fs;
  if (!fs.FolderExists(profilesFolder)) return;
  for (const Folder& profile : fs.GetFolder(profilesFolder).SubFolders()) {
    for (const Folder& salted : profile.SubFolders()) {
      if (!visit(salted)) return;
    }
  }
}

void ParseMozillaFile(ParseRun& run, const File& file) {
  std::shared_ptr<PrivacyValue> pv = run.Values->AddFile(file, status::kFound);
  if (run.Clear) {
    // Without an erase routine nothing is erased, and the status says so.
    if (run.EraseFile) {
      run.EraseFile(*pv);
    } else {
      pv->ValueStatus = status::kFailed;
    }
  }
  run.ReportValue(*pv);
}

}  // namespace qm
