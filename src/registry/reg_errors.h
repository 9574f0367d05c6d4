#pragma once

#include <cstdint>

#include "platform/error.h"

namespace qm::regerrors {

/// The number the registry layer gives its own failures.
inline constexpr int32_t kNumber = 100;
/// The sources the registry layer names: its own name, and the component name its value operations report.
inline constexpr const char* kSource = "RegKey";
inline constexpr const char* kComponentSource = "用户自定义部件RegKey";

/// A value could not be reached for deletion: raised as CR LF " * " and the text.
RuntimeError QueryValueFailed();
/// A value could not be written: raised as CR LF " * " and the text.
RuntimeError CreateValueFailed();
/// One key could not be deleted; each enclosing deletion prefixes DeleteKeyFailedPrefix().
RuntimeError DeleteKeyFailed();
const char* DeleteKeyFailedPrefix();

}  // namespace qm::regerrors
