#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string_view>

namespace qm::ui {

/// The program's icon from its resources at `size` pixels square (the nearest drawn size, scaled down).
HICON LoadAppIcon(int size);

/// The image list of the tree and the trace list, images of `size` pixels in the stored key order:
/// "folder", "foldershow", "folderopen", "folderopenshow", "folderopendelete", "folderlock", "folderdelete",
/// "file", "filelock", "filedelete", "fileblank", "reg", "reglock", "regdelete", "error".
HIMAGELIST CreatePrivacyImages(int size);

/// The index of an image key in that list; the "error" image for a key it does not hold.
int PrivacyImageIndex(std::string_view key);

}  // namespace qm::ui
