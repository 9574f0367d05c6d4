#pragma once

// Pieces of the Windows file-system service that the folder handles share; not for use outside src/platform.
// Include <windows.h> first.

#include <string>

#include "platform/file_system.h"

namespace qm::fs_detail {

/// The one place where a long path is widened: past CreateDirectoryW's limit every call gets the absolute
/// "\\?\" form, which lifts the 260-character limit.
std::wstring WidePath(const std::string& path);

/// The kind of an entry with these attributes; any reparse point is a link.
EntryKind KindOfAttributes(DWORD attributes);

/// The attributes without the read-only mark, as FileBasicInfo and SetFileAttributesW take them.
DWORD WithoutReadOnly(DWORD attributes);

}  // namespace qm::fs_detail
