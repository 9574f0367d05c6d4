#pragma once

#include <string>
#include <vector>

#include "config/winapp2_ini.h"

namespace qm {

/// One catalogue item made from a winapp2 key, before its entry makes the titles unique.
struct Winapp2Item {
  std::string title;  ///< the key's name, with the form's label for the program files folders
  std::string type;   ///< "File", "FileTree", "RegKey", "RegValue" or "Detect"
  std::vector<std::string> seek;
};

/// One hold made from an ExcludeKey.
struct Winapp2Hold {
  bool registry = false;     ///< a registry hold (for RegKey and RegValue items) or a file hold
  std::string pattern;       ///< the hold in catalogue form
  bool keepsDeeper = false;  ///< a FILE exclude with a wildcard: the hold also keeps files in sub-folders
};

/// What one winapp2 key becomes. A key that cannot be written leaves no items and says why in `dropped`; an
/// exclude that cannot be written says why in `refusal`, for leaving it out would erase what it keeps.
struct Winapp2KeyResult {
  std::vector<Winapp2Item> items;
  std::vector<Winapp2Hold> holds;
  std::vector<std::string> notes;  ///< what differs from winapp2 without being dropped
  std::string dropped;
  std::string refusal;
};

/// Detect=ROOT\key: a Detect item on the key. Raises the `kWinapp2Syntax` error for an unknown root.
Winapp2KeyResult MapDetectKey(const Winapp2Key& key);

/// DetectFile=path: a Detect item on each form of the path.
Winapp2KeyResult MapDetectFile(const Winapp2Key& key);

/// FileKey=path|patterns[|RECURSE or |REMOVESELF]: a File item, or a FileTree item (with RemoveSelf), per form
/// of the path. Raises the `kWinapp2Syntax` error when there is no "|".
Winapp2KeyResult MapFileKey(const Winapp2Key& key);

/// RegKey=ROOT\key: a RegKey item removing the key itself; RegKey=ROOT\key|value: a RegValue item on that one
/// value. Raises the `kWinapp2Syntax` error for an unknown root.
Winapp2KeyResult MapRegKey(const Winapp2Key& key);

/// ExcludeKey=FILE|folder\|patterns, PATH|folder\[|patterns] or REG|ROOT\key[|value]: holds. Raises the
/// `kWinapp2Syntax` error for an unknown root.
Winapp2KeyResult MapExcludeKey(const Winapp2Key& key);

}  // namespace qm
