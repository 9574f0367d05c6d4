#include "registry/reg_errors.h"

#include <string>

namespace qm::regerrors {

namespace {

/// The value operations raise their description after a line break and " * ".
RuntimeError ComponentError(const std::string& description) {
  return RuntimeError(kNumber, kComponentSource, "\r\n * " + description);
}

}  // namespace

RuntimeError QueryValueFailed() { return ComponentError("查询注册表值失败！"); }

RuntimeError CreateValueFailed() { return ComponentError("创建注册表值失败！"); }

RuntimeError DeleteKeyFailed() { return RuntimeError(kNumber, kSource, "Delete RegKey failed!"); }

const char* DeleteKeyFailedPrefix() { return "Delete RegKey failed.\r\n"; }

}  // namespace qm::regerrors
