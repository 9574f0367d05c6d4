#pragma once

#include <string>
#include <vector>

#include "support/lines.h"

namespace qm::testing {

/// A tree of files written one entry per line, paths relative to its root with "/" between names:
///   "a/b/"            a folder (its parents are made as needed)
///   "a/f = text"      a file holding `text`, where "<cr>", "<nl>" and "<nul>" stand for CR, LF and NUL
///   "a/l -> target"   a symbolic link to `target` (as ln -s takes it)
///   "a/p | fifo"      a FIFO; "| socket" a socket; "| device" a character device like /dev/null
/// A file or folder line may end with attributes after " | ": "locked" (see lockedFiles), "owner N" (given to
/// user N), "sticky" (a folder writable by all, with the sticky bit, like /tmp).
struct CaseTree {
  /// Builds the tree under `root`. Returns "" when it is built, else why it cannot be built here (no links,
  /// no FIFOs, no right to give files away): the test skips then.
  std::string Build(const std::string& root, const std::vector<std::string>& lines);

  /// The files marked "locked", in the platform's own form: what a test locks while it clears.
  std::vector<std::string> lockedFiles;
};

/// Every entry below `root` without following links, sorted, in the form CaseTree reads: "a/", "a/f = text",
/// "a/l -> target", "a/p | special".
std::vector<std::string> ListTree(const std::string& root);

}  // namespace qm::testing
