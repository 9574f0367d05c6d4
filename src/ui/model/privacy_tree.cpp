#include "ui/model/privacy_tree.h"

#include <utility>

#include "platform/error.h"

namespace qm::ui {

namespace {

constexpr int32_t kNodeErrorNumber = 100;
constexpr char kNodeErrorSource[] = "SUP";

/// Sets `field` to `value`; true when that changed it.
template <class T>
bool Update(T& field, T value) {
  if (field == value) return false;
  field = std::move(value);
  return true;
}

}  // namespace

std::string CountSuffixText(const std::string& base, int64_t count) {
  return count == -1 ? base : base + "(" + std::to_string(count) + ")";
}

void PrivacyTree::Load(const PrivacyConfigs& catalogue) {
  nodes_.clear();
  byObject_.clear();
  for (CatalogueTreeNode& node : BuildCatalogueTree(catalogue)) {
    const void* object = node.Item ? static_cast<const void*>(node.Item.get()) : node.Config.get();
    if (object) byObject_[object] = nodes_.size();
    PrivacyTreeNode shown;
    shown.Text = node.Text;
    shown.Node = std::move(node);
    nodes_.push_back(std::move(shown));
  }
  nodes_[0].Bold = true;
  nodes_[0].Expanded = true;
  changed_.assign(nodes_.size(), true);
  mode_ = RunMode::Display;
}

std::size_t PrivacyTree::FindPrivacyNode(const std::string& software, const std::string& title) const {
  if (nodes_.empty()) return kNone;
  const std::string separator(1, kTreeTagSeparator);
  const std::string& root = nodes_[0].Node.Tag;
  const std::string below = separator + software + (title.empty() ? "" : separator + title);
  const std::string candidates[] = {root + below, root + separator + kTreePluginsText + below,
                                    root + separator + kTreeCustomsText + below};
  for (std::size_t i = 0; i < nodes_.size(); ++i) {
    for (const std::string& tag : candidates) {
      if (nodes_[i].Node.Tag == tag) return i;
    }
  }
  return kNone;
}

void PrivacyTree::ResetNodeText(std::size_t node) {
  if (Update(nodes_[node].Text, nodes_[node].Node.Text)) Changed(node);
  for (std::size_t child : nodes_[node].Node.Children) ResetNodeText(child);
}

void PrivacyTree::OnAppendValue(const PrivacyItem& item) {
  const std::size_t node = NodeOf(&item, "Don't find the nodeItem");
  // The item's configuration, its group or the root, and the root: whatever is needed to show the node.
  const std::size_t parent = nodes_[node].Node.Parent;
  for (std::size_t above : {parent, nodes_[parent].Node.Parent, std::size_t{0}}) {
    if (above != kNone && Update(nodes_[above].Expanded, true)) Changed(above);
  }
  if (Update(nodes_[node].Bold, true)) Changed(node);
}

void PrivacyTree::OnParseItemFinish(const PrivacyItem& item, int64_t count) {
  const std::size_t node = NodeOf(&item, "Don't find the nodeItem");
  if (Update(nodes_[node].Bold, false)) Changed(node);
  SetImages(node);
  if (Update(nodes_[node].Text, CountSuffixText(nodes_[node].Node.Text, count))) Changed(node);
}

void PrivacyTree::OnParseConfigFinish(const PrivacyConfig& config, int64_t count) {
  const std::size_t node = NodeOf(&config, "Don't find the nodeConfig");
  SetImages(node);
  const std::string text = config.Detected ? CountSuffixText(nodes_[node].Node.Text, count)
                                           : nodes_[node].Node.Text + kNotInstalledSuffix;
  if (Update(nodes_[node].Text, text)) Changed(node);
}

void PrivacyTree::OnParseBySoftwareTypeFinish(SoftwareType type, int64_t count) {
  if (nodes_.empty() || (type != SoftwareType::Plugins && type != SoftwareType::Customs)) return;
  const std::string name = type == SoftwareType::Plugins ? kTreePluginsText : kTreeCustomsText;
  // A configuration under the root cannot carry a group's name in its tag, so only the group node matches.
  const std::string tag = nodes_[0].Node.Tag + kTreeTagSeparator + name;
  for (std::size_t child : nodes_[0].Node.Children) {
    if (nodes_[child].Node.Tag != tag) continue;
    SetImages(child);
    if (Update(nodes_[child].Text, CountSuffixText(name, count))) Changed(child);
  }
}

void PrivacyTree::OnParseFinish(int64_t count) {
  if (nodes_.empty()) return;
  SetImages(0);
  if (Update(nodes_[0].Text, CountSuffixText(nodes_[0].Node.Text, count))) Changed(0);
}

std::vector<std::size_t> PrivacyTree::TakeChanged() {
  std::vector<std::size_t> changed;
  for (std::size_t i = 0; i < changed_.size(); ++i) {
    if (changed_[i]) changed.push_back(i);
    changed_[i] = false;
  }
  return changed;
}

std::size_t PrivacyTree::NodeOf(const void* object, const char* missing) const {
  const auto found = byObject_.find(object);
  if (found == byObject_.end()) throw RuntimeError(kNodeErrorNumber, kNodeErrorSource, missing);
  return found->second;
}

void PrivacyTree::SetImages(std::size_t node) {
  if (mode_ == RunMode::Display) return;
  const std::string suffix = mode_ == RunMode::Show ? "show" : "delete";
  const bool image = Update(nodes_[node].Image, "folder" + suffix);
  const bool selected = Update(nodes_[node].SelectedImage, "folderopen" + suffix);
  if (image || selected) Changed(node);
}

void PrivacyTree::Changed(std::size_t node) { changed_[node] = true; }

}  // namespace qm::ui
