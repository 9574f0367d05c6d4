#include "config/winapp2_keys.h"

#include "config/seek_rules.h"
#include "config/settings_string.h"
#include "config/winapp2_paths.h"
#include "platform/text.h"

namespace qm {

namespace {

struct RegistryPath {
  std::string root;  ///< "HKEY_CURRENT_USER" ...
  std::string key;   ///< without the root, no trailing "\"
};

RegistryPath SplitRegistryPath(const Winapp2Key& key, std::string_view text) {
  const std::size_t slash = text.find('\\');
  const std::string_view root = text.substr(0, slash);
  RegistryPath path{RegistryRootName(root), ""};
  if (path.root.empty()) FailWinapp2Line(key.line, "unknown registry root \"" + std::string(root) + "\"");
  if (slash != std::string_view::npos) path.key = text.substr(slash + 1);
  while (path.key.ends_with('\\')) path.key.pop_back();
  return path;
}

/// The catalogue reads "%" in a seek setting as the start of a placeholder, and has no way to write it plainly.
constexpr const char* kPercent = "a \"%\" in it would be read as a placeholder";

bool HasPercent(std::string_view text) { return text.find('%') != std::string_view::npos; }

Winapp2KeyResult Dropped(std::string why) { return Winapp2KeyResult{{}, {}, {}, std::move(why), ""}; }

Winapp2KeyResult Refused(const Winapp2Key& key, const std::string& why) {
  return Winapp2KeyResult{{}, {}, {}, "", key.name + " cannot be kept: " + why};
}

/// An empty result noting the variables of `path` that were taken as their usual place.
Winapp2KeyResult WithApproximations(const Winapp2Key& key, const Winapp2Path& path) {
  Winapp2KeyResult result;
  for (const std::string& approximation : path.approximations) result.notes.push_back(key.name + ": " + approximation);
  return result;
}

/// The path's forms, each as `make` turns it into an item, or the path's problem as the drop.
template <typename Make>
Winapp2KeyResult ItemsOnForms(const Winapp2Key& key, std::string_view path, Make make) {
  const Winapp2Path converted = ConvertWinapp2Path(path);
  if (!converted.problem.empty()) return Dropped(converted.problem);
  Winapp2KeyResult result = WithApproximations(key, converted);
  for (const Winapp2PathForm& form : converted.forms) {
    Winapp2Item item = make(EscapeWildcardSegments(form.path));
    item.title = key.name + (form.label.empty() ? "" : " (" + form.label + ")");
    result.items.push_back(std::move(item));
  }
  return result;
}

/// The item type a FileKey's flag asks for, "" for a flag winapp2 does not know.
std::string FileKeyType(const std::string& flag, bool& removeSelf) {
  removeSelf = text::EqualsIgnoreCase(flag, "REMOVESELF");
  if (flag.empty()) return "File";
  return removeSelf || text::EqualsIgnoreCase(flag, "RECURSE") ? "FileTree" : "";
}

/// The holds of a FILE or PATH exclude: `folder` + "\" + each pattern, per form of the folder. A PATH exclude
/// reaches every depth: "*" spans folders in a hold, so only a pattern that does not begin with it needs a
/// second hold one level down or deeper.
Winapp2KeyResult FileHolds(const Winapp2Key& key, std::string_view folder, std::string_view patterns, bool path) {
  const Winapp2Path converted = ConvertWinapp2Path(folder);
  if (!converted.problem.empty()) return Refused(key, converted.problem);
  Winapp2KeyResult result = WithApproximations(key, converted);
  for (const std::string& part : SplitAt(patterns.empty() ? "*" : patterns, ";")) {
    std::string pattern = TrimWinapp2(part);
    if (pattern.empty()) continue;
    if (pattern == "*.*") pattern = "*";
    if (HasPercent(pattern)) return Refused(key, kPercent);
    for (const Winapp2PathForm& form : converted.forms) {
      const std::string hold = form.path + "\\" + pattern;
      result.holds.push_back({false, HoldPattern(hold), !path && HasWildcardCharacter(hold)});
      if (path && !pattern.starts_with('*'))
        result.holds.push_back({false, HoldPattern(form.path + "\\*\\" + pattern)});
    }
  }
  return result;
}

Winapp2KeyResult RegistryHolds(const Winapp2Key& key, std::string_view text) {
  const std::size_t bar = text.find('|');
  const RegistryPath path = SplitRegistryPath(key, text.substr(0, bar));
  if (path.key.empty()) return Refused(key, "it names a whole hive");
  if (HasPercent(text)) return Refused(key, kPercent);
  Winapp2KeyResult result;
  if (bar == std::string_view::npos) {
    result.holds.push_back({true, LiteralPattern(path.key) + "\\*"});
  } else {
    const std::string held = path.key + "\\" + std::string(text.substr(bar + 1));
    result.holds.push_back({true, HasWildcardCharacter(held) ? LiteralPattern(held) : held});
  }
  return result;
}

}  // namespace

Winapp2KeyResult MapDetectKey(const Winapp2Key& key) {
  if (key.value.find('|') != std::string::npos) return Dropped("a Detect item cannot check a value");
  const RegistryPath path = SplitRegistryPath(key, key.value);
  if (path.key.empty()) return Dropped("it names a whole hive");
  if (HasPercent(path.key)) return Dropped(kPercent);
  Winapp2KeyResult result;
  result.items.push_back({key.name, "Detect", {path.root, LiteralKeyPath(path.key)}});
  return result;
}

Winapp2KeyResult MapDetectFile(const Winapp2Key& key) {
  return ItemsOnForms(key, key.value, [](std::string path) { return Winapp2Item{"", "Detect", {std::move(path)}}; });
}

Winapp2KeyResult MapFileKey(const Winapp2Key& key) {
  const std::vector<std::string> parts = SplitAt(key.value, "|");
  if (parts.size() < 2) FailWinapp2Line(key.line, key.name + " has no \"|\" before its file patterns");
  if (parts.size() > 3) return Dropped("it has more than two \"|\"");
  const std::string flag = parts.size() == 3 ? TrimWinapp2(parts[2]) : "";
  bool removeSelf = false;
  const std::string type = FileKeyType(flag, removeSelf);
  if (type.empty()) return Dropped("unknown flag \"" + flag + "\"");
  const std::string patterns = ConvertWinapp2Patterns(parts[1]);
  if (patterns.empty()) return Dropped("it names no file pattern");
  if (patterns.find('\\') != std::string::npos) return Dropped("a file pattern names a sub-folder");
  if (HasPercent(patterns)) return Dropped(kPercent);
  return ItemsOnForms(key, TrimWinapp2(parts[0]), [&](std::string path) {
    Winapp2Item item{"", type, {std::move(path), patterns}};
    if (removeSelf) item.seek.push_back(kRemoveSelfOption);
    return item;
  });
}

Winapp2KeyResult MapRegKey(const Winapp2Key& key) {
  const std::size_t bar = key.value.find('|');
  const RegistryPath path = SplitRegistryPath(key, std::string_view(key.value).substr(0, bar));
  if (path.key.empty()) return Dropped("it names a whole hive");
  if (HasPercent(key.value)) return Dropped(kPercent);
  Winapp2KeyResult result;
  if (bar == std::string::npos) {
    result.items.push_back({key.name, "RegKey", {path.root, LiteralKeyPath(path.key), kRemoveSelfOption}});
    return result;
  }
  const std::string value = key.value.substr(bar + 1);
  if (value.empty()) return Dropped("it names no value");
  result.items.push_back({key.name, "RegValue", {path.root, LiteralKeyPath(path.key), LiteralPattern(value)}});
  return result;
}

Winapp2KeyResult MapExcludeKey(const Winapp2Key& key) {
  const std::size_t bar = key.value.find('|');
  const std::string kind = TrimWinapp2(std::string_view(key.value).substr(0, bar));
  const std::string_view rest = bar == std::string::npos ? "" : std::string_view(key.value).substr(bar + 1);
  if (text::EqualsIgnoreCase(kind, "REG")) return RegistryHolds(key, rest);
  const bool path = text::EqualsIgnoreCase(kind, "PATH");
  if (!path && !text::EqualsIgnoreCase(kind, "FILE")) return Refused(key, "it is no FILE, PATH or REG exclude");
  const std::size_t split = rest.find('|');
  if (split != std::string_view::npos) return FileHolds(key, rest.substr(0, split), rest.substr(split + 1), path);
  if (path) return FileHolds(key, rest, "", true);
  // FILE|folder\file: the file's name is the pattern.
  const std::size_t slash = rest.rfind('\\');
  if (slash == std::string_view::npos) return Refused(key, "it names no folder");
  return FileHolds(key, rest.substr(0, slash), rest.substr(slash + 1), false);
}

}  // namespace qm
