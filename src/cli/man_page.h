#pragma once

#include <string>

namespace qm::cli {

/// The manual page quillmere-cli.1, roff with the man(7) macros, written from the reference the help prints.
std::string ManPage();

}  // namespace qm::cli
