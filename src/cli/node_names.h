#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "config/catalogue_tree.h"

namespace qm::cli {

/// A node's name as a NODE may give it: its tag without the leading "Ur All Privacy\" ("Windows\Recycle Bin");
/// the root's name is its tag.
std::string ShortNodeName(const std::string& tag);

/// What a NODE argument names in a tree.
struct NodeLookup {
  std::size_t index = CatalogueTreeNode::kNoParent;  ///< the one node it names; kNoParent for none
  std::vector<std::size_t> candidates;               ///< when it names none: the nodes it matches ambiguously
};

/// The node `name` names: the node whose full tag, or else whose short name, is `name` exactly; else the one
/// node whose tag or short name equals `name` in any case of ASCII letters. Several such nodes are the
/// candidates of an ambiguous name.
NodeLookup LookUpNode(const std::vector<CatalogueTreeNode>& tree, const std::string& name);

/// `nodes` in their order without repeats and without the nodes inside another one of them: a run of the
/// outer node covers them.
std::vector<std::size_t> OutermostNodes(const std::vector<CatalogueTreeNode>& tree,
                                        const std::vector<std::size_t>& nodes);

}  // namespace qm::cli
