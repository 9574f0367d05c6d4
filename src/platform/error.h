#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace qm {

/// The project's one run-time error: a number, the source that raised it and a description, plus the
/// help file and context that re-raising code keeps unchanged, and the code the failing platform call gave.
class RuntimeError : public std::runtime_error {
 public:
  RuntimeError(int32_t number, std::string source, std::string description, std::string helpFile = "",
               int32_t helpContext = 0);

  int32_t Number() const { return number_; }
  const std::string& Source() const { return source_; }
  const std::string& Description() const { return description_; }
  const std::string& HelpFile() const { return helpFile_; }
  int32_t HelpContext() const { return helpContext_; }
  /// The error code of the platform call that failed (the Win32 error or registry result on Windows, errno
  /// or the registry store's result elsewhere); 0 when no platform call is behind the error.
  int32_t LastPlatformError() const { return lastPlatformError_; }

  /// The same error carrying `code` as its last platform error code.
  RuntimeError WithLastPlatformError(int32_t code) const;

  /// The same error with `prefix` put before the description (number, source, help and platform code kept),
  /// as an enclosing routine re-raises it.
  RuntimeError Prefixed(const std::string& prefix) const;

 private:
  int32_t number_;
  std::string source_;
  std::string description_;
  std::string helpFile_;
  int32_t helpContext_;
  int32_t lastPlatformError_ = 0;
};

/// Error numbers of the platform services, as the scripting runtime numbers them.
namespace errors {
inline constexpr int32_t kFileNotFound = 53;
inline constexpr int32_t kPermissionDenied = 70;
inline constexpr int32_t kPathNotFound = 76;
inline constexpr int32_t kFileAlreadyExists = 58;
inline constexpr int32_t kPathFileAccess = 75;
inline constexpr int32_t kDeviceIo = 57;
}  // namespace errors

}  // namespace qm
