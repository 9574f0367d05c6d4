#pragma once

#include <cstdint>

#include "trace/privacy_value.h"

namespace qm {

class PrivacyItem;
class PrivacyConfig;
enum class SoftwareType : int32_t;

/// Listens to `AppendValue`: raised once per trace, right after it was added to an item's result. The
/// special-case parser object raises it too.
class AppendValueListener {
 public:
  virtual void AppendValue(PrivacyItem& pi, PrivacyValue& pv) = 0;

 protected:
  ~AppendValueListener() = default;
};

/// Listens to an item: its traces, and the end of every `GetPrivacyValue` call with the item's count (-1 when
/// it has no result). Handlers that a listener does not override do nothing.
class PrivacyItemEvents : public AppendValueListener {
 public:
  void AppendValue(PrivacyItem&, PrivacyValue&) override {}
  virtual void ParseItemFinish(PrivacyItem& /*pi*/, int64_t /*lTotalCount*/) {}

 protected:
  ~PrivacyItemEvents() = default;
};

/// Listens to a configuration: its items' events as it forwards them, and the end of its search with the
/// count of its merged result (-1 when no item produced a result).
class PrivacyConfigEvents : public PrivacyItemEvents {
 public:
  virtual void ParseConfigFinish(PrivacyConfig& /*pc*/, int64_t /*lTotalCount*/) {}

 protected:
  ~PrivacyConfigEvents() = default;
};

/// Listens to the catalogue: every forwarded event below it, the end of each software-type pass and the end
/// of the whole search (counts -1 when there is no result).
class PrivacyConfigsEvents : public PrivacyConfigEvents {
 public:
  virtual void ParseFinish(int64_t /*iTotalCount*/) {}
  virtual void ParseBySoftwareTypeFinish(SoftwareType /*softwareType*/, int64_t /*lTotalCount*/) {}

 protected:
  ~PrivacyConfigsEvents() = default;
};

}  // namespace qm
