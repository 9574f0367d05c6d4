#include "config/privacy_item.h"

#include <array>
#include <utility>

#include "config/settings_string.h"

namespace qm {

namespace {

constexpr std::array<std::pair<PrivacyItemType, const char*>, 9> kTypeNames = {{
    {PrivacyItemType::RegValue, "RegValue"},
    {PrivacyItemType::RegKey, "RegKey"},
    {PrivacyItemType::RegSubKeyValue, "RegSubKeyValue"},
    {PrivacyItemType::File, "File"},
    {PrivacyItemType::Folder, "Folder"},
    {PrivacyItemType::IniFileItem, "IniFileItem"},
    {PrivacyItemType::Customize, "Customize"},
    {PrivacyItemType::FileTree, "FileTree"},
    {PrivacyItemType::Detect, "Detect"},
}};

}  // namespace

int64_t PrivacyItem::ValueCount() const { return values_ ? values_->Count() : -1; }

void PrivacyItem::SetSeekSettingsByString(const std::string& str) { AppendSettingsParts(str, SeekSettings); }

void PrivacyItem::SetHoldSettingsByString(const std::string& str) { AppendSettingsParts(str, HoldSettings); }

void PrivacyItem::EmptyPrivacyValue() { values_.reset(); }

std::shared_ptr<PrivacyValues> PrivacyItem::GetPrivacyValue(ItemWalks& walks, const SearchOptions& options) {
  if (options.Refresh) {
    values_ = std::make_shared<PrivacyValues>();
    if (!Irregular && !PrivacyItemTypeName(ItemType).empty()) {
      values_ = walks.SeekPrivacyValue(*this, values_, options.Clear);
    }
  }
  // Hold the result: a handler may empty the item while it hears the event.
  std::shared_ptr<PrivacyValues> result = values_;
  const int64_t count = result ? result->Count() : -1;
  Raise([&](PrivacyItemEvents& listener) { listener.ParseItemFinish(*this, count); });
  return result;
}

PrivacyItemType PrivacyItem::TransPrivacyItemType(const std::string& sType) {
  for (const auto& [code, name] : kTypeNames) {
    if (sType == name) return code;
  }
  return PrivacyItemType::Unknown;
}

std::string PrivacyItem::PrivacyItemTypeName(PrivacyItemType itemType) {
  for (const auto& [code, name] : kTypeNames) {
    if (itemType == code) return name;
  }
  return "";
}

std::shared_ptr<PrivacyItem> PrivacyItem::Clone() const {
  auto copy = std::make_shared<PrivacyItem>();
  copy->Software = Software;
  copy->Title = Title;
  copy->Selected = Selected;
  copy->ItemType = ItemType;
  copy->HoldFlag = HoldFlag;
  copy->Irregular = Irregular;
  copy->FileLine = FileLine;
  copy->SeekSettings = SeekSettings;
  copy->HoldSettings = HoldSettings;
  return copy;
}

void PrivacyItem::RaiseAppendValue(PrivacyValue& pv) {
  Raise([&](PrivacyItemEvents& listener) { listener.AppendValue(*this, pv); });
}

}  // namespace qm
