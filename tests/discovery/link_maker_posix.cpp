#include <unistd.h>

#include "discovery/link_maker.h"

namespace qm::testing {

bool MakeSymbolicLink(const std::string& target, const std::string& link) {
  return ::symlink(target.c_str(), link.c_str()) == 0;
}

}  // namespace qm::testing
