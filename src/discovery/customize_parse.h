#pragma once

#include <functional>
#include <memory>
#include <string>

#include "config/privacy_item.h"
#include "discovery/customize_parsers.h"
#include "discovery/parsers/recycle_bin.h"
#include "discovery/privacy_values.h"

namespace qm {

/// What the parsers take from the system; tests put places of their own here.
struct ParserEnvironment {
  /// The recycle bins to empty (drive list and trash folder), asked once per `ParseRecycleBin`.
  std::function<RecycleBinPlaces()> RecycleBins;
  /// The current user as the recycle bins and the AutoComplete stores name it, asked once per call.
  std::function<std::string()> CurrentUser;
  /// Erases a file trace with the overwrite allowed and sets its status (see ParseRun::EraseFile).
  std::function<void(PrivacyValue& pv)> EraseFile;
  /// Writes one line to the activity log.
  std::function<void(const std::string& line)> AppendString;

  /// The running system's places and user, the program's file erase routine with "Security Fill Times"
  /// passes, and its activity log.
  static ParserEnvironment System();
};

/// The special-case parsers of Customize items. Each public parser takes the argument array of a parser
/// call (the item, the clear flag, the item's further seek settings), finds its traces (erasing them when
/// clearing), adds each to a new collection, raises `AppendValue` for each and returns the collection:
/// never nullptr, empty when nothing was found. A failure ends a parser; the traces found until then stay
/// its result. `StopRequested` ends every walk before its next trace.
class CustomizeParse : public AppendValueSource {
 public:
  explicit CustomizeParse(ParserEnvironment environment = ParserEnvironment::System());

  /// Folders and files inside the recycle-bin folders of the fixed drives (and the user's trash).
  std::shared_ptr<PrivacyValues> ParseRecycleBin(const ParserCall& vArgs);
  /// The browser's AutoComplete form entries; clearing also deletes the stored passwords.
  std::shared_ptr<PrivacyValues> ParseIEAutoComplete(const ParserCall& vArgs);
  /// The URLs of the address-bar history in each profile's localstore.rdf below the folder at position 2.
  std::shared_ptr<PrivacyValues> ParseMozillaAddressHistory(const ParserCall& vArgs);
  /// Each profile's history.dat below the folder at position 2.
  std::shared_ptr<PrivacyValues> ParseMozillaHistoryFile(const ParserCall& vArgs);
  /// Every file directly in each profile's Cache folder below the folder at position 2.
  std::shared_ptr<PrivacyValues> ParseMozillaCacheFiles(const ParserCall& vArgs);
  /// Each profile's cookies.txt below the folder at position 2.
  std::shared_ptr<PrivacyValues> ParseMozillaCookies(const ParserCall& vArgs);

 private:
  /// Runs `body` on a fresh collection for the call's item, reporting through this object's `AppendValue`.
  std::shared_ptr<PrivacyValues> Run(const ParserCall& vArgs, const std::function<void(ParseRun&)>& body);

  ParserEnvironment environment_;
};

/// The program's one parser object, created on first use with the system's places.
std::shared_ptr<CustomizeParse> TheCustomizeParse();

/// Puts the six public parsers of `parse` into `table` under their method names and makes `parse` the
/// table's event source.
void RegisterCustomizeParse(CustomizeParsers& table, const std::shared_ptr<CustomizeParse>& parse);

}  // namespace qm
