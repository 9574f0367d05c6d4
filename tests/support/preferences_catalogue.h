#pragma once

#include <string>
#include <vector>

#include "config/crypt.h"
#include "support/lines.h"
#include "support/scratch_folder.h"

namespace qm::testing {

/// The catalogue Preferences tests open (ui/preferences_catalogue.txt), in plain lines: "{dir}" for the scratch
/// folder.
inline Lines PreferencesCatalogue() { return FixtureLines("ui/preferences_catalogue.txt"); }

/// The deciphered lines of a catalogue file, with `dir`'s path written "{dir}" again.
inline std::vector<std::string> CatalogueFileLines(const std::string& path, const ScratchFolder& dir) {
  std::vector<std::string> lines;
  for (const std::string& stored : TextLines(ReadBytes(path)))
    lines.push_back(Replaced(Crypt::DeCrypt(stored), dir.Path(), "{dir}"));
  return lines;
}

}  // namespace qm::testing
