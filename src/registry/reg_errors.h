#pragma once

#include <cstdint>

#include "platform/error.h"

namespace qm::regerrors {

/// The number the registry layer gives its own failures.
inline constexpr int32_t kNumber = 100;
/// The sources the registry layer names: its own name, and the component name its value operations report.
inline constexpr const char* kSource = "RegKey";
inline constexpr const char* kComponentSource = "用户自定义部件RegKey";

// Each error carries `code`, the result of the registry call that failed, as its last platform error
// code (0 when the layer refused on its own, without a call).

/// A value could not be reached for deletion: raised as CR LF " * " and the text.
RuntimeError QueryValueFailed(int32_t code);
/// A value could not be written: raised as CR LF " * " and the text.
RuntimeError CreateValueFailed(int32_t code);
/// One key could not be deleted; each enclosing deletion prefixes DeleteKeyFailedPrefix().
RuntimeError DeleteKeyFailed(int32_t code);
const char* DeleteKeyFailedPrefix();

}  // namespace qm::regerrors
