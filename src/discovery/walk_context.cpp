#include "discovery/walk_context.h"

#include "platform/error.h"

namespace qm {

WalkContext::WalkContext(PrivacyItem& item, PrivacyValues& values, bool clear, const WalkServices& services)
    : Item(item),
      Values(values),
      Clear(clear),
      Holds(item.HoldFlag, item.HoldSettings),
      Services(services),
      Time(services.Time ? *services.Time : SystemClock()),
      Protected(services.Protected ? *services.Protected : PlaceholderFolders()),
      Parsers(services.Parsers ? *services.Parsers : TheCustomizeParsers()),
      fillTimes_(services.FillTimes ? services.FillTimes() : 1) {}

const std::string& WalkContext::Setting(int64_t position) const {
  static const std::string kNone;
  return position >= 1 && position <= SettingCount() ? Item.SeekSettings.Item(position) : kNone;
}

void WalkContext::EraseFailed(PrivacyValue& pv) {
  pv.ValueStatus = status::kFailed;
  if (Services.Log) Services.Log->AppendPrivacyValue(pv);
}

void WalkContext::EraseFile(PrivacyValue& pv) {
  if (!Services.EraseFile) throw RuntimeError(errors::kInvalidArgument, "ItemWalker", "no file erase routine");
  if (Services.EraseFile(pv, fillTimes_) == status::kFailed) EraseFailed(pv);
}

}  // namespace qm
