#pragma once

#include <cstdint>
#include <string>

namespace qm::testing {

// What the tests need of the file system beyond std::filesystem.

/// Makes `link` a symbolic link to `target` (both paths of this platform). On Windows under Wine the link is
/// made on the Linux side; Windows code sees a link to a folder as a reparse point. Returns false when no link
/// could be made.
bool MakeSymbolicLink(const std::string& target, const std::string& link);

/// Makes a FIFO or a listening-less socket at `path`; false where the system has none (Windows).
bool MakeFifo(const std::string& path);
bool MakeSocket(const std::string& path);
/// Makes a character device node like /dev/null at `path`; false where the system will not (no right to
/// make device nodes, or Windows).
bool MakeDevice(const std::string& path);

/// Gives `path` (never followed) to the user `uid`; false where it cannot (not root, or Windows).
bool GiveTo(const std::string& path, uint32_t uid);

}  // namespace qm::testing
