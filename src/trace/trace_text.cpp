#include "trace/trace_text.h"

#include <cstdio>

#include "registry/reg_key.h"

namespace qm {

std::string_view StatusWord(TraceStatus status) {
  switch (status) {
    case TraceStatus::Found: return "Find";
    case TraceStatus::Erased: return "Delete";
    case TraceStatus::FilledBlank: return "Fill blank";
    case TraceStatus::Held: return "Keep locked";
    case TraceStatus::Failed: return "Unknown";
    case TraceStatus::NotSet: break;
  }
  return "";
}

std::string LogPrefix(TraceStatus status) {
  const std::string_view word = StatusWord(status);
  return word.empty() ? std::string() : std::string(word) + " ";
}

std::string_view IconKey(TraceKind kind, TraceStatus status) {
  const bool registry = kind == TraceKind::RegistryValue || kind == TraceKind::RegistryKey;
  switch (status) {
    case TraceStatus::Found: return registry ? "reg" : kind == TraceKind::Folder ? "folder" : "file";
    case TraceStatus::Erased:
      if (registry) return "regdelete";
      return kind == TraceKind::Folder ? "folderdelete" : kind == TraceKind::File ? "filedelete" : "fileblank";
    case TraceStatus::FilledBlank:
      if (registry) return "regdelete";
      return kind == TraceKind::Folder ? "folderdelete" : kind == TraceKind::File ? "fileblank" : "error";
    case TraceStatus::Held:
      if (registry) return "reglock";
      return kind == TraceKind::Folder ? "folderlock" : kind == TraceKind::File ? "filelock" : "error";
    default: return "error";
  }
}

std::string SizeText(int64_t bytes) {
  // Hundredths of a kilobyte, rounded half away from zero as the format rounds.
  const int64_t hundredths = (bytes >= 0 ? bytes + 5 : bytes - 5) / 10;
  const int64_t magnitude = hundredths < 0 ? -hundredths : hundredths;
  std::string whole = std::to_string(magnitude / 100);
  for (int i = static_cast<int>(whole.size()) - 3; i > 0; i -= 3) whole.insert(static_cast<std::size_t>(i), ",");
  char cents[4];
  std::snprintf(cents, sizeof cents, "%02d", static_cast<int>(magnitude % 100));
  return (hundredths < 0 ? "-" : "") + whole + "." + cents + " K";
}

std::string TraceLocation(const PrivacyValue& pv, std::string_view section) {
  switch (pv.ValueType) {
    case TraceKind::RegistryValue:
    case TraceKind::RegistryKey: return RegKey::RootKeyName(pv.RootKey) + "\\" + pv.Path;
    case TraceKind::IniEntry: {
      const std::size_t keyStart = pv.Path.size() - std::min(pv.Path.size(), pv.ValueName.size() + 1);
      if (section.empty()) return pv.Path;
      return pv.Path.substr(0, keyStart) + " [" + std::string(section) + "] " + pv.ValueName;
    }
    default: return pv.Path;
  }
}

}  // namespace qm
