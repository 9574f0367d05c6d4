#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "settings/system_settings.h"
#include "support/registry_fixture.h"

namespace qm::testing {

inline constexpr char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

/// A root number that is no predefined root: every call on it is refused, like a machine key that a standard
/// user may not create.
inline constexpr uint32_t kRefusingRoot = 0x80000010u;

/// Settings roots whose machine key lies below HKEY_CURRENT_USER, where a fixture can hold it, and whose
/// user key is never there.
inline constexpr SettingsRoots kTestRoots{reg::kCurrentUser, kRefusingRoot};

/// The values directly in the key `path` (HKEY_CURRENT_USER) as "name=data", sorted.
inline std::vector<std::string> KeyValues(RegistryFixture& fixture, const std::string& path) {
  std::vector<std::string> values;
  const std::string prefix = path + "\\";
  for (const std::string& line : fixture.Dump(path)) {
    const std::string rest = line.substr(std::min(line.size(), prefix.size()));
    if (line.compare(0, prefix.size(), prefix) == 0 && rest.find('\\') > rest.find('=')) values.push_back(rest);
  }
  std::sort(values.begin(), values.end());
  return values;
}

}  // namespace qm::testing
