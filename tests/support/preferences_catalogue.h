#pragma once

#include <string>
#include <vector>

#include "config/crypt.h"
#include "support/scratch_folder.h"

namespace qm::testing {

/// The catalogue Preferences tests open, in plain lines ("{dir}" for the scratch folder): two built-in
/// configurations (Windows with seven items, the fourth holding a path), two plug-ins (the second
/// selected), one custom that is not selected. Loaded, the plug-ins sort to Archiver, Player.
inline constexpr char kPreferencesCatalogue[] =
    "[Config]\nType:Root\nSoftware:Windows\nSelected:1\n"
    "Documents<>1<>0<>File><{dir}\\docs\nSearch<>0<>0<>File><{dir}\\search\nRun<>1<>0<>File><{dir}\\run\n"
    "Dialogs<>1<>1<>File><{dir}\\dialogs><{dir}\\dialogs\\keep.txt\nTemp<>0<>0<>File><{dir}\\temp\n"
    "Recycle<>1<>0<>File><{dir}\\bin\nExtra<>0<>0<>File><{dir}\\extra\n"
    "[Config]\nType:Root\nSoftware:Internet Explorer\nSelected:1\n"
    "Address<>1<>0<>File><{dir}\\address\nHistory<>1<>0<>File><{dir}\\history\n"
    "Forms<>0<>0<>File><{dir}\\forms\nCache<>1<>0<>File><{dir}\\cache\n"
    "Downloads<>0<>0<>File><{dir}\\downloads\nCookies<>1<>0<>File><{dir}\\cookies\n"
    "[Config]\nType:Plugins\nSoftware:Player\nDescription:Media player\nSelected:1\n"
    "Recent<>1<>0<>File><{dir}\\player\n"
    "[Config]\nType:Plugins\nSoftware:Archiver\nDescription:Packs files\nSelected:0\n"
    "History<>0<>0<>File><{dir}\\archiver\n"
    "[Config]\nType:Customs\nSoftware:Notes\nDescription:My notes\nSelected:0\n"
    "Drafts<>1<>0<>File><{dir}\\notes\n";

/// The deciphered lines of a catalogue file, with `dir`'s path written "{dir}" again.
inline std::vector<std::string> CatalogueFileLines(const std::string& path, const ScratchFolder& dir) {
  const std::string folder = dir.Path();
  std::vector<std::string> lines;
  for (const std::string& stored : TextLines(ReadBytes(path))) {
    std::string line = Crypt::DeCrypt(stored);
    for (std::size_t at = line.find(folder); at != std::string::npos; at = line.find(folder, at)) {
      line.replace(at, folder.size(), "{dir}");
    }
    lines.push_back(line);
  }
  return lines;
}

}  // namespace qm::testing
