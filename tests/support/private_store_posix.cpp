#include <stdlib.h>

#include "support/scratch_folder.h"

namespace qm::testing {
namespace {

// The configuration home, and with it the default registry store, lies in a folder of this test process: no
// test, and no program a test starts, reads or writes the user's own store under ~/.config/quillmere, even when
// it reaches the registry without a fixture of its own.
const ScratchFolder kHome("home");
[[maybe_unused]] const int kHomeSet = ::setenv("XDG_CONFIG_HOME", kHome.Path().c_str(), 1);

}  // namespace
}  // namespace qm::testing
