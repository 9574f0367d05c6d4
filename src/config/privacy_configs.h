#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "config/event_source.h"
#include "config/placeholders.h"
#include "config/privacy_config.h"
#include "config/privacy_events.h"
#include "trace/privacy_values.h"

namespace qm {

/// The catalogue: the software configurations in display order, their search entry points, and the
/// catalogue file they are loaded from and saved to.
class PrivacyConfigs : public OrderedCollection<PrivacyConfig>, public EventSource<PrivacyConfigsEvents> {
 public:
  PrivacyConfigs();

  /// Removes every configuration.
  void RemoveAll();

  /// The sum of the configurations' counts that are not -1; -1 when all report -1 or there are none.
  int64_t ValueCount() const;
  /// The first configuration, in order, whose `Software` equals `sSoftware` exactly; nullptr if none.
  std::shared_ptr<PrivacyConfig> FindPrivacyConfig(const std::string& sSoftware) const;
  /// Forgets the last result of every configuration.
  void EmptyPrivacyValue();
  /// Searches the selected configurations (all with `options.IncludeUnselected`) through `walks` and returns
  /// the merged traces, or nullptr. Root and unknown-type configurations are searched in order; at the first
  /// Plugins or Customs configuration every Plugins one is searched, then every Customs one, and the walk
  /// ends. A stop ends it after the configuration that was running. Ends with `ParseFinish`.
  std::shared_ptr<PrivacyValues> GetPrivacyValue(ItemWalks& walks, const SearchOptions& options);
  /// Forgets the last result of every configuration of one software type.
  void EmptyPrivacyValueBySoftwareType(SoftwareType softwareType);
  /// Searches the selected configurations of one software type; ends with `ParseBySoftwareTypeFinish`.
  std::shared_ptr<PrivacyValues> GetPrivacyValueBySoftwareType(SoftwareType softwareType, ItemWalks& walks,
                                                               const SearchOptions& options);

  /// Empties the catalogue and fills it from an enciphered catalogue file ("" means "PrivacyConfig.dat"),
  /// expanding the seek settings' placeholders with `folders` and `registry`. When the file cannot be opened
  /// the catalogue keeps its content. A line that is not enciphered text, a key line before the first
  /// "[Config]" or a malformed item line stops the load with an error naming the file and the line; what was
  /// loaded before it stays. What loads but needs the user's eye goes to `LoadWarnings`, each naming file and
  /// line: items that find nothing and why, repeated item titles, names that cannot form a tree tag.
  void LoadConfig(const std::string& sConfigFileName, const SpecialFolders& folders, reg::RegistryBackend& registry);
  /// Writes the configurations' file lines back, enciphered, with their check states and holds brought up
  /// to date. The target is replaced atomically: it is always either the old or the new catalogue.
  void SaveConfig(const std::string& sConfigFileName) const;

  /// The warnings of the last LoadConfig.
  std::vector<std::string> LoadWarnings;

  /// A deep copy of every configuration (see PrivacyConfig::Clone), in order and without keys: what a window
  /// edits and hands back whole, so the catalogue it came from stays as it was until the caller takes it.
  std::unique_ptr<PrivacyConfigs> Clone() const;

  /// Puts the configurations into display order: Root ones first in their order, then Plugins ones and
  /// Customs ones each sorted by upper-cased name (stable), then any others in their order.
  void ReOrder();

 private:
  /// Re-raises the events of the configuration held in `pcEvent_` as the catalogue's own.
  class ConfigForwarder : public PrivacyConfigEvents {
   public:
    explicit ConfigForwarder(PrivacyConfigs& owner) : owner_(owner) {}
    void AppendValue(PrivacyItem& pi, PrivacyValue& pv) override;
    void ParseItemFinish(PrivacyItem& pi, int64_t lTotalCount) override;
    void ParseConfigFinish(PrivacyConfig& pc, int64_t lTotalCount) override;

   private:
    PrivacyConfigs& owner_;
  };

  /// Searches one configuration as the event-forwarded one and merges its result into `result`.
  void SearchConfig(const std::shared_ptr<PrivacyConfig>& config, std::shared_ptr<PrivacyValues>& result,
                    ItemWalks& walks, const SearchOptions& options);

  ConfigForwarder configForwarder_;
  /// The configuration whose search runs or ran last; it stays set after the search.
  EventSink<PrivacyConfig, PrivacyConfigEvents> pcEvent_;
};

/// The file name used when a catalogue file name is empty.
inline constexpr const char* kDefaultCatalogueFileName = "PrivacyConfig.dat";

}  // namespace qm
