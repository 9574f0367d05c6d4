#pragma once

#include <string>

#include "support/lines.h"
#include "support/scratch_folder.h"

namespace qm::testing {

/// What one run of the command-line program gave.
struct CliRun {
  int status = -1;
  Lines out;  ///< stdout lines, line ends removed
  std::string err;
};

/// True in the Windows build, where the program runs under Wine.
bool WindowsBuild();

/// A path of the build (a Linux path in both builds) as this platform's programs take it: on Windows the
/// Linux root is drive Z:.
std::string PlatformPath(std::string path);

/// The built quillmere-cli as this platform's programs take it.
std::string CliProgram();

/// Runs quillmere-cli from the build folder with `arguments` (each quoted), its output sent to files in
/// `folder`.
CliRun RunCli(const ScratchFolder& folder, const Lines& arguments);

}  // namespace qm::testing
