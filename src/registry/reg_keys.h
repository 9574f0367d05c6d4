#pragma once

#include "registry/keyed_collection.h"
#include "registry/reg_key.h"

namespace qm {

/// The direct sub-keys of a key, in the registry's enumeration order.
class RegKeys : public KeyedCollection<RegKey> {};

}  // namespace qm
