#pragma once

#include <string>

#include "config/privacy_item.h"

namespace qm {

/// Why an item's seek settings must not be searched, or "" when they may be: a registry item whose key path
/// is empty (it would name a whole hive), a File, Folder or ini item, or a Mozilla parser item, whose path is
/// not absolute or climbs with "..", and any item whose seek path expanded to nothing. Such an item finds
/// nothing.
std::string IrregularReason(const PrivacyItem& item);

/// The seek setting at a 1-based position as a path in the platform's own form (see NativeSeekPath), or ""
/// when it is no usable path.
std::string SeekPathSetting(const PrivacyItem& item, int64_t position);

}  // namespace qm
