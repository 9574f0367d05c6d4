#include "support/test_engine.h"

#include <gtest/gtest.h>

#include <sstream>

#include "config/crypt.h"

namespace qm::testing {

namespace {

EngineParts Parts(RegistryFixture& registry, const Clock& clock, const ScratchFolder& dir,
                  const TestEngine::Adjust& adjust) {
  EngineParts parts;
  parts.Registry = &registry.Registry();
  parts.Time = &clock;
  parts.Folders.UserProfileDir = dir / "profile";
  parts.Folders.AppDataDir = dir / "profile/AppData";
  parts.Folders.WindowsDir = dir / "windows";
  parts.Folders.SystemDir = dir / "windows/system32";
  parts.Folders.TemporaryDir = dir / "temp";
  parts.Folders.ProgramFilesDir = dir / "programs";
  parts.UserText = "S-1-5-21-0-0-0-1000";
  parts.LogsFolder = dir / "logs";
  if (adjust) adjust(parts, dir);
  return parts;
}

}  // namespace

SpecialFolders WindowsTestFolders() {
  SpecialFolders folders;
  folders.UserProfileDir = "C:\\Users\\ann";
  folders.AppDataDir = "C:\\Users\\ann\\AppData\\Local";
  folders.WindowsDir = "C:\\Windows";
  folders.SystemDir = "C:\\Windows\\system32";
  folders.TemporaryDir = "C:\\Users\\ann\\AppData\\Local\\Temp";
  folders.ProgramFilesDir = "C:\\Program Files";
  return folders;
}

TestEngine::TestEngine(const std::string& registryFixture, const std::string& registryText, const Adjust& adjust)
    : registry(registryFixture, registryText), engine(Parts(registry, clock, dir, adjust)) {
  engine.Settings.SecurityFillTimes = 1;
  engine.Settings.KeepLogDays = 1;
}

std::vector<std::string> TestEngine::LoadCatalogue(const std::string& plainLines) {
  std::istringstream lines(plainLines);
  std::string stored;
  for (std::string line; std::getline(lines, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    for (std::size_t at = line.find("{dir}"); at != std::string::npos; at = line.find("{dir}", at)) {
      line.replace(at, 5, dir.Path());
    }
    stored += Crypt::EnCrypt(line) + "\r\n";
  }
  const std::string file = dir / "PrivacyConfig.dat";
  WriteBytes(file, stored);
  return engine.LoadCatalogue(file);
}

RunTotals TestEngine::Run(bool clear, const std::string& tag, RunListener* listener, bool includeUnselected) {
  const std::optional<RunTarget> target = SelectRunTarget(engine.Catalogue(), tag, includeUnselected);
  if (!target) {
    ADD_FAILURE() << "no node " << tag;
    return {};
  }
  return engine.Run(*target, RunOptions{clear, includeUnselected}, listener);
}

std::vector<std::string> TestEngine::LogLines() const {
  std::vector<std::string> lines;
  std::istringstream in(ReadBytes(engine.Log().LogFileName));
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty() && line.rfind("-=", 0) != 0) lines.push_back(line);
  }
  return lines;
}

std::string TraceText(const PrivacyValue& pv) {
  return std::to_string(static_cast<int>(pv.ValueType)) + " " + std::to_string(static_cast<int>(pv.ValueStatus)) +
         " " + pv.Path;
}

std::vector<std::string> TraceTexts(const std::shared_ptr<PrivacyValues>& values) {
  std::vector<std::string> texts;
  if (!values) return texts;
  for (const auto& pv : *values) texts.push_back(TraceText(*pv));
  return texts;
}

}  // namespace qm::testing
