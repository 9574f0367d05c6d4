#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>

#include "config/privacy_config.h"
#include "ui/model/config_tree.h"

namespace qm::ui {

inline constexpr char kCustomMakerCaption[] = "Custom Maker";
inline constexpr char kSelectItemMessage[] = "Please select a privacy item.";
inline constexpr char kRootNotDeletedMessage[] = "Root Item can't be deleted!";
inline constexpr char kDeleteItemQuestion[] = "The highlight Privacy Item will be deleted, continue?";
inline constexpr char kNoItemMessage[] = "Not any privacy item exists.";
inline constexpr char kNoNameMessage[] = "Software's name is null.";
inline constexpr char kNoItemsQuestion[] = "Software's privacy item is empty, continue?";

/// What the Custom Maker window decides without drawing: its working copy of one custom configuration, the
/// tree over that copy, the refusals of Delete, Detail and OK, and the configuration OK fills in. Items and
/// nodes stay in step: item i is node i.
class CustomMaker {
 public:
  /// Works on a clone of `original`. An item that has no definition line yet takes the first of the
  /// configuration's file lines that defines its title (begins with the title and "<>").
  explicit CustomMaker(const PrivacyConfig& original);

  const std::shared_ptr<PrivacyConfig>& Working() const { return working_; }
  ConfigTree& Tree() { return tree_; }
  const ConfigTree& Tree() const { return tree_; }

  /// The name box changed: the working name and the root's text become its trimmed text.
  void Rename(const std::string& nameBox);

  /// Adds an item the Custom Item dialog defined, ticked, after the others, and returns its node. An empty
  /// name box takes a name first (and `nameBox` says which): the item's title for a new configuration (one
  /// whose original has no name), the original name otherwise.
  std::size_t Add(std::shared_ptr<PrivacyItem> item, std::string& nameBox);

  /// Why Delete refuses the selected node (ConfigTree::kNone for none); nothing when it may ask.
  std::optional<std::string> DeleteRefusal(std::size_t selected) const;
  /// Removes an item node and its item.
  void Delete(std::size_t node);

  /// Why Detail refuses the selected node; nothing when it may go on.
  std::optional<std::string> DetailRefusal(std::size_t selected) const;
  /// The node Detail edits: the selected one, or the first item when the root is selected.
  static std::size_t DetailNode(std::size_t selected) { return selected == 0 ? 1 : selected; }
  /// The item of a node, about to be edited: it takes the node's tick first, so the edit keeps it.
  std::shared_ptr<PrivacyItem> DetailItem(std::size_t node);
  /// The item was edited: its node shows its title and tick.
  void Detailed(std::size_t node) { tree_.Refresh(node); }

  /// Why OK refuses the name box; nothing when it may go on.
  std::optional<std::string> OkRefusal(const std::string& nameBox) const;
  /// True when OK must ask before it saves a configuration without items.
  bool Empty() const { return tree_.size() == 1; }
  /// OK: fills `target` as a custom configuration of version 1 named by the trimmed name box, ticked as the
  /// root, with the header lines of a custom configuration file and, for each item node in order, the item
  /// (ticked as its node) and its definition line.
  void Fill(PrivacyConfig& target, const std::string& nameBox, const std::string& description) const;

 private:
  std::string originalSoftware_;
  std::shared_ptr<PrivacyConfig> working_;
  ConfigTree tree_;
};

}  // namespace qm::ui
