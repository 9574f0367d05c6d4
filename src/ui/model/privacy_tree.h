#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "config/catalogue_tree.h"
#include "config/privacy_configs.h"

namespace qm::ui {

/// What the last pass did, which chooses the folder images of the nodes it finished.
enum class RunMode {
  Display,  ///< listing what an earlier search kept: images stay
  Show,     ///< "foldershow" / "folderopenshow"
  Delete,   ///< "folderdelete" / "folderopendelete"
};

/// One node of the main window's tree as it is shown: the catalogue node it stands for, its current text
/// (the base text with a count in parentheses after a run), and its looks.
struct PrivacyTreeNode {
  CatalogueTreeNode Node;
  std::string Text;
  bool Bold = false;
  bool Expanded = false;
  std::string Image = "folder";
  std::string SelectedImage = "folderopen";
};

/// What a configuration's node shows after a search found its program not installed.
inline constexpr const char* kNotInstalledSuffix = " (not installed)";

/// The base text followed by "(" + count + ")" without a blank, or the base text alone for a count of -1.
std::string CountSuffixText(const std::string& base, int64_t count);

/// The main window's tree without the window: built from the catalogue, changed by the run's events, read
/// back by the window, which repaints the nodes `TakeChanged` names. Node indexes are the tree's index order.
class PrivacyTree {
 public:
  static constexpr std::size_t kNone = CatalogueTreeNode::kNoParent;

  /// Rebuilds the tree from the selected configurations and items of the catalogue: the root bold and
  /// expanded, every other node plain and collapsed, every node changed. The run mode goes back to Display.
  void Load(const PrivacyConfigs& catalogue);

  std::size_t size() const { return nodes_.size(); }
  const PrivacyTreeNode& operator[](std::size_t index) const { return nodes_[index]; }

  /// The first node whose tag is the root's tag followed by "\" + software (+ "\" + title when title is not
  /// empty), directly or below "Plug-ins" or "Customs"; kNone when there is none.
  std::size_t FindPrivacyNode(const std::string& software, const std::string& title) const;

  /// Each node's text back to its base text (counts removed), for `node` and every node below it.
  void ResetNodeText(std::size_t node);

  void SetRunMode(RunMode mode) { mode_ = mode; }

  /// A trace of `item` was found: its node becomes bold and its parent, grandparent and the root expanded.
  /// Raises error 100, source "SUP", "Don't find the nodeItem" when the item has no node.
  void OnAppendValue(const PrivacyItem& item);
  /// The item is done: its node is plain again, takes the run mode's images and its count.
  void OnParseItemFinish(const PrivacyItem& item, int64_t count);
  /// The configuration is done: images and count, or that its program is not installed ("Don't find the
  /// nodeConfig" when it has no node).
  void OnParseConfigFinish(const PrivacyConfig& config, int64_t count);
  /// A pass over the plug-ins (Plugins) or customs (Customs) is done: the group node's images and count.
  void OnParseBySoftwareTypeFinish(SoftwareType type, int64_t count);
  /// The whole catalogue is done: the root's images and count.
  void OnParseFinish(int64_t count);

  /// The nodes whose text, boldness, expansion or images changed since the last call, in index order.
  std::vector<std::size_t> TakeChanged();

 private:
  std::size_t NodeOf(const void* object, const char* missing) const;
  void SetImages(std::size_t node);
  void Changed(std::size_t node);

  std::vector<PrivacyTreeNode> nodes_;
  // Events name the catalogue's objects: their nodes are found by identity, so two configurations or items
  // of the same name (whose tags differ) are never confused.
  std::unordered_map<const void*, std::size_t> byObject_;
  std::vector<bool> changed_;
  RunMode mode_ = RunMode::Display;
};

}  // namespace qm::ui
