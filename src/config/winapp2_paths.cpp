#include "config/winapp2_paths.h"

#include <optional>
#include <utility>

#include "config/settings_string.h"
#include "config/winapp2_ini.h"
#include "platform/text.h"

namespace qm {

namespace {

/// How a winapp2 variable is written in the catalogue.
enum class Mapping { Exact, UsualPlace, None };

struct Variable {
  std::string_view name;
  std::string_view placeholder;  ///< the 64-bit form for the program files variables
  std::string_view x86 = "";     ///< the 32-bit form, only for those
  Mapping mapping = Mapping::Exact;
};

/// winapp2's variables. %Music%, %Pictures% and %Video% can be moved by the user, and no placeholder follows
/// them; %HomeDrive% is the system drive on all but network profiles.
constexpr Variable kVariables[] = {
    {"AppData", "%roamingappdatadir%"},
    {"LocalAppData", "%appdatadir%"},
    {"LocalLowAppData", "%locallowappdatadir%"},
    {"CommonAppData", "%commonappdatadir%"},
    {"ProgramData", "%commonappdatadir%"},
    {"AllUsersProfile", "%commonappdatadir%"},
    {"UserProfile", "%userprofiledir%"},
    {"WinDir", "%windowsdir%"},
    {"SystemRoot", "%windowsdir%"},
    {"SystemDrive", "%systemdrivedir%"},
    {"Documents", "%documentsdir%"},
    {"Public", "%publicdir%"},
    {"Temp", "%usertempdir%"},
    {"Tmp", "%usertempdir%"},
    {"ProgramFiles", "%programfiles64dir%", "%programfilesx86dir%"},
    {"CommonProgramFiles", "%programfiles64dir%\\Common Files", "%programfilesx86dir%\\Common Files"},
    {"Music", "%userprofiledir%\\Music", "", Mapping::UsualPlace},
    {"Pictures", "%userprofiledir%\\Pictures", "", Mapping::UsualPlace},
    {"Video", "%userprofiledir%\\Videos", "", Mapping::UsualPlace},
    {"HomeDrive", "%systemdrivedir%", "", Mapping::UsualPlace},
    {"UserName", "", "", Mapping::None},
    {"RootDir", "", "", Mapping::None},
};

constexpr std::pair<std::string_view, std::string_view> kRoots[] = {
    {"HKCU", "HKEY_CURRENT_USER"}, {"HKLM", "HKEY_LOCAL_MACHINE"},  {"HKU", "HKEY_USERS"},
    {"HKCR", "HKEY_CLASSES_ROOT"}, {"HKCC", "HKEY_CURRENT_CONFIG"},
};

const Variable* FindVariable(std::string_view name) {
  for (const Variable& variable : kVariables) {
    if (text::EqualsIgnoreCase(variable.name, name)) return &variable;
  }
  return nullptr;
}

/// `text` with each character of `special` written as a one-character list ("[#]").
std::string Escaped(std::string_view text, std::string_view special) {
  std::string escaped;
  for (char c : text) {
    if (special.find(c) == std::string_view::npos) {
      escaped += c;
    } else {
      escaped += {'[', c, ']'};
    }
  }
  return escaped;
}

/// `path` with `change` applied to each "\"-separated segment that holds a wildcard character.
template <typename Change>
std::string ChangeWildcardSegments(std::string_view path, Change change) {
  std::vector<std::string> segments = SplitAt(path, "\\");
  std::string joined;
  for (std::size_t i = 0; i < segments.size(); ++i) {
    if (i > 0) joined += '\\';
    joined += HasWildcardCharacter(segments[i]) ? change(segments[i]) : segments[i];
  }
  return joined;
}

void AppendToEach(std::vector<Winapp2PathForm>& forms, std::string_view text) {
  for (Winapp2PathForm& form : forms) form.path += text;
}

/// Each form twice: once with the 64-bit folder, once with the 32-bit one.
std::vector<Winapp2PathForm> Forked(const std::vector<Winapp2PathForm>& forms, const Variable& variable) {
  std::vector<Winapp2PathForm> forked;
  for (const Winapp2PathForm& form : forms) {
    const std::string separator = form.label.empty() ? "" : ", ";
    forked.push_back({form.path + std::string(variable.placeholder), form.label + separator + "64-bit"});
    forked.push_back({form.path + std::string(variable.x86), form.label + separator + "32-bit"});
  }
  return forked;
}

/// Appends the placeholder of winapp2's %`name`% to each form; says why not when there is none.
std::string AppendVariable(Winapp2Path& converted, const std::string& name) {
  const Variable* variable = FindVariable(name);
  if (!variable) return "%" + name + "% is no winapp2 variable";
  if (variable->mapping == Mapping::None) return "%" + name + "% has no placeholder";
  if (variable->mapping == Mapping::UsualPlace) {
    converted.approximations.push_back("%" + name + "% taken as its usual place " + std::string(variable->placeholder));
  }
  if (variable->x86.empty()) {
    AppendToEach(converted.forms, variable->placeholder);
  } else {
    converted.forms = Forked(converted.forms, *variable);
  }
  return "";
}

Winapp2Path Unwritable(std::string problem) { return Winapp2Path{{}, std::move(problem), {}}; }

}  // namespace

Winapp2Path ConvertWinapp2Path(std::string_view path) {
  while (path.ends_with('\\')) path.remove_suffix(1);
  Winapp2Path converted{{Winapp2PathForm{}}, "", {}};
  for (std::size_t at = 0; at <= path.size();) {
    const std::size_t open = path.find('%', at);
    AppendToEach(converted.forms, path.substr(at, open - at));
    if (open == std::string_view::npos) break;
    const std::size_t close = path.find('%', open + 1);
    if (close == std::string_view::npos) return Unwritable("a \"%\" has no closing \"%\"");
    const std::string problem = AppendVariable(converted, std::string(path.substr(open + 1, close - open - 1)));
    if (!problem.empty()) return Unwritable(problem);
    at = close + 1;
  }
  return converted;
}

std::string RegistryRootName(std::string_view root) {
  for (const auto& [shortName, longName] : kRoots) {
    if (text::EqualsIgnoreCase(root, shortName) || text::EqualsIgnoreCase(root, longName)) {
      return std::string(longName);
    }
  }
  return "";
}

std::string LiteralPattern(std::string_view text) { return Escaped(text, "*?#["); }

std::string LiteralKeyPath(std::string_view key) {
  return ChangeWildcardSegments(key, [](const std::string& segment) { return LiteralPattern(segment); });
}

std::string EscapeWildcardSegments(std::string_view path) {
  return ChangeWildcardSegments(path, [](const std::string& segment) { return Escaped(segment, "#["); });
}

std::string HoldPattern(std::string_view hold) {
  return HasWildcardCharacter(hold) ? Escaped(hold, "#[") : std::string(hold);
}

std::string ConvertWinapp2Patterns(std::string_view patterns) {
  std::string converted;
  for (const std::string& part : SplitAt(patterns, ";")) {
    const std::string pattern = TrimWinapp2(part);
    if (pattern.empty()) continue;
    if (!converted.empty()) converted += ';';
    converted += pattern == "*.*" ? "*" : Escaped(pattern, "#[");
  }
  return converted;
}

bool HasWildcardCharacter(std::string_view text) { return text.find_first_of("*?") != std::string_view::npos; }

}  // namespace qm
