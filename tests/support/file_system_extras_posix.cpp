#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>

#include "support/file_system_extras.h"

namespace qm::testing {

bool MakeSymbolicLink(const std::string& target, const std::string& link) {
  return ::symlink(target.c_str(), link.c_str()) == 0;
}

bool MakeFifo(const std::string& path) { return ::mkfifo(path.c_str(), 0600) == 0; }

bool MakeDevice(const std::string& path) { return ::mknod(path.c_str(), S_IFCHR | 0600, makedev(1, 3)) == 0; }

bool MakeSocket(const std::string& path) {
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  if (path.size() >= sizeof address.sun_path) return false;
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
  if (fd < 0) return false;
  const bool made = ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
  ::close(fd);
  return made;
}

bool GiveTo(const std::string& path, uint32_t uid) { return ::lchown(path.c_str(), uid, uid) == 0; }

}  // namespace qm::testing
