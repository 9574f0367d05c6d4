#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qm {

/// A path reduced for comparison: separators ("\" and "/") unified, "." and ".." resolved lexically, a
/// "\\?\" prefix and trailing separators dropped, letters upper-cased.
std::u32string ComparablePath(std::string_view path);

/// True when a Folder item on `folder` must find nothing, because emptying it would wreck the system or the
/// user's files: a drive or file-system root (also a share's root), a path that is not absolute, one of
/// `protectedFolders` or an ancestor of one (emptying C:\Users empties every profile).
bool IsProtectedFolder(std::string_view folder, const std::vector<std::string>& protectedFolders);

}  // namespace qm
