#include "config/privacy_configs.h"

namespace qm {

PrivacyConfigs::PrivacyConfigs()
    : OrderedCollection("PrivacyConfigs"), configForwarder_(*this), pcEvent_(&configForwarder_) {}

void PrivacyConfigs::RemoveAll() {
  for (int64_t n = Count(); n > 0; --n) Remove(1);
}

int64_t PrivacyConfigs::ValueCount() const {
  int64_t total = -1;
  for (const auto& config : *this) {
    const int64_t count = config->ValueCount();
    if (count != -1) total = (total == -1 ? 0 : total) + count;
  }
  return total;
}

std::unique_ptr<PrivacyConfigs> PrivacyConfigs::Clone() const {
  auto copy = std::make_unique<PrivacyConfigs>();
  for (const auto& config : *this) copy->Add(config->Clone());
  return copy;
}

std::shared_ptr<PrivacyConfig> PrivacyConfigs::FindPrivacyConfig(const std::string& sSoftware) const {
  for (const auto& config : *this) {
    if (config->Software == sSoftware) return config;
  }
  return nullptr;
}

void PrivacyConfigs::EmptyPrivacyValue() {
  for (const auto& config : *this) config->EmptyPrivacyValue();
}

void PrivacyConfigs::SearchConfig(const std::shared_ptr<PrivacyConfig>& config, std::shared_ptr<PrivacyValues>& result,
                                  ItemWalks& walks, const SearchOptions& options) {
  pcEvent_.Set(config);
  MergePrivacyValues(result, config->GetPrivacyValue(walks, options), false);
}

std::shared_ptr<PrivacyValues> PrivacyConfigs::GetPrivacyValue(ItemWalks& walks, const SearchOptions& options) {
  std::shared_ptr<PrivacyValues> result;
  for (int64_t i = 1; i <= Count(); ++i) {
    const std::shared_ptr<PrivacyConfig> config = Item(i);
    if (!config->Selected && !options.IncludeUnselected) continue;
    if (config->SoftwareType == SoftwareType::Plugins || config->SoftwareType == SoftwareType::Customs) {
      // Plug-ins and customs are searched as two whole passes, whatever their positions.
      MergePrivacyValues(result, GetPrivacyValueBySoftwareType(SoftwareType::Plugins, walks, options), false);
      if (!walks.StopRequested()) {
        MergePrivacyValues(result, GetPrivacyValueBySoftwareType(SoftwareType::Customs, walks, options), false);
      }
      break;
    }
    SearchConfig(config, result, walks, options);
    if (walks.StopRequested()) break;
  }
  const int64_t count = result ? result->Count() : -1;
  EventSource<PrivacyConfigsEvents>::Raise([&](PrivacyConfigsEvents& listener) { listener.ParseFinish(count); });
  return result;
}

void PrivacyConfigs::EmptyPrivacyValueBySoftwareType(SoftwareType softwareType) {
  for (const auto& config : *this) {
    if (config->SoftwareType == softwareType) config->EmptyPrivacyValue();
  }
}

std::shared_ptr<PrivacyValues> PrivacyConfigs::GetPrivacyValueBySoftwareType(SoftwareType softwareType,
                                                                             ItemWalks& walks,
                                                                             const SearchOptions& options) {
  std::shared_ptr<PrivacyValues> result;
  for (int64_t i = 1; i <= Count(); ++i) {
    const std::shared_ptr<PrivacyConfig> config = Item(i);
    if (config->SoftwareType != softwareType || (!config->Selected && !options.IncludeUnselected)) continue;
    SearchConfig(config, result, walks, options);
    if (walks.StopRequested()) break;
  }
  const int64_t count = result ? result->Count() : -1;
  EventSource<PrivacyConfigsEvents>::Raise(
      [&](PrivacyConfigsEvents& listener) { listener.ParseBySoftwareTypeFinish(softwareType, count); });
  return result;
}

void PrivacyConfigs::ConfigForwarder::AppendValue(PrivacyItem& pi, PrivacyValue& pv) {
  owner_.EventSource<PrivacyConfigsEvents>::Raise(
      [&](PrivacyConfigsEvents& listener) { listener.AppendValue(pi, pv); });
}

void PrivacyConfigs::ConfigForwarder::ParseItemFinish(PrivacyItem& pi, int64_t lTotalCount) {
  owner_.EventSource<PrivacyConfigsEvents>::Raise(
      [&](PrivacyConfigsEvents& listener) { listener.ParseItemFinish(pi, lTotalCount); });
}

void PrivacyConfigs::ConfigForwarder::ParseConfigFinish(PrivacyConfig& pc, int64_t lTotalCount) {
  owner_.EventSource<PrivacyConfigsEvents>::Raise(
      [&](PrivacyConfigsEvents& listener) { listener.ParseConfigFinish(pc, lTotalCount); });
}

}  // namespace qm
