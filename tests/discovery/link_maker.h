#pragma once

#include <string>

namespace qm::testing {

/// Makes `link` a symbolic link to `target` (both paths of this platform). On Windows under Wine the link is
/// made on the Linux side; Windows code sees a link to a folder as a reparse point. Returns false when no link
/// could be made.
bool MakeSymbolicLink(const std::string& target, const std::string& link);

}  // namespace qm::testing
