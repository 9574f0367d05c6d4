#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/registry_value_table.h"

namespace qm::reg {

/// The whole registry tree of the file-backed store, held in memory. Names compare without regard to ASCII
/// letter case; sub-keys are kept in case-insensitive name order (the order Windows enumerates them in),
/// values in the order they were created. Keys go at most kMaxDepth levels below their root, as on Windows,
/// so walks over the tree never run deeper than that.
class RegistryStore {
 public:
  using Value = StoredValue;

  static constexpr std::size_t kMaxDepth = 512;

  struct Node;
  using NodePtr = std::shared_ptr<Node>;

  struct Node {
    std::string Name;
    std::string FoldedName;        ///< the name in lower case: the sort and look-up key
    std::size_t Depth = 0;         ///< levels below its root, 0 for a root
    bool Deleted = false;          ///< set when the key leaves the tree, so open handles see it gone
    std::vector<NodePtr> SubKeys;  ///< sorted by FoldedName
    ValueTable Values;

    NodePtr FindSubKey(std::string_view name) const;
  };

  /// Seven empty roots.
  RegistryStore();

  /// The root node of a predefined root value (0x80000000 ... 0x80000006), or null.
  NodePtr Root(uint32_t rootKey) const;
  /// "HKEY_CURRENT_USER" for 0x80000001 ...; "" for any other number.
  static std::string RootName(uint32_t rootKey);
  /// The root value of a full root name (any letter case), 0 when unknown.
  static uint32_t RootByName(std::string_view name);

  /// The key at `path` (components separated by "\", empty components ignored) below `from`, or null.
  static NodePtr Find(const NodePtr& from, std::string_view path);
  /// The key at `path` below `from`, creating the missing ones; `created` tells whether any was. Null, with
  /// nothing created, when the key would lie deeper than kMaxDepth.
  static NodePtr Create(const NodePtr& from, std::string_view path, bool& created);
  /// Removes `node`, which must have no sub-keys, from `parent`.
  static void RemoveLeaf(Node& parent, const NodePtr& node);
  /// Removes the key at `path` below `from` with everything below it; false when it does not exist.
  static bool RemoveTree(const NodePtr& from, std::string_view path);

  /// Splits a key path into its components, dropping empty ones.
  static std::vector<std::string_view> SplitPath(std::string_view path);

 private:
  std::vector<NodePtr> roots_;
};

}  // namespace qm::reg
