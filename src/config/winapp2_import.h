#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qm {

/// How much of a winapp2 entry its configuration keeps.
enum class Winapp2Mapping { Exact, Partly, NotMapped };

/// The outcome of one winapp2 entry.
struct Winapp2EntryReport {
  std::string name;  ///< the configuration's name: the entry's without the trailing " *"
  int64_t line = 0;  ///< the line of the entry's "[Name *]"
  Winapp2Mapping mapping = Winapp2Mapping::Exact;
  std::vector<std::string> notes;  ///< what was dropped or differs (Partly), or why it was not mapped
};

struct Winapp2Options {
  bool plugins = false;  ///< plug-in configurations ("Type:Plugins", "Version:1") instead of custom ones
};

/// A converted winapp2.ini: the plain catalogue lines and one report per entry, in file order.
struct Winapp2Import {
  std::vector<std::string> lines;
  std::vector<Winapp2EntryReport> entries;
};

/// Converts winapp2.ini text into catalogue configurations, one per entry that can be mapped. Raises
/// RuntimeError `kWinapp2Syntax` (see winapp2_ini.h) naming the first line that cannot be read: nothing is
/// converted then.
Winapp2Import ImportWinapp2(std::string_view text, const Winapp2Options& options = {});

/// "exact", "partly" or "not mapped".
std::string Winapp2MappingName(Winapp2Mapping mapping);

}  // namespace qm
