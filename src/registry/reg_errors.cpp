#include "registry/reg_errors.h"

#include <string>

namespace qm::regerrors {

namespace {

/// The value operations raise their description after a line break and " * ".
RuntimeError ComponentError(const std::string& description, int32_t code) {
  return RuntimeError(kNumber, kComponentSource, "\r\n * " + description).WithLastPlatformError(code);
}

}  // namespace

RuntimeError QueryValueFailed(int32_t code) { return ComponentError("查询注册表值失败！", code); }

RuntimeError CreateValueFailed(int32_t code) { return ComponentError("创建注册表值失败！", code); }

RuntimeError DeleteKeyFailed(int32_t code) {
  return RuntimeError(kNumber, kSource, "Delete RegKey failed!").WithLastPlatformError(code);
}

const char* DeleteKeyFailedPrefix() { return "Delete RegKey failed.\r\n"; }

}  // namespace qm::regerrors
