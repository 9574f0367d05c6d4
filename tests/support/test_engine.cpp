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
  parts.Folders = FoldersUnder([&](const std::string& name) { return dir / name; });
  parts.UserText = "S-1-5-21-0-0-0-1000";
  parts.LogsFolder = dir / "logs";
  if (adjust) adjust(parts, dir);
  return parts;
}

}  // namespace

SpecialFolders FoldersUnder(const std::function<std::string(const std::string&)>& in) {
  SpecialFolders f;
  f.UserProfileDir = in("profile");
  f.AppDataDir = in("profile/AppData");
  f.WindowsDir = in("windows");
  f.SystemDir = in("windows/system32");
  f.TemporaryDir = f.UserTempDir = in("temp");
  f.ProgramFilesDir = f.ProgramFiles64Dir = in("programs");
  f.RoamingAppDataDir = in("profile/Roaming");
  f.LocalLowAppDataDir = in("profile/LocalLow");
  f.CommonAppDataDir = in("programdata");
  f.ProgramFilesX86Dir = in("programs86");
  f.PublicDir = in("public");
  f.DocumentsDir = in("profile/Documents");
  return f;
}

SpecialFolders WindowsTestFolders() {
  SpecialFolders f;
  f.UserProfileDir = "C:\\Users\\ann";
  f.AppDataDir = "C:\\Users\\ann\\AppData\\Local";
  f.TemporaryDir = f.UserTempDir = "C:\\Users\\ann\\AppData\\Local\\Temp";
  f.WindowsDir = "C:\\Windows";
  f.SystemDir = "C:\\Windows\\system32";
  f.ProgramFilesDir = f.ProgramFiles64Dir = "C:\\Program Files";
  f.ProgramFilesX86Dir = "C:\\Program Files (x86)";
  f.RoamingAppDataDir = "C:\\Users\\ann\\AppData\\Roaming";
  f.LocalLowAppDataDir = "C:\\Users\\ann\\AppData\\LocalLow";
  f.DocumentsDir = "C:\\Users\\ann\\Documents";
  f.CommonAppDataDir = "C:\\ProgramData";
  f.PublicDir = "C:\\Users\\Public";
  f.SystemDriveDir = "C:";
  return f;
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
