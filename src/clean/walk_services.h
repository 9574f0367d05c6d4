#pragma once

#include "clean/privacy_log.h"
#include "discovery/walk_context.h"
#include "platform/clock.h"

namespace qm {

/// The services the item walks use in the program: failed-erase and error lines go to `log` (error lines
/// dated by `clock`), files are erased with `DeleteFileEx` (the overwrite allowed for index.dat only), and
/// the number of overwrite passes is the "Security Fill Times" setting at the start of each item search.
WalkServices ProgramWalkServices(PrivacyLog& log, const Clock& clock);

}  // namespace qm
