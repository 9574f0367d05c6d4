#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace qm {

/// A path from the catalogue in this platform's own form, normalised once so that walks, holds and the
/// protected-folder check all compare the same text: on Linux every "\" becomes "/" (catalogue paths are
/// written with "\"); on Windows "/" becomes "\". Repeated separators become one (a share's leading "\\"
/// stays), "." components and trailing separators go. Nothing when the path is not absolute or holds a ".."
/// component: such a path could name anything.
///
/// Only paths the catalogue gives (seek paths, holds) are translated like this. Names read from the disk are
/// used byte for byte.
std::optional<std::string> NativeSeekPath(std::string_view cataloguePath);

namespace seek_path_detail {
/// Appends the components of `rest` (separated by `separator`) to `out`, dropping empty and "." ones; false
/// when one is "..".
bool AppendComponents(std::string& out, std::string_view rest, char separator);
}  // namespace seek_path_detail

}  // namespace qm
