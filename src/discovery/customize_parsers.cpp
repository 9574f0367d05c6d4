#include "discovery/customize_parsers.h"

namespace qm {

void CustomizeParsers::Register(const std::string& name, CustomizeParser parser) {
  parsers_[name] = std::move(parser);
}

const CustomizeParser* CustomizeParsers::Find(const std::string& name) const {
  const auto it = parsers_.find(name);
  return it == parsers_.end() ? nullptr : &it->second;
}

CustomizeParsers& TheCustomizeParsers() {
  static CustomizeParsers parsers;
  return parsers;
}

}  // namespace qm
