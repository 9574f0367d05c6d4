#pragma once

#include <atomic>
#include <string>
#include <vector>

#include "discovery/parsers/recycle_bin_places.h"
#include "platform/clock.h"
#include "platform/error.h"
#include "platform/folder_handle.h"
#include "platform/registry_backend.h"
#include "trace/privacy_value.h"
#include "trace/trace_log.h"

namespace qm {

class PrivacyItem;
struct SpecialFolders;

/// When a file that cannot be deleted may be overwritten in place instead.
enum class FillRule {
  IndexDatOnly,  ///< files found by file and folder items: only a file named index.dat (any letter case)
  Always,        ///< files erased by the special-case parsers
  Never,         ///< files of the recycle bins: deleted or left
};

/// Erases the file of a file trace. The walks reach the erase routine of the layers above through this.
class FileEraser {
 public:
  /// Erases `entry` of `folder`, the file of `pv`, overwriting it when `rule` allows and it cannot be deleted,
  /// and sets the trace's status to what really happened: Erased, FilledBlank or Failed.
  virtual void EraseFile(const FolderHandle& folder, const FolderEntry& entry, PrivacyValue& pv, FillRule rule) = 0;

 protected:
  ~FileEraser() = default;
};

/// Hears what a walk could not do that no trace tells: a folder it could not read.
class WalkProblemListener {
 public:
  virtual void WalkProblem(PrivacyItem& item, const std::string& path, const RuntimeError& error) = 0;

 protected:
  ~WalkProblemListener() = default;
};

/// Everything the walks take from the engine of a run. Nothing here is global: two runs with two sets of
/// services never see each other.
struct WalkServices {
  reg::RegistryBackend& Registry;
  const std::atomic<bool>& Stop;  ///< set when the run must stop before its next trace
  const Clock& Time;              ///< the date and time of the registry walk's error lines
  FileEraser& Eraser;
  TraceLog* Log = nullptr;  ///< the activity log while a log run is open
  WalkProblemListener* Problems = nullptr;
  std::vector<std::string> ProtectedFolders;  ///< a Folder item on one of them, or on an ancestor, finds nothing
  RecycleBinPlaces RecycleBins;
  std::string UserText;                     ///< the current user as the recycle bins and AutoComplete name it
  const SpecialFolders* Folders = nullptr;  ///< the placeholder folders that holds may name
};

}  // namespace qm
