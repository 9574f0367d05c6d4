#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qm {

/// One catalogue form of a winapp2 path. winapp2's program files variables stand for both program files
/// folders, so a path holding one has two forms.
struct Winapp2PathForm {
  std::string path;
  std::string label;  ///< "" for the only form, else "64-bit" or "32-bit"
};

/// A winapp2 file-system path with its %Variables% replaced by catalogue placeholders.
struct Winapp2Path {
  std::vector<Winapp2PathForm> forms;       ///< none when the path cannot be written; `problem` says why
  std::string problem;                      ///< e.g. "%UserName% has no placeholder"
  std::vector<std::string> approximations;  ///< variables taken as their usual place, e.g. %Music%
};

/// Converts a winapp2 path: variable names compare without regard to case, trailing "\" are dropped, and
/// wildcard folders stay as they are (see EscapeWildcardSegments for their "#" and "[").
Winapp2Path ConvertWinapp2Path(std::string_view path);

/// "HKEY_CURRENT_USER" and the like for a root as winapp2 writes it, short ("HKCU") or long, in any case; ""
/// for anything else.
std::string RegistryRootName(std::string_view root);

/// `text` with "*", "?", "#" and "[" written as "[*]", "[?]", "[#]" and "[[]": a pattern that matches the
/// text itself only.
std::string LiteralPattern(std::string_view text);

/// A registry key path as the catalogue's wildcard folders read it: winapp2 has no registry wildcards, so a
/// segment holding "*" or "?" is written as a literal pattern; other segments stay as they are.
std::string LiteralKeyPath(std::string_view key);

/// A file-system path with "#" and "[" escaped in its wildcard segments (those holding "*" or "?"), where the
/// catalogue would read them as pattern characters.
std::string EscapeWildcardSegments(std::string_view path);

/// A hold in the catalogue's form: one holding "*" or "?" is a pattern as a whole, so its "#" and "[" are
/// escaped; one without is kept as it is.
std::string HoldPattern(std::string_view hold);

/// A FileKey's ";"-separated file patterns in catalogue form: blanks around each and empty ones dropped,
/// winapp2's "*.*" (every file) written "*", "#" and "[" escaped.
std::string ConvertWinapp2Patterns(std::string_view patterns);

/// True when `text` holds "*" or "?".
bool HasWildcardCharacter(std::string_view text);

}  // namespace qm
