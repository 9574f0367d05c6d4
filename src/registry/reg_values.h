#pragma once

#include "registry/keyed_collection.h"
#include "registry/reg_value.h"

namespace qm {

/// The values of a key, in the registry's enumeration order.
class RegValues : public KeyedCollection<RegValue> {};

}  // namespace qm
