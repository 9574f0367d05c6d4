#pragma once

#include <string>

#include "config/privacy_item.h"

namespace qm {

/// Why an item's seek settings must not be searched, or "" when they may be: a registry item whose key path
/// is empty (it would name a whole hive), a File, Folder or ini item, or a Mozilla parser item, whose path is
/// not absolute or climbs with "..", and any item whose seek path expanded to nothing. Such an item finds
/// nothing.
std::string IrregularReason(const PrivacyItem& item);

/// The option text that makes a Folder, FileTree or RegKey item remove its folder or key itself once empty.
inline constexpr const char* kRemoveSelfOption = "RemoveSelf";

/// True when a Folder, FileTree or RegKey item names the RemoveSelf option in its option position (Folder S2,
/// FileTree S3, RegKey S3).
bool RemovesSelf(const PrivacyItem& item);

/// True when a Detect item names a registry key (root, key path) rather than a file or folder.
bool DetectsKey(const PrivacyItem& item);

/// The seek setting at a 1-based position as a path in the platform's own form (see NativeSeekPath), or ""
/// when it is no usable path.
std::string SeekPathSetting(const PrivacyItem& item, int64_t position);

}  // namespace qm
