#include "platform/error.h"

#include <utility>

namespace qm {

RuntimeError::RuntimeError(int32_t number, std::string source, std::string description, std::string helpFile,
                           int32_t helpContext)
    : std::runtime_error(description),
      number_(number),
      source_(std::move(source)),
      description_(std::move(description)),
      helpFile_(std::move(helpFile)),
      helpContext_(helpContext) {}

RuntimeError RuntimeError::WithLastPlatformError(int32_t code) const {
  RuntimeError error = *this;
  error.lastPlatformError_ = code;
  return error;
}

RuntimeError RuntimeError::Prefixed(const std::string& prefix) const {
  return RuntimeError(number_, source_, prefix + description_, helpFile_, helpContext_)
      .WithLastPlatformError(lastPlatformError_);
}

}  // namespace qm
