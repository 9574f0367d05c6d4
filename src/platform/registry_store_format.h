#pragma once

#include <cstddef>
#include <string>

#include "platform/registry_store.h"

namespace qm::reg {

/// A line of a .reg file that could not be read.
struct RegFileProblem {
  std::size_t Line = 0;  ///< 1-based; 0 when every line was read
  std::string Reason;    ///< what is wrong with it, in a few words ("bad hex data", "no closing ]", ...)
};

/// What ParseRegFile made of a file.
struct RegFileResult {
  bool IsRegFile = false;  ///< false when the file does not start with a .reg header: nothing was read
  RegFileProblem Problem;  ///< the first line that could not be read, if any
};

/// Applies a .reg file to `store` as `regedit /S` would: [ROOT\path] sections create keys, [-ROOT\path]
/// deletes a key with everything below it, "name"="text", @=..., dword:, hex: and hex(N): set values
/// (hex lines may continue after a "\"), "name"=- deletes a value. Root names may be in any letter case.
/// `bytes` is the whole file: UTF-16LE with a BOM, or UTF-8 (a "REGEDIT4" file is read in the ANSI code
/// page).
///
/// Quoted texts (value names and text data) escape a backslash, a quote, CR, LF and NUL as \\, \", \r, \n
/// and \0. A section may be quoted the same way, ["ROOT\\path"], which is how key names holding CR, LF or
/// NUL are written; regedit writes neither those escapes nor that form for ordinary names.
///
/// A line that cannot be read (or a key deeper than RegistryStore::kMaxDepth) is skipped and the rest of
/// the file is still read; the first such line is reported, so a caller can refuse to write back a file
/// whose content it did not fully hold.
RegFileResult ParseRegFile(const std::string& bytes, RegistryStore& store);

/// The whole store as a "Windows Registry Editor Version 5.00" file in UTF-16LE with a BOM, as regedit
/// writes it: every key in tree order, values in their order, names escaped as ParseRegFile reads them.
std::string FormatRegFile(const RegistryStore& store);

}  // namespace qm::reg
