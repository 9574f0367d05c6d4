#include "discovery/registry_walks.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "config/seek_rules.h"
#include "discovery/tree_walk.h"
#include "discovery/wildcard_match.h"
#include "registry/reg_key.h"
#include "registry/reg_keys.h"
#include "registry/reg_values.h"

namespace qm {
namespace {

/// The registry walk's error line: date and time, "--", number, ",", source, "(GetRegKeyAllSub),",
/// description, ",", the platform's error code.
std::string ErrorLine(const WalkContext& context, const RuntimeError& e) {
  return GeneralDateText(context.Services.Time.Now()) + "--" + std::to_string(e.Number()) + "," + e.Source() +
         "(GetRegKeyAllSub)," + e.Description() + "," + std::to_string(e.LastPlatformError());
}

/// Deletes a value when erasing, then tells its status: erased, or failed when the delete was refused.
TraceStatus EraseValue(const RegValue& rv, const std::function<void(const RuntimeError&)>& onFailure) {
  return SkipFailure([&] { rv.Delete(); }, onFailure) ? TraceStatus::Erased : TraceStatus::Failed;
}

/// The key walk's view of a key tree (see TreeWalk): values are the leaves (held ones kept), sub-keys are
/// walked and, when clearing, deleted once nothing is left in them. Every failure is written to the log as
/// an error line.
class KeyTree {
 public:
  using Node = RegKey;
  using Sub = RegKey;
  using Leaf = RegValue;
  struct Content {
    std::vector<RegKey> subs;
    std::vector<RegValue> leaves;
    bool others = false;
  };

  explicit KeyTree(WalkContext& context) : context_(context) {}

  Content Read(RegKey& key) {
    Content content;
    for (RegKey& sub : key.EnumSubKeys()) content.subs.push_back(sub);
    for (RegValue& value : key.EnumSubValues()) content.leaves.push_back(value);
    return content;
  }

  std::shared_ptr<PrivacyValue> Record(RegKey&, const RegKey& sub) {
    return context_.Values.AddRegKey(sub, context_.Clear ? TraceStatus::Erased : TraceStatus::Found);
  }

  TraceStatus Handle(RegKey&, RegValue& rv) {
    const bool held = context_.IsHeldValue(rv.KeyPath + "\\" + rv.ValueName);
    const auto pv = context_.Values.AddRegValue(rv, held ? TraceStatus::Held : TraceStatus::Found);
    if (context_.Clear && !held) pv->ValueStatus = EraseValue(rv, LogFailure());
    context_.Report(*pv);
    return pv->ValueStatus;
  }

  bool RecordsSubs() const { return true; }
  bool Enters(const RegKey&) const { return true; }
  RegKey Open(RegKey&, const RegKey& sub) { return sub; }

  Removal Remove(RegKey&, RegKey& sub) {
    RegKey fresh(sub.Registry(), sub.RootKey, sub.Path);
    if (fresh.EnumSubKeys().Count() > 0 || fresh.EnumSubValues().Count() > 0) return Removal::Kept;
    Removal removal = Removal::Kept;
    SkipFailure([&] { removal = fresh.DeleteRegKey(false) ? Removal::Removed : Removal::Kept; }, LogFailure());
    return removal;
  }

  void Unreadable(RegKey&, const RegKey*, const RuntimeError& error) { LogFailure()(error); }
  template <class Frames>
  void Release(Frames&) {}
  void Reopen(RegKey&, RegKey&) {}

 private:
  std::function<void(const RuntimeError&)> LogFailure() {
    return [this](const RuntimeError& e) { context_.LogLine(ErrorLine(context_, e)); };
  }

