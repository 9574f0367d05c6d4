#include "ui/model/hold_lists.h"

#include <algorithm>
#include <functional>

#include "config/catalogue_tree.h"

namespace qm::ui {

std::optional<std::string> HoldPathOf(const PrivacyValue& pv) {
  const bool holdable =
      pv.ValueType == TraceKind::File || pv.ValueType == TraceKind::Folder || pv.ValueType == TraceKind::RegistryValue;
  if (!holdable) return std::nullopt;
  return pv.Path;
}

std::string HeldName(const std::string& path) {
  const std::size_t last = path.rfind(kTreeTagSeparator);
  return last == std::string::npos ? path : path.substr(last + 1);
}

HoldLists::HoldLists(const PrivacyConfig& config) {
  for (const auto& item : config.Items) lists_.emplace_back(item->HoldSettings.begin(), item->HoldSettings.end());
}

void HoldLists::Hold(std::size_t item, const std::vector<const PrivacyValue*>& values) {
  std::vector<std::string>& held = lists_[item];
  for (const PrivacyValue* pv : values) {
    const std::optional<std::string> path = HoldPathOf(*pv);
    if (path && std::find(held.begin(), held.end(), *path) == held.end()) held.push_back(*path);
  }
}

void HoldLists::Unhold(std::size_t item, std::vector<std::size_t> positions) {
  // From the last to the first, so each position still names the entry it named.
  std::sort(positions.begin(), positions.end(), std::greater<>());
  positions.erase(std::unique(positions.begin(), positions.end()), positions.end());
  std::vector<std::string>& held = lists_[item];
  for (std::size_t at : positions) {
    if (at < held.size()) held.erase(held.begin() + static_cast<std::ptrdiff_t>(at));
  }
}

void HoldLists::WriteBack(PrivacyConfig& config, const ConfigTree& tree) const {
  config.Selected = tree[0].Checked;
  for (std::size_t node = 1; node < tree.size(); ++node) {
    PrivacyItem& item = *config.Items.Item(static_cast<int64_t>(node));
    item.Selected = tree[node].Checked;
    if (!item.HoldFlag) continue;
    item.HoldSettings = TextList();
    for (const std::string& path : lists_[node - 1]) item.HoldSettings.Add(path);
  }
}

}  // namespace qm::ui
