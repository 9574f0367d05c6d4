#pragma once

#include <memory>
#include <string>
#include <vector>

#include "discovery/privacy_values.h"

namespace qm::test {

/// "kind status path" of a trace: the form the tests compare traces in.
std::string TraceText(const PrivacyValue& pv);

/// The TraceText of every trace in order; none when there is no result.
std::vector<std::string> TraceTexts(const std::shared_ptr<PrivacyValues>& values);

}  // namespace qm::test
