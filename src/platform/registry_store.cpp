#include "platform/registry_store.h"

#include <algorithm>
#include <array>
#include <utility>

#include "platform/text.h"

namespace qm::reg {

namespace {

constexpr uint32_t kFirstRoot = 0x80000000u;

const char* RootNameAt(size_t index) {
  static constexpr std::array<const char*, 7> names = {
      "HKEY_CLASSES_ROOT",     "HKEY_CURRENT_USER",   "HKEY_LOCAL_MACHINE", "HKEY_USERS",
      "HKEY_PERFORMANCE_DATA", "HKEY_CURRENT_CONFIG", "HKEY_DYN_DATA"};
  return names[index];
}

bool FoldedLess(const RegistryStore::NodePtr& node, const std::string& folded) { return node->FoldedName < folded; }

std::vector<RegistryStore::NodePtr>::const_iterator LowerBound(const std::vector<RegistryStore::NodePtr>& keys,
                                                               const std::string& folded) {
  return std::lower_bound(keys.begin(), keys.end(), folded, FoldedLess);
}

void MarkDeleted(RegistryStore::Node& top) {
  std::vector<RegistryStore::Node*> pending = {&top};
  while (!pending.empty()) {
    RegistryStore::Node* node = pending.back();
    pending.pop_back();
    node->Deleted = true;
    for (const auto& sub : node->SubKeys) pending.push_back(sub.get());
  }
}

}  // namespace

RegistryStore::NodePtr RegistryStore::Node::FindSubKey(std::string_view name) const {
  std::string folded = text::ToLowerAscii(name);
  auto it = LowerBound(SubKeys, folded);
  return it != SubKeys.end() && (*it)->FoldedName == folded ? *it : nullptr;
}

RegistryStore::RegistryStore() {
  for (size_t i = 0; i < 7; ++i) {
    auto root = std::make_shared<Node>();
    root->Name = RootNameAt(i);
    root->FoldedName = text::ToLowerAscii(root->Name);
    roots_.push_back(std::move(root));
  }
}

RegistryStore::NodePtr RegistryStore::Root(uint32_t rootKey) const {
  if (rootKey < kFirstRoot || rootKey - kFirstRoot >= roots_.size()) return nullptr;
  return roots_[rootKey - kFirstRoot];
}

std::string RegistryStore::RootName(uint32_t rootKey) {
  if (rootKey < kFirstRoot || rootKey - kFirstRoot >= 7) return "";
  return RootNameAt(rootKey - kFirstRoot);
}

uint32_t RegistryStore::RootByName(std::string_view name) {
  for (size_t i = 0; i < 7; ++i) {
    if (text::EqualsIgnoreCase(name, RootNameAt(i))) return kFirstRoot + static_cast<uint32_t>(i);
  }
  return 0;
}

std::vector<std::string_view> RegistryStore::SplitPath(std::string_view path) {
  std::vector<std::string_view> parts;
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find('\\', start);
    if (end == std::string_view::npos) end = path.size();
    if (end > start) parts.push_back(path.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

RegistryStore::NodePtr RegistryStore::Find(const NodePtr& from, std::string_view path) {
  NodePtr node = from;
  for (std::string_view part : SplitPath(path)) {
    node = node->FindSubKey(part);
    if (!node) return nullptr;
  }
  return node;
}

RegistryStore::NodePtr RegistryStore::Create(const NodePtr& from, std::string_view path, bool& created) {
  created = false;
  std::vector<std::string_view> parts = SplitPath(path);
  if (from->Depth + parts.size() > kMaxDepth) return nullptr;
  NodePtr node = from;
  for (std::string_view part : parts) {
    std::string folded = text::ToLowerAscii(part);
    auto it = LowerBound(node->SubKeys, folded);
    if (it != node->SubKeys.end() && (*it)->FoldedName == folded) {
      node = *it;
      continue;
    }
    auto sub = std::make_shared<Node>();
    sub->Name = std::string(part);
    sub->FoldedName = std::move(folded);
    sub->Depth = node->Depth + 1;
    node->SubKeys.insert(it, sub);
    node = std::move(sub);
    created = true;
  }
  return node;
}

void RegistryStore::RemoveLeaf(Node& parent, const NodePtr& node) {
  auto it = LowerBound(parent.SubKeys, node->FoldedName);
  if (it != parent.SubKeys.end() && *it == node) parent.SubKeys.erase(it);
  node->Deleted = true;
}

bool RegistryStore::RemoveTree(const NodePtr& from, std::string_view path) {
  std::vector<std::string_view> parts = SplitPath(path);
  if (parts.empty()) return false;
  NodePtr parent = from;
  for (size_t i = 0; i + 1 < parts.size(); ++i) {
    parent = parent->FindSubKey(parts[i]);
    if (!parent) return false;
  }
  NodePtr node = parent->FindSubKey(parts.back());
  if (!node) return false;
  MarkDeleted(*node);
  auto it = LowerBound(parent->SubKeys, node->FoldedName);
  parent->SubKeys.erase(it);
  return true;
}

}  // namespace qm::reg
