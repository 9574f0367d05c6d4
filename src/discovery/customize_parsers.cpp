#include "discovery/customize_parsers.h"

#include "discovery/customize_parse.h"

namespace qm {

void CustomizeParsers::Register(const std::string& name, CustomizeParser parser) {
  parsers_[name] = std::move(parser);
}

const CustomizeParser* CustomizeParsers::Find(const std::string& name) const {
  const auto it = parsers_.find(name);
  return it == parsers_.end() ? nullptr : &it->second;
}

CustomizeParsers& TheCustomizeParsers() {
  // The special-case parsers take their places when the table is first used.
  static CustomizeParsers parsers = [] {
    CustomizeParsers table;
    RegisterCustomizeParse(table, TheCustomizeParse());
    return table;
  }();
  return parsers;
}

}  // namespace qm
