#include "support/trace_text.h"

namespace qm::test {

std::string TraceText(const PrivacyValue& pv) {
  return std::to_string(pv.ValueType) + " " + std::to_string(pv.ValueStatus) + " " + pv.Path;
}

std::vector<std::string> TraceTexts(const std::shared_ptr<PrivacyValues>& values) {
  std::vector<std::string> texts;
  if (!values) return texts;
  for (const auto& pv : *values) texts.push_back(TraceText(*pv));
  return texts;
}

}  // namespace qm::test
