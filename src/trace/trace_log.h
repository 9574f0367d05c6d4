#pragma once

#include <string>
#include <string_view>

#include "trace/privacy_value.h"

namespace qm {

/// Where a run writes what it did: the activity log. A walk hands each trace over once, when its outcome is
/// known, so every trace has one line saying what really happened to it.
class TraceLog {
 public:
  virtual ~TraceLog() = default;
  /// One trace with its final status. `section` names the ini section of an ini entry ("" otherwise).
  virtual void AppendPrivacyValue(const PrivacyValue& pv, std::string_view section = {}) = 0;
  /// One line of its own (the registry walk's error lines, AutoComplete refusals).
  virtual void AppendString(const std::string& line) = 0;
};

}  // namespace qm