  WalkContext& context_;
};

bool KeyExists(reg::RegistryBackend& registry, uint32_t root, const std::string& path) {
  reg::KeyHandle key = 0;
  if (registry.OpenKey(reg::RootHandle(root), path, reg::kRead, key) != reg::kSuccess) return false;
  registry.CloseKey(key);
  return true;
}

/// The names of the sub-keys of `path` that the wildcard segment names: the one of exactly that name when
/// there is one (a key may be called "*"), else every one it matches.
std::vector<std::string> MatchingSubKeys(reg::RegistryBackend& registry, uint32_t root, const std::string& path,
                                         const std::string& segment) {
  std::vector<std::string> names;
  const std::u32string exact = UpperCodePoints(segment);
  std::optional<WildcardPattern> pattern;
  if (!SkipFailure([&] { pattern.emplace(segment); })) return names;
  RegKey parent(registry, root, path);
  for (const RegKey& sub : parent.EnumSubKeys()) {
    if (UpperCodePoints(sub.Name) == exact) return {sub.Name};
    if (pattern->Matches(sub.Name)) names.push_back(sub.Name);
  }
  return names;
}

/// Calls `visit` with each key `path` names below `root` from the segment `level` on; a segment holding "*"
/// or "?" names the sub-keys it matches.
void DescendKeys(WalkContext& context, uint32_t root, const std::string& path, const std::vector<std::string>& segments,
                 std::size_t level, const std::function<void(RegKey&)>& visit) {
  if (level == segments.size()) {
    RegKey key(context.Services.Registry, root, path);
    visit(key);
    return;
  }
  const std::string prefix = path.empty() ? "" : path + "\\";
  if (!HasWildcard(segments[level])) {
    DescendKeys(context, root, prefix + segments[level], segments, level + 1, visit);
    return;
  }
  for (const std::string& name : MatchingSubKeys(context.Services.Registry, root, path, segments[level])) {
    if (context.Stopped()) return;
    DescendKeys(context, root, prefix + name, segments, level + 1, visit);
  }
}

/// Calls `visit` with each key the item's key path S2 names under the root named S1: the one key, or, when
/// segments hold wildcards, every key they match.
void ForEachItemKey(WalkContext& context, const std::function<void(RegKey&)>& visit) {
  const uint32_t root = RegKey::TransRootKey(context.Setting(1));
  const std::string& path = context.Setting(2);
  if (!HasWildcard(path)) {
    RegKey key(context.Services.Registry, root, path);
    visit(key);
    return;
  }
  std::vector<std::string> segments;
  for (std::size_t start = 0; start <= path.size();) {
    std::size_t end = path.find('\\', start);
    if (end == std::string::npos) end = path.size();
    if (end > start) segments.push_back(path.substr(start, end - start));
    start = end + 1;
  }
  DescendKeys(context, root, "", segments, 0, visit);
}

/// Runs a registry item's walk with all its store writes in one: a write that fails leaves every trace it
/// would have erased at "failed", and their log lines say so.
template <class Walk>
void InOneWrite(WalkContext& context, Walk&& walk) {
  reg::ChangeBatch batch(context.Services.Registry);
  context.DeferLog();
  walk();
  context.LogDeferred(batch.End() != reg::kSuccess);
}

}  // namespace

void HandlePlainValue(WalkContext& context, const RegValue& rv) {
  const auto pv = context.Values.AddRegValue(rv, context.Clear ? TraceStatus::Erased : TraceStatus::Found);
  if (context.Clear) pv->ValueStatus = EraseValue(rv, {});
  context.Report(*pv);
}

void SeekRegValues(WalkContext& context) {
  InOneWrite(context, [&] {
    std::optional<WildcardPattern> pattern;
    if (context.SettingCount() >= 3 && !SkipFailure([&] { pattern.emplace(context.Setting(3)); })) return;
    ForEachItemKey(context, [&](RegKey& key) {
      for (const RegValue& rv : key.EnumSubValues()) {
        if (pattern && !pattern->Matches(rv.ValueName)) continue;
        if (context.Stopped()) return;
        SkipFailure([&] { HandlePlainValue(context, rv); });
      }
    });
  });
}

void SeekRegSubKeyValues(WalkContext& context) {
  InOneWrite(context, [&] {
    std::optional<WildcardPattern> pattern;
    if (!SkipFailure([&] { pattern.emplace(context.Setting(3)); })) return;
    ForEachItemKey(context, [&](RegKey& key) {
      for (RegKey& sub : key.EnumSubKeys()) {
        if (!pattern->Matches(sub.Name)) continue;
        if (context.Stopped()) return;
        for (const RegValue& rv : sub.EnumSubValues()) {
          if (context.Stopped()) return;
          SkipFailure([&] { HandlePlainValue(context, rv); });
        }
      }
    });
  });
}

void SeekRegKey(WalkContext& context) {
  const bool whole = RemovesSelf(context.Item);
  InOneWrite(context, [&] {
    KeyTree tree(context);
    ForEachItemKey(context, [&](RegKey& key) {
      if (!whole) {
        TreeWalk<KeyTree>(context, tree).Run(key);
      } else if (KeyExists(context.Services.Registry, key.RootKey, key.Path)) {
        RegKey parent = key;
        TreeWalk<KeyTree>(context, tree).RunWhole(parent, key);
      }
    });
  });
}

bool DetectsKeyOf(WalkContext& context) {
  bool found = false;
  ForEachItemKey(context,
                 [&](RegKey& key) { found = found || KeyExists(context.Services.Registry, key.RootKey, key.Path); });
  return found;
}

}  // namespace qm
