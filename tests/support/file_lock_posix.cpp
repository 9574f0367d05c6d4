#include "support/file_lock.h"

#include <cerrno>
#include <cstring>
#include <linux/capability.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include "platform/error.h"

namespace qm::testing {

namespace {

RuntimeError LockError(const std::string& what, const std::string& path) {
  const int code = errno;
  return RuntimeError(errors::kPermissionDenied, "FileLock", what + " \"" + path + "\": " + std::strerror(code))
      .WithLastPlatformError(code);
}

// Capabilities are per thread; these calls change the calling thread only.
bool GetCaps(__user_cap_header_struct& header, __user_cap_data_struct (&data)[2]) {
  header = {_LINUX_CAPABILITY_VERSION_3, 0};
  return ::syscall(SYS_capget, &header, data) == 0;
}

bool SetEffectiveCaps(const uint32_t (&effective)[2]) {
  __user_cap_header_struct header{};
  __user_cap_data_struct data[2]{};
  if (!GetCaps(header, data)) return false;
  data[0].effective = effective[0];
  data[1].effective = effective[1];
  return ::syscall(SYS_capset, &header, data) == 0;
}

}  // namespace

FileLock::FileLock(const std::string& path) {
  std::string::size_type slash = path.find_last_of('/');
  folder_ = slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
  struct stat st {};
  if (::stat(folder_.c_str(), &st) != 0) throw LockError("Cannot read the folder of", path);
  folderMode_ = st.st_mode & 07777;

  __user_cap_header_struct header{};
  __user_cap_data_struct data[2]{};
  if (!GetCaps(header, data)) throw LockError("Cannot read the capabilities for", path);
  savedEffective_[0] = data[0].effective;
  savedEffective_[1] = data[1].effective;
  const uint32_t overriding = (1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH) | (1u << CAP_FOWNER) |
                              (1u << CAP_LINUX_IMMUTABLE);
  const uint32_t reduced[2] = {savedEffective_[0] & ~overriding, savedEffective_[1]};

  if (::chmod(folder_.c_str(), folderMode_ & ~0222u) != 0) throw LockError("Cannot make read-only the folder of", path);
  if (!SetEffectiveCaps(reduced)) {
    ::chmod(folder_.c_str(), folderMode_);
    throw LockError("Cannot set aside the capabilities for", path);
  }
}

FileLock::~FileLock() {
  SetEffectiveCaps(savedEffective_);
  ::chmod(folder_.c_str(), folderMode_);
}

}  // namespace qm::testing
