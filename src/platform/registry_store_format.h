#pragma once

#include <string>

#include "platform/registry_store.h"

namespace qm::reg {

/// Applies a .reg file to `store` as `regedit /S` would: [ROOT\path] sections create keys, [-ROOT\path]
/// deletes a key with everything below it, "name"="text", @=..., dword:, hex: and hex(N): set values
/// (hex lines may continue after a "\"), "name"=- deletes a value. `bytes` is the whole file: UTF-16LE with
/// a BOM, or UTF-8 (a "REGEDIT4" file is read in the ANSI code page). Lines that cannot be read are skipped.
/// Returns false, changing nothing, when the file does not start with a .reg header.
bool ParseRegFile(const std::string& bytes, RegistryStore& store);

/// The whole store as a "Windows Registry Editor Version 5.00" file in UTF-16LE with a BOM, as regedit
/// writes it: every key in tree order, values in their order.
std::string FormatRegFile(const RegistryStore& store);

}  // namespace qm::reg
