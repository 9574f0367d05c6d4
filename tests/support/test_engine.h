#pragma once

#include <functional>
#include <string>
#include <vector>

#include "clean/engine.h"
#include "support/registry_fixture.h"
#include "support/scratch_folder.h"

namespace qm::testing {

/// One fixed set of Windows placeholder folders, so expansions and folder checks do not depend on the
/// machine: the profile "C:\Users\ann" with its AppData folders, Documents and temporary folder,
/// "C:\Windows", "C:\Windows\system32", the two program-files folders, "C:\ProgramData" and
/// "C:\Users\Public".
SpecialFolders WindowsTestFolders();

/// Placeholder folders below `root` ("/"-separated names): profile, profile/AppData (local), profile/Roaming,
/// profile/LocalLow, profile/Documents, windows, windows/system32, temp (also the user's), programs (also the
/// 64-bit ones), programs86, programdata and public; no system drive.
SpecialFolders FoldersUnder(const std::function<std::string(const std::string&)>& in);

/// An engine as a test builds one: a registry of its own (see RegistryFixture), a scratch folder, placeholder
/// folders inside it (profile, windows, temp, programs), a fixed clock (5 December 2026, 14:03:07) and the
/// activity log in the scratch folder's "logs". No recycle bin unless `adjust` gives some.
class TestEngine {
 public:
  using Adjust = std::function<void(EngineParts& parts, const ScratchFolder& dir)>;

  explicit TestEngine(const std::string& registryFixture = "", const std::string& registryText = "",
                      const Adjust& adjust = {});

  /// Writes the plain catalogue lines, enciphered, with "{dir}" standing for `dir`, and loads them. Returns
  /// the load warnings.
  std::vector<std::string> LoadCatalogue(const std::string& plainLines);

  /// Runs the node `tag` (root by default) as Show or Clear.
  RunTotals Run(bool clear, const std::string& tag = "Ur All Privacy", RunListener* listener = nullptr,
                bool includeUnselected = false);

  /// The trace and error lines of the log file of the last log run: banners and empty lines left out.
  std::vector<std::string> LogLines() const;

  ScratchFolder dir{"engine"};
  RegistryFixture registry;
  ManualClock clock{LocalDateTime{2026, 12, 5, 14, 3, 7}};
  Engine engine;
};

/// Writes the plain catalogue lines into `dir` as PrivacyConfig.dat, enciphered as the program stores them,
/// with "{dir}" standing for `dir`; returns the file's path.
std::string WriteCatalogue(const ScratchFolder& dir, const std::string& plainLines);

/// The catalogue file `file` loaded against `folders`, with a registry of its own.
std::unique_ptr<PrivacyConfigs> ReadCatalogue(const std::string& file,
                                              const SpecialFolders& folders = WindowsTestFolders());

/// Every trace in order as "kind status path", the form tests compare traces in; none when there is no result.
std::vector<std::string> TraceTexts(const std::shared_ptr<PrivacyValues>& values);

}  // namespace qm::testing
