#include "config/privacy_config.h"

#include <array>
#include <utility>

namespace qm {

namespace {

constexpr std::array<std::pair<SoftwareType, const char*>, 3> kSoftwareTypeNames = {{
    {SoftwareType::Root, "Root"},
    {SoftwareType::Plugins, "Plugins"},
    {SoftwareType::Customs, "Customs"},
}};

/// The walks of a configuration whose program is not installed: every item finds nothing.
class FindsNothing final : public ItemWalks {
 public:
  explicit FindsNothing(const ItemWalks& run) : run_(run) {}
  std::shared_ptr<PrivacyValues> SeekPrivacyValue(PrivacyItem&, std::shared_ptr<PrivacyValues> values, bool) override {
    return values;
  }
  bool Detects(PrivacyItem&) override { return false; }
  bool StopRequested() const override { return run_.StopRequested(); }

 private:
  const ItemWalks& run_;
};

}  // namespace

PrivacyConfig::PrivacyConfig() : itemForwarder_(*this), piEvent_(&itemForwarder_) {}

std::shared_ptr<PrivacyItem> PrivacyConfig::FindPrivacyItem(const std::string& sItemTitle) const {
  for (const auto& item : Items) {
    if (item->Title == sItemTitle) return item;
  }
  return nullptr;
}

void PrivacyConfig::EmptyPrivacyValue() {
  for (const auto& item : Items) item->EmptyPrivacyValue();
}

bool PrivacyConfig::Detect(ItemWalks& walks) const {
  bool named = false;
  for (const auto& item : Items) {
    if (item->ItemType != PrivacyItemType::Detect) continue;
    if (walks.Detects(*item)) return true;
    named = true;
  }
  return !named;
}

std::shared_ptr<PrivacyValues> PrivacyConfig::GetPrivacyValue(ItemWalks& walks, const SearchOptions& options) {
  if (options.Refresh) Detected = Detect(walks);
  FindsNothing nothing(walks);
  ItemWalks& itemWalks = Detected ? walks : nothing;
  std::shared_ptr<PrivacyValues> result;
  // By position, holding each item: a handler that changes the collection cannot pull it from under us.
  for (int64_t i = 1; i <= Items.Count(); ++i) {
    const std::shared_ptr<PrivacyItem> item = Items.Item(i);
    if (!item->Selected && !options.IncludeUnselected) continue;
    if (item->ItemType == PrivacyItemType::Detect) continue;
    piEvent_.Set(item);
    MergePrivacyValues(result, item->GetPrivacyValue(itemWalks, options), false);
    if (walks.StopRequested()) break;
  }
  const int64_t count = result ? result->Count() : -1;
  Raise([&](PrivacyConfigEvents& listener) { listener.ParseConfigFinish(*this, count); });
  return result;
}

int64_t PrivacyConfig::ValueCount() const {
  int64_t total = -1;
  for (const auto& item : Items) {
    const int64_t count = item->ValueCount();
    if (count != -1) total = (total == -1 ? 0 : total) + count;
  }
  return total;
}

qm::SoftwareType PrivacyConfig::TransSoftwareType(const std::string& name) {
  for (const auto& [code, typeName] : kSoftwareTypeNames) {
    if (name == typeName) return code;
  }
  return SoftwareType::Unknown;
}

std::string PrivacyConfig::SoftwareTypeName(qm::SoftwareType softwareType) {
  for (const auto& [code, typeName] : kSoftwareTypeNames) {
    if (softwareType == code) return typeName;
  }
  return "";
}

std::shared_ptr<PrivacyConfig> PrivacyConfig::Clone() const {
  auto copy = std::make_shared<PrivacyConfig>();
  copy->Software = Software;
  copy->SoftwareType = SoftwareType;
  copy->Description = Description;
  copy->Selected = Selected;
  copy->Version = Version;
  copy->Detected = Detected;
  for (const auto& item : Items) copy->Items.Add(item->Clone());
  copy->FileLines = FileLines;
  return copy;
}

void PrivacyConfig::ItemForwarder::AppendValue(PrivacyItem& pi, PrivacyValue& pv) {
  owner_.Raise([&](PrivacyConfigEvents& listener) { listener.AppendValue(pi, pv); });
}

void PrivacyConfig::ItemForwarder::ParseItemFinish(PrivacyItem& pi, int64_t lTotalCount) {
  owner_.Raise([&](PrivacyConfigEvents& listener) { listener.ParseItemFinish(pi, lTotalCount); });
}

}  // namespace qm
