#pragma once

#include <cstdlib>
#include <string>
#include <vector>

#include "support/scratch_folder.h"
#include "platform/file_system.h"

namespace qm::testing {

/// What one run of the command-line program gave.
struct CliRun {
  int status = -1;
  std::vector<std::string> out;  ///< stdout lines, line ends removed
  std::string err;
};

/// A path of the build (a Linux path in both builds) as this platform's programs take it: on Windows the
/// Linux root is drive Z:.
inline std::string PlatformPath(std::string path) {
  if (FileSystem::Separator() != '\\' || path.empty() || path[0] != '/') return path;
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return "Z:" + path;
}

inline std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

/// Runs quillmere-cli from the build folder with `arguments` (each quoted), its output sent to files in
/// `folder`.
inline CliRun RunCli(const ScratchFolder& folder, const std::vector<std::string>& arguments) {
  const bool windows = FileSystem::Separator() == '\\';
  std::string command = "\"" + PlatformPath(std::string(QM_CATALOGUE_DIR) + "/quillmere-cli") +
                        (windows ? ".exe" : "") + "\"";
  for (const std::string& argument : arguments) command += " \"" + argument + "\"";
  const std::string outFile = folder / "cli-out.txt";
  const std::string errFile = folder / "cli-err.txt";
  command += " >\"" + outFile + "\" 2>\"" + errFile + "\"";
  // cmd.exe drops the first and the last quote of a command line that begins with one.
  if (windows) command = "\"" + command + "\"";
  const int raw = std::system(command.c_str());
  CliRun run;
  // POSIX gives the exit status in the second byte; Windows gives it as it is (statuses here are < 256).
  run.status = raw > 255 ? raw >> 8 : raw;
  run.out = SplitLines(ReadBytes(outFile));
  run.err = ReadBytes(errFile);
  return run;
}

}  // namespace qm::testing
