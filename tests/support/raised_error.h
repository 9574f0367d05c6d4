#pragma once

#include <functional>
#include <string>

#include "platform/error.h"

namespace qm::testing {

/// Runs `call`, which should raise, and tells the error as "number|source|description"; "no error" if none.
inline std::string RaisedError(const std::function<void()>& call) {
  try {
    call();
  } catch (const RuntimeError& e) {
    return std::to_string(e.Number()) + "|" + e.Source() + "|" + e.Description();
  }
  return "no error";
}

}  // namespace qm::testing
