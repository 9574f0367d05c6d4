#include "discovery/registry_walks.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "discovery/wildcard_match.h"
#include "registry/reg_key.h"
#include "registry/reg_keys.h"
#include "registry/reg_values.h"

namespace qm {
namespace {

/// Records a value of a RegValue or RegSubKeyValue item (never held), reports it, then deletes it when
/// erasing; a value that could not be deleted says so.
void HandlePlainValue(WalkContext& context, const RegValue& rv) {
  const auto pv = context.Values.AddRegValue(rv, context.Clear ? status::kErased : status::kFound);
  context.Report(*pv);
  if (context.Clear && !SkipFailure([&] { rv.Delete(); })) context.EraseFailed(*pv);
}

/// The key S2 under the root named S1.
RegKey ItemKey(const WalkContext& context) {
  return RegKey(RegKey::TransRootKey(context.Setting(1)), context.Setting(2));
}

/// True when the key has neither values nor sub-keys left.
bool IsEmptyKey(const RegKey& key) {
  RegKey fresh(key.RootKey, key.Path);
  return fresh.EnumSubKeys().Count() == 0 && fresh.EnumSubValues().Count() == 0;
}

/// A sub-key recorded by the registry walk, and whether it is gone.
struct RecordedKey {
  RegKey* key;
  std::shared_ptr<PrivacyValue> pv;
  bool removed = false;
};

/// The registry walk: sub-keys are recorded first, then the values (held ones kept), then each sub-key is
/// walked and, when erasing, deleted once nothing is left in it, so a held value keeps its key. Every
/// failure is written to the log as an error line and skipped.
void GetRegKeyAllSub(WalkContext& context, RegKey& key) {
  const auto logFailure = [&](const RuntimeError& e) {
    context.AppendString(GeneralDateText(context.Time.Now()) + "--" + std::to_string(e.Number()) + "," +
                         e.Source() + "(GetRegKeyAllSub)," + e.Description() + "," +
                         std::to_string(e.LastPlatformError()));
  };

  RegKeys* subKeys = nullptr;
  RegValues* values = nullptr;
  if (!SkipFailure([&] { subKeys = &key.SubKeys(); }, logFailure)) return;

  std::vector<RecordedKey> recorded;
  [&] {
    for (RegKey& sub : *subKeys) {
      if (WalkContext::Stopped()) return;
      SkipFailure(
          [&] {
            const auto pv = context.Values.AddRegKey(sub, context.Clear ? status::kErased : status::kFound);
            recorded.push_back({&sub, pv});
            context.Report(*pv);
          },
          logFailure);
    }
    if (!SkipFailure([&] { values = &key.SubValues(); }, logFailure)) return;
    for (RegValue& rv : *values) {
      if (WalkContext::Stopped()) return;
      SkipFailure(
          [&] {
            const bool held = context.Holds.IsHeld(rv.KeyPath + "\\" + rv.ValueName);
            const auto pv = context.Values.AddRegValue(rv, held ? status::kHeld : status::kFound);
            if (context.Clear && !held) {
              if (SkipFailure([&] { rv.Delete(); }, logFailure)) {
                pv->ValueStatus = status::kErased;
              } else {
                context.EraseFailed(*pv);
              }
            }
            context.Report(*pv);
          },
          logFailure);
    }
    for (RecordedKey& sub : recorded) {
      if (WalkContext::Stopped()) return;
      GetRegKeyAllSub(context, *sub.key);
      if (!context.Clear) continue;
      SkipFailure(
          [&] {
            if (IsEmptyKey(*sub.key)) sub.removed = sub.key->DeleteRegKey(false);
          },
          logFailure);
    }
  }();

  if (!context.Clear) return;
  for (RecordedKey& sub : recorded) {
    if (!sub.removed) context.EraseFailed(*sub.pv);
  }
}

}  // namespace

void SeekRegValues(WalkContext& context) {
  RegKey key = ItemKey(context);
  std::optional<WildcardPattern> pattern;
  if (context.SettingCount() >= 3 && !SkipFailure([&] { pattern.emplace(context.Setting(3)); })) return;
  RegValues* values = nullptr;
  if (!SkipFailure([&] { values = &key.SubValues(); })) return;
  for (const RegValue& rv : *values) {
    if (pattern && !pattern->Matches(rv.ValueName)) continue;
    if (WalkContext::Stopped()) return;
    SkipFailure([&] { HandlePlainValue(context, rv); });
  }
}

void SeekRegSubKeyValues(WalkContext& context) {
  RegKey key = ItemKey(context);
  std::optional<WildcardPattern> pattern;
  if (!SkipFailure([&] { pattern.emplace(context.Setting(3)); })) return;
  RegKeys* subKeys = nullptr;
  if (!SkipFailure([&] { subKeys = &key.EnumSubKeys(); })) return;
  for (RegKey& sub : *subKeys) {
    if (!pattern->Matches(sub.Name)) continue;
    if (WalkContext::Stopped()) return;
    RegValues* values = nullptr;
    if (!SkipFailure([&] { values = &sub.SubValues(); })) continue;
    for (const RegValue& rv : *values) {
      if (WalkContext::Stopped()) return;
      SkipFailure([&] { HandlePlainValue(context, rv); });
    }
  }
}

void SeekRegKey(WalkContext& context) {
  RegKey key = ItemKey(context);
  GetRegKeyAllSub(context, key);
}

}  // namespace qm
