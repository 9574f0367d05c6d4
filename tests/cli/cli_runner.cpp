#include "cli/cli_runner.h"

#include <algorithm>
#include <cstdlib>

#include "platform/file_system.h"

namespace qm::testing {

bool WindowsBuild() { return FileSystem::Separator() == '\\'; }

std::string PlatformPath(std::string path) {
  if (!WindowsBuild() || path.empty() || path[0] != '/') return path;
  std::replace(path.begin(), path.end(), '/', '\\');
  return "Z:" + path;
}

std::string CliProgram() {
  return PlatformPath(std::string(QM_CATALOGUE_DIR) + "/quillmere-cli") + (WindowsBuild() ? ".exe" : "");
}

CliRun RunCli(const ScratchFolder& folder, const Lines& arguments) {
  std::string command = "\"" + CliProgram() + "\"";
  for (const std::string& argument : arguments) command += " \"" + argument + "\"";
  const std::string outFile = folder / "cli-out.txt";
  const std::string errFile = folder / "cli-err.txt";
  command += " >\"" + outFile + "\" 2>\"" + errFile + "\"";
  // cmd.exe drops the first and the last quote of a command line that begins with one.
  if (WindowsBuild()) command = "\"" + command + "\"";
  const int raw = std::system(command.c_str());
  CliRun run;
  // POSIX gives the exit status in the second byte; Windows gives it as it is (statuses here are < 256).
  run.status = raw > 255 ? raw >> 8 : raw;
  run.out = TextLines(ReadBytes(outFile));
  run.err = ReadBytes(errFile);
  return run;
}

}  // namespace qm::testing
