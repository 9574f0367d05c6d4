#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "config/privacy_item.h"
#include "discovery/privacy_values.h"

namespace qm {

/// What a special-case parser is called with: the item (position 0), the erase flag (position 1) and the
/// item's seek settings S2, S3 ... at positions 2, 3 ...; one more, empty position follows them.
struct ParserCall {
  PrivacyItem& Item;
  bool ClearValue;
  std::vector<std::string> Settings;  ///< S2, S3 ...: position p is Settings[p - 2]

  /// The last position of the argument array: the number of seek settings + 1.
  std::size_t UpperBound() const { return Settings.size() + 2; }
  /// The text at position p (2 and above); "" for the empty last position and beyond.
  std::string Text(std::size_t position) const {
    return position >= 2 && position - 2 < Settings.size() ? Settings[position - 2] : std::string();
  }
};

/// A parser: returns its own collection of the traces it found, or nullptr for nothing. It reports each
/// trace through the parser object's `AppendValue`, which the item re-raises as its own.
using CustomizeParser = std::function<std::shared_ptr<PrivacyValues>(const ParserCall&)>;

/// The special-case parsers of Customize items, by method name (exact, case-sensitive), and the one parser
/// object whose `AppendValue` events the item whose parser runs re-raises.
class CustomizeParsers {
 public:
  /// Adds or replaces the parser called `name`.
  void Register(const std::string& name, CustomizeParser parser);
  /// The parser called `name`, or nullptr when there is none.
  const CustomizeParser* Find(const std::string& name) const;

  /// The parser object whose events the running item re-raises; nullptr when parsers raise none.
  std::shared_ptr<AppendValueSource> Events;

 private:
  std::map<std::string, CustomizeParser> parsers_;
};

/// The program's one parser table, created on first use and filled by the special-case parsers.
CustomizeParsers& TheCustomizeParsers();

}  // namespace qm
