#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "config/privacy_config.h"

namespace qm::ui {

/// What an item node's text ends with while its item keeps a hold list.
inline constexpr char kHoldingMarker[] = " --- ( Holding )";

/// One node of a configuration's tree as it is shown: text, tick and looks.
struct ConfigTreeNode {
  std::string Text;
  bool Checked = false;
  bool Bold = false;
  bool Expanded = false;
  std::string Image = "folder";
  std::string SelectedImage = "folderopen";
};

/// The tree of one configuration that Privacy Detail and Custom Maker show: node 0 stands for the configuration,
/// node i for item i of its `Items`, and they stay in step. Run events find their node by the object they
/// name, never by its name, so items of the same title and a renamed configuration are never confused; an
/// event for an object the tree does not hold changes nothing.
class ConfigTree {
 public:
  static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

  /// Builds the nodes from `config`, which must outlive the tree: the root bold and expanded, each node
  /// ticked as its object is selected.
  void Load(const PrivacyConfig& config);

  std::size_t size() const { return nodes_.size(); }
  const ConfigTreeNode& operator[](std::size_t node) const { return nodes_[node]; }

  /// The node's text without counts: the configuration's name, or the item's title with the holding marker
  /// when the item keeps holds.
  std::string BaseText(std::size_t node) const;
  /// The node's place, as the description shows it: the name, or name + "\" + title.
  std::string Tag(std::size_t node) const;
  /// The item of an item node; nullptr for the root.
  std::shared_ptr<PrivacyItem> ItemOf(std::size_t node) const;

  /// The user ticked or unticked a node. The root's state goes to every item; a ticked item ticks the root;
  /// an unticked one leaves the root ticked only while another item is.
  void Check(std::size_t node, bool checked);
  /// Ticks the root alone.
  void CheckRoot() { nodes_[0].Checked = true; }

  /// Texts back to their base texts: the root's resets every node, an item's its own.
  void ResetNodeText(std::size_t node);

  /// A trace of `item` was found: its node turns bold and the root opens.
  void OnAppendValue(const PrivacyItem& item);
  /// The item is done: plain again, its count in parentheses (none for -1), and after a search the images
  /// "foldershow" and "folderopenshow".
  void OnParseItemFinish(const PrivacyItem& item, int64_t count, bool searched);
  /// The configuration is done: the root's count and images alike.
  void OnParseConfigFinish(const PrivacyConfig& config, int64_t count, bool searched);

  /// A node for the configuration's last item, ticked as it is selected; returns its index.
  std::size_t AddItemNode();
  /// Drops an item node; the item must already be gone from the configuration.
  void RemoveItemNode(std::size_t node);
  /// An item node's text back to its base text, its tick to its item's `Selected`.
  void Refresh(std::size_t node);
  /// The root's text follows the configuration's name.
  void RootRenamed() { nodes_[0].Text = config_->Software; }

 private:
  std::size_t NodeOf(const PrivacyItem& item) const;
  void Finish(std::size_t node, int64_t count, bool searched);

  const PrivacyConfig* config_ = nullptr;
  std::vector<ConfigTreeNode> nodes_;
};

}  // namespace qm::ui
