#include "config/privacy_item.h"

#include <array>
#include <utility>

#include "config/item_walks.h"
#include "config/settings_string.h"

namespace qm {

namespace {

constexpr std::array<std::pair<int32_t, const char*>, 7> kTypeNames = {{
    {item_types::kRegValue, "RegValue"},
    {item_types::kRegKey, "RegKey"},
    {item_types::kRegSubKeyValue, "RegSubKeyValue"},
    {item_types::kFile, "File"},
    {item_types::kFolder, "Folder"},
    {item_types::kIniFileItem, "IniFileItem"},
    {item_types::kCustomize, "Customize"},
}};

}  // namespace

PrivacyItem::PrivacyItem() : parserForwarder_(*this), cpEvent_(&parserForwarder_) {}

int64_t PrivacyItem::ValueCount() const { return values_ ? values_->Count() : -1; }

void PrivacyItem::SetSeekSettingsByString(const std::string& str) { AppendSettingsParts(str, SeekSettings); }

void PrivacyItem::SetHoldSettingsByString(const std::string& str) { AppendSettingsParts(str, HoldSettings); }

void PrivacyItem::EmptyPrivacyValue() { values_.reset(); }

std::shared_ptr<PrivacyValues> PrivacyItem::GetPrivacyValue(bool bRefreshValue, bool bClearValue) {
  if (bRefreshValue) {
    values_ = std::make_shared<PrivacyValues>();
    if (!Irregular && !PrivacyItemTypeName(ItemType).empty()) {
      ItemWalks* walks = GetItemWalks();
      if (!walks) throw RuntimeError(errors::kInvalidArgument, "PrivacyItem", "no item walks are installed");
      values_ = walks->SeekPrivacyValue(*this, values_, bClearValue);
    }
  }
  // Hold the result: a handler may empty the item while it hears the event.
  std::shared_ptr<PrivacyValues> result = values_;
  const int64_t count = result ? result->Count() : -1;
  Raise([&](PrivacyItemEvents& listener) { listener.ParseItemFinish(*this, count); });
  return result;
}

int32_t PrivacyItem::TransPrivacyItemType(const std::string& sType) {
  for (const auto& [code, name] : kTypeNames) {
    if (sType == name) return code;
  }
  return item_types::kUnknown;
}

std::string PrivacyItem::PrivacyItemTypeName(int32_t itemType) {
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

void PrivacyItem::SetParserEvents(std::shared_ptr<AppendValueSource> parser) { cpEvent_.Set(std::move(parser)); }

void PrivacyItem::ParserForwarder::AppendValue(PrivacyItem& pi, PrivacyValue& pv) {
  owner_.Raise([&](PrivacyItemEvents& listener) { listener.AppendValue(pi, pv); });
}

}  // namespace qm
