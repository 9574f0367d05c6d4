#pragma once

#include "settings/system_settings.h"

namespace qm::test {

/// Puts the program's settings back, when the object ends, as they were when it was made: a test may change
/// them freely, and the next one starts from the same settings.
class ScopedSettings {
 public:
  ScopedSettings() : saved_(Settings()) {}
  ~ScopedSettings() { Settings() = saved_; }
  ScopedSettings(const ScopedSettings&) = delete;
  ScopedSettings& operator=(const ScopedSettings&) = delete;

 private:
  SystemSettings saved_;
};

}  // namespace qm::test
