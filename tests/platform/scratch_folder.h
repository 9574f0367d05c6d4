#pragma once

// The platform tests share the one scratch folder of the suite; a second class of the same name would break
// the one-definition rule.
#include "clean/scratch_folder.h"
