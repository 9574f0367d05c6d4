#include "ui/model/config_tree.h"

#include <algorithm>

#include "config/catalogue_tree.h"
#include "ui/model/privacy_tree.h"

namespace qm::ui {

void ConfigTree::Load(const PrivacyConfig& config) {
  config_ = &config;
  nodes_.assign(1, ConfigTreeNode{config.Software, config.Selected, true, true});
  for (int64_t i = 1; i <= config.Items.Count(); ++i) AddItemNode();
}

std::string ConfigTree::BaseText(std::size_t node) const {
  if (node == 0) return config_->Software;
  const std::shared_ptr<PrivacyItem> item = ItemOf(node);
  return item->Title + (item->HoldFlag ? kHoldingMarker : "");
}

std::string ConfigTree::Tag(std::size_t node) const {
  return node == 0 ? config_->Software : config_->Software + kTreeTagSeparator + ItemOf(node)->Title;
}

std::shared_ptr<PrivacyItem> ConfigTree::ItemOf(std::size_t node) const {
  return node == 0 ? nullptr : config_->Items.Item(static_cast<int64_t>(node));
}

void ConfigTree::Check(std::size_t node, bool checked) {
  nodes_[node].Checked = checked;
  if (node == 0) {
    for (ConfigTreeNode& item : nodes_) item.Checked = checked;
  } else {
    nodes_[0].Checked =
        checked || std::any_of(nodes_.begin() + 1, nodes_.end(), [](const ConfigTreeNode& n) { return n.Checked; });
  }
}

void ConfigTree::ResetNodeText(std::size_t node) {
  const std::size_t last = node == 0 ? nodes_.size() : node + 1;
  for (std::size_t i = node; i < last; ++i) nodes_[i].Text = BaseText(i);
}

void ConfigTree::OnAppendValue(const PrivacyItem& item) {
  const std::size_t node = NodeOf(item);
  if (node == kNone) return;
  nodes_[0].Expanded = true;
  nodes_[node].Bold = true;
}

void ConfigTree::OnParseItemFinish(const PrivacyItem& item, int64_t count, bool searched) {
  const std::size_t node = NodeOf(item);
  if (node == kNone) return;
  nodes_[node].Bold = false;
  Finish(node, count, searched);
}

void ConfigTree::OnParseConfigFinish(const PrivacyConfig& config, int64_t count, bool searched) {
  if (&config == config_ && !nodes_.empty()) Finish(0, count, searched);
}

std::size_t ConfigTree::AddItemNode() {
  nodes_.emplace_back();
  Refresh(nodes_.size() - 1);
  return nodes_.size() - 1;
}

void ConfigTree::RemoveItemNode(std::size_t node) { nodes_.erase(nodes_.begin() + static_cast<std::ptrdiff_t>(node)); }

void ConfigTree::Refresh(std::size_t node) {
  nodes_[node].Text = BaseText(node);
  nodes_[node].Checked = ItemOf(node)->Selected;
}

std::size_t ConfigTree::NodeOf(const PrivacyItem& item) const {
  for (std::size_t node = 1; node < nodes_.size(); ++node) {
    if (ItemOf(node).get() == &item) return node;
  }
  return kNone;
}

void ConfigTree::Finish(std::size_t node, int64_t count, bool searched) {
  if (searched) {
    nodes_[node].Image = "foldershow";
    nodes_[node].SelectedImage = "folderopenshow";
  }
  if (node == 0) {
    nodes_[0].Text = CountSuffixText(config_->Software, count);
  } else {
    const std::shared_ptr<PrivacyItem> item = ItemOf(node);
    nodes_[node].Text = CountSuffixText(item->Title, count) + (item->HoldFlag ? kHoldingMarker : "");
  }
}

}  // namespace qm::ui
