#include "clean/walk_services.h"

#include "clean/file_trace_erase.h"
#include "settings/system_settings.h"

namespace qm {

WalkServices ProgramWalkServices(PrivacyLog& log, const Clock& clock) {
  WalkServices services;
  services.Log = &log;
  services.AppendString = [&log](const std::string& line) { log.AppendString(line); };
  services.EraseFile = [](PrivacyValue& pv, int fillTimes) {
    return EraseFileTrace(pv, FillRule::kIndexDatOnly, fillTimes);
  };
  services.FillTimes = [] { return static_cast<int>(Settings().SecurityFillTimes); };
  services.Time = &clock;
  return services;
}

}  // namespace qm
