#pragma once

#include <string>
#include <vector>

namespace qm {

/// The program's arguments as UTF-8, the program's own name first. On Windows they come from the process's
/// Unicode command line (main's argv is in the code page and loses other characters); on Linux they are
/// `argv` as it is.
std::vector<std::string> CommandLineArguments(int argc, char** argv);

}  // namespace qm
