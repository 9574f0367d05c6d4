#pragma once

#include <functional>
#include <string>

#include "platform/error.h"

namespace qm::testing {

/// Runs `call`, which should raise, and tells the error as "number|source|description", then "|" and the last
/// platform error when `withPlatformError`; "no error" if none.
inline std::string RaisedError(const std::function<void()>& call, bool withPlatformError = false) {
  try {
    call();
  } catch (const RuntimeError& e) {
    return std::to_string(e.Number()) + "|" + e.Source() + "|" + e.Description() +
           (withPlatformError ? "|" + std::to_string(e.LastPlatformError()) : "");
  }
  return "no error";
}

/// The number and source of the error `call` raises, as "number|source"; "no error" if none.
inline std::string RaisedBy(const std::function<void()>& call) {
  const std::string raised = RaisedError(call);
  return raised.substr(0, raised.find('|', raised.find('|') + 1));
}

}  // namespace qm::testing
