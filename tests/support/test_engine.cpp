#include "support/test_engine.h"

#include <gtest/gtest.h>

#include "config/crypt.h"
#include "support/lines.h"

namespace qm::testing {

namespace {

EngineParts Parts(RegistryFixture& registry, const Clock& clock, const ScratchFolder& dir,
                  const TestEngine::Adjust& adjust) {
  EngineParts parts;
  parts.Registry = &registry.Registry();
  parts.Time = &clock;
  parts.Folders = {dir / "profile", dir / "profile/AppData", dir / "windows", dir / "windows/system32",
                   dir / "temp",    dir / "programs"};
  parts.UserText = "S-1-5-21-0-0-0-1000";
  parts.LogsFolder = dir / "logs";
  if (adjust) adjust(parts, dir);
  return parts;
}

}  // namespace

SpecialFolders WindowsTestFolders() {
  return {"C:\\Users\\ann",        "C:\\Users\\ann\\AppData\\Local",       "C:\\Windows",
          "C:\\Windows\\system32", "C:\\Users\\ann\\AppData\\Local\\Temp", "C:\\Program Files"};
}

TestEngine::TestEngine(const std::string& registryFixture, const std::string& registryText, const Adjust& adjust)
    : registry(registryFixture, registryText), engine(Parts(registry, clock, dir, adjust)) {
  engine.Settings.SecurityFillTimes = 1;
  engine.Settings.KeepLogDays = 1;
}

std::string WriteCatalogue(const ScratchFolder& dir, const std::string& plainLines) {
  std::string stored;
  for (const std::string& line : TextLines(plainLines))
    stored += Crypt::EnCrypt(Replaced(line, "{dir}", dir.Path())) + "\r\n";
  return dir.Write("PrivacyConfig.dat", stored);
}

Lines TestEngine::LoadCatalogue(const std::string& plainLines) {
  return engine.LoadCatalogue(WriteCatalogue(dir, plainLines));
}

RunTotals TestEngine::Run(bool clear, const std::string& tag, RunListener* listener, bool includeUnselected) {
  const std::optional<RunTarget> target = SelectRunTarget(engine.Catalogue(), tag, includeUnselected);
  if (!target) {
    ADD_FAILURE() << "no node " << tag;
    return {};
  }
  return engine.Run(*target, RunOptions{clear, includeUnselected}, listener);
}

Lines TestEngine::LogLines() const {
  Lines lines;
  for (const std::string& line : TextLines(ReadBytes(engine.Log().LogFileName))) {
    if (!line.empty() && line.rfind("-=", 0) != 0) lines.push_back(line);
  }
  return lines;
}

std::unique_ptr<PrivacyConfigs> ReadCatalogue(const std::string& file, const SpecialFolders& folders) {
  auto catalogue = std::make_unique<PrivacyConfigs>();
  RegistryFixture registry;
  catalogue->LoadConfig(file, folders, registry.Registry());
  return catalogue;
}

Lines TraceTexts(const std::shared_ptr<PrivacyValues>& values) {
  Lines texts;
  if (!values) return texts;
  for (const auto& pv : *values) {
    texts.push_back(std::to_string(static_cast<int>(pv->ValueType)) + " " +
                    std::to_string(static_cast<int>(pv->ValueStatus)) + " " + pv->Path);
  }
  return texts;
}

}  // namespace qm::testing
