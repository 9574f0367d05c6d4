#include "clean/run_target.h"

#include "config/catalogue_tree.h"

namespace qm {
namespace {

bool IsGroup(const std::string& part) { return part == kTreePluginsText || part == kTreeCustomsText; }

std::optional<RunTarget> ConfigTarget(const PrivacyConfigs& catalogue, const std::string& software) {
  RunTarget target;
  target.Scope = RunTarget::Level::Config;
  target.Config = catalogue.FindPrivacyConfig(software);
  if (!target.Config) return std::nullopt;
  target.StatusText = target.Config->Software;
  return target;
}

std::optional<RunTarget> ItemTarget(const PrivacyConfigs& catalogue, const std::string& software,
                                    const std::string& title) {
  RunTarget target;
  target.Scope = RunTarget::Level::Item;
  target.Config = catalogue.FindPrivacyConfig(software);
  if (!target.Config) return std::nullopt;
  target.Item = target.Config->FindPrivacyItem(title);
  if (!target.Item) return std::nullopt;
  target.StatusText = target.Config->Software + kTreeTagSeparator + target.Item->Title;
  return target;
}

}  // namespace

std::vector<std::string> SplitTreeTag(const std::string& tag) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  while (true) {
    const std::size_t end = tag.find(kTreeTagSeparator, start);
    parts.push_back(tag.substr(start, end == std::string::npos ? std::string::npos : end - start));
    if (end == std::string::npos) return parts;
    start = end + 1;
  }
}

std::optional<RunTarget> SelectRunTarget(const PrivacyConfigs& catalogue, const std::string& tag) {
  const std::vector<std::string> parts = SplitTreeTag(tag);
  if (parts[0] != kTreeRootText) return std::nullopt;
  switch (parts.size()) {
    case 1: {
      RunTarget target;
      target.StatusText = "ALL";
      return target;
    }
    case 2:
      if (IsGroup(parts[1])) {
        RunTarget target;
        target.Scope = RunTarget::Level::SoftwareType;
        target.SoftwareType = parts[1] == kTreeCustomsText ? software_types::kCustoms : software_types::kPlugins;
        target.StatusText = parts[1];
        return target;
      }
      return ConfigTarget(catalogue, parts[1]);
    case 3:
      if (IsGroup(parts[1])) return ConfigTarget(catalogue, parts[2]);
      return ItemTarget(catalogue, parts[1], parts[2]);
    case 4:
      if (!IsGroup(parts[1])) return std::nullopt;
      return ItemTarget(catalogue, parts[2], parts[3]);
    default:
      return std::nullopt;
  }
}

}  // namespace qm
