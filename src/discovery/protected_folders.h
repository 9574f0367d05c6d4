#pragma once

#include <string>
#include <string_view>

#include "config/placeholders.h"

namespace qm {

/// A path reduced for comparison: separators ("\" and "/") unified, "." and ".." resolved lexically, a
/// "\\?\" prefix and trailing separators dropped, letters upper-cased.
std::u32string ComparablePath(std::string_view path);

/// True when a Folder item on `folder` must find nothing, because emptying it would wreck the system or the
/// user's files: a drive or file-system root (also a share's root), a relative path that names the working
/// folder itself, or exactly the user-profile, Windows, system or program-files folder of `folders`.
bool IsProtectedFolder(std::string_view folder, const SpecialFolders& folders);

}  // namespace qm
