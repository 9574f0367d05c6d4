#pragma once

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "clean/scratch_folder.h"
#include "config/crypt.h"
#include "platform/file_system.h"
#include "support/registry_fixture.h"

namespace qm::testing {

/// The Show/Clear scenario: a folder tree, an ini file and registry keys (tests/fixtures/scenario), and a
/// catalogue written for them (scenario/catalogue.txt with its paths filled in, saved enciphered).
class Scenario {
 public:
  static constexpr const char* kRegistryBase = "Software\\QuillmereTest\\Scenario";

  Scenario() : dir_("scenario"), registry_("scenario/scenario.reg") {
    for (const char* folder : {"files", "cache/keep/sub", "other", "cookies", "notes"}) {
      std::filesystem::create_directories(Path(folder));
    }
    WriteBytes(Path("files/a.tmp"), "temp-a");
    WriteBytes(Path("files/keep.txt"), "keep");
    WriteBytes(Path("cache/x.dat"), "xx");
    WriteBytes(Path("cache/keep/held.dat"), "held");
    WriteBytes(Path("cache/keep/sub/y.dat"), "yyy");
    WriteBytes(Path("other/o.txt"), "o");
    WriteBytes(Path("cookies/c1.txt"), "cookie");
    WriteBytes(Path("notes/n.txt"), "note");
    WriteBytes(Path("app.ini"), kIni);
    WriteCatalogue();
  }

  /// The ini file as the scenario writes it.
  static constexpr const char* kIni = "[Recent]\r\nFile1=C:\\a.doc\r\nFile2=\r\n[Settings]\r\nTheme=dark\r\n";

  /// A path inside the scenario folder; "/" separates the names.
  std::string Path(const std::string& relative) const {
    std::string path = dir_.Path();
    std::size_t start = 0;
    while (start <= relative.size()) {
      std::size_t end = relative.find('/', start);
      if (end == std::string::npos) end = relative.size();
      path = FileSystem::Join(path, relative.substr(start, end - start));
      start = end + 1;
    }
    return path;
  }
  /// A registry path below the scenario's key.
  static std::string Key(const std::string& relative) { return std::string(kRegistryBase) + "\\" + relative; }

  const std::string& CatalogueFile() const { return catalogueFile_; }
  const test::RegistryFixture& Registry() const { return registry_; }
  std::string Folder() const { return dir_.Path(); }
  const ScratchFolder& Scratch() const { return dir_; }

  /// "kind status path" of every trace a Show of the root finds, in order (statuses of a Show).
  std::vector<std::string> ExpectedShow() const {
    return {"4 1 " + Path("files/a.tmp"),
            "5 1 " + Path("cache/keep"),
            "4 1 " + Path("cache/x.dat"),
            "5 1 " + Path("cache/keep/sub"),
            "4 4 " + Path("cache/keep/held.dat"),
            "4 1 " + Path("cache/keep/sub/y.dat"),
            "7 1 " + Path("app.ini") + ":File1",
            "1 1 " + Key("MRU\\url1"),
            "1 1 " + Key("MRU\\url2"),
            "2 1 " + Key("History\\k1"),
            "1 1 " + Key("History\\h"),
            "1 1 " + Key("History\\k1\\v"),
            "1 1 " + Key("Docs\\a.txt\\n"),
            "4 1 " + Path("cookies/c1.txt")};
  }

  /// The same traces with the statuses a Clear of the root gives them.
  std::vector<std::string> ExpectedClear() const {
    return {"4 2 " + Path("files/a.tmp"),
            "5 -1 " + Path("cache/keep"),
            "4 2 " + Path("cache/x.dat"),
            "5 2 " + Path("cache/keep/sub"),
            "4 4 " + Path("cache/keep/held.dat"),
            "4 2 " + Path("cache/keep/sub/y.dat"),
            "7 2 " + Path("app.ini") + ":File1",
            "1 2 " + Key("MRU\\url1"),
            "1 2 " + Key("MRU\\url2"),
            "2 2 " + Key("History\\k1"),
            "1 2 " + Key("History\\h"),
            "1 2 " + Key("History\\k1\\v"),
            "1 2 " + Key("Docs\\a.txt\\n"),
            "4 2 " + Path("cookies/c1.txt")};
  }

  /// The sum of the sizes of the traces above: the files' bytes (6, 2, 4, 3, 6), twice the characters of the
  /// ini value (8) and of the registry data (17, 17, 1, 1, 1); folders and keys count 0.
  static constexpr int64_t kExpectedBytes = (6 + 2 + 4 + 3 + 6) + 2 * 8 + 2 * (17 + 17 + 1 + 1 + 1);

 private:
  void WriteCatalogue() {
    std::ifstream in(test::FixturePath("scenario/catalogue.txt"), std::ios::binary);
    std::stringstream plain;
    plain << in.rdbuf();
    std::string stored;
    std::string line;
    while (std::getline(plain, line)) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      for (std::size_t open = line.find('{'); open != std::string::npos; open = line.find('{')) {
        const std::size_t close = line.find('}', open);
        line.replace(open, close - open + 1, Path(line.substr(open + 1, close - open - 1)));
      }
      stored += Crypt::EnCrypt(line) + "\r\n";
    }
    catalogueFile_ = Path("PrivacyConfig.dat");
    WriteBytes(catalogueFile_, stored);
  }

  ScratchFolder dir_;
  test::RegistryFixture registry_;
  std::string catalogueFile_;
};

}  // namespace qm::testing
