#include "cli/options.h"

#include <charconv>
#include <string_view>
#include <utility>

#include "cli/reference.h"

namespace qm::cli {

namespace {

/// Takes the value of a value option: after "=" in the same argument, or the next argument.
std::string TakeValue(const std::string& name, const std::optional<std::string>& inlineValue,
                      const std::vector<std::string>& arguments, std::size_t& i) {
  const std::string what = std::string(reference::FindOption(name)->value);
  if (inlineValue) {
    if (inlineValue->empty()) throw UsageError(name + " needs " + what);
    return *inlineValue;
  }
  if (i + 1 >= arguments.size()) throw UsageError(name + " needs " + what);
  return arguments[++i];
}

void SetFlag(bool& flag, const std::string& name, const std::optional<std::string>& inlineValue) {
  if (inlineValue) throw UsageError(name + " takes no value");
  flag = true;
}

int Passes(const std::string& text) {
  int passes = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), passes);
  if (error != std::errc() || end != text.data() + text.size() || passes < kMinPasses || passes > kMaxPasses) {
    throw UsageError("--passes takes a number from " + std::to_string(kMinPasses) + " to " +
                     std::to_string(kMaxPasses) + ", not " + text);
  }
  return passes;
}

constexpr std::pair<std::string_view, bool Options::*> kFlags[] = {
    {"--all", &Options::all},       {"--long", &Options::longListing}, {"--json", &Options::json},
    {"--human", &Options::human},   {"--yes", &Options::yes},          {"--plugins", &Options::plugins},
    {"--report", &Options::report}, {"--help", &Options::help},        {"--version", &Options::version},
};
constexpr std::pair<std::string_view, std::string Options::*> kTexts[] = {
    {"--catalogue", &Options::catalogue},
    {"--registry", &Options::registry},
    {"--out", &Options::out},
    {"--log-dir", &Options::logDir},
};

/// Sets the option `name` (one the reference knows) from the argument at `i`, taking its value.
void SetOption(Options& options, const std::string& name, const std::optional<std::string>& inlineValue,
               const std::vector<std::string>& arguments, std::size_t& i) {
  for (const auto& [flag, member] : kFlags) {
    if (name == flag) return SetFlag(options.*member, name, inlineValue);
  }
  if (name == "--log" || name == "--no-log") {
    if (inlineValue) throw UsageError(name + " takes no value");
    options.log = name == "--log";
    return;
  }
  const std::string value = TakeValue(name, inlineValue, arguments, i);
  if (name == "--passes") options.passes = Passes(value);
  for (const auto& [text, member] : kTexts) {
    if (name == text) options.*member = value;
  }
}

/// Refuses --no-log beside --log or --log-dir, whichever comes first.
void CheckLogOptions(const std::vector<std::string>& given) {
  bool log = false;
  bool noLog = false;
  for (const std::string& name : given) {
    log = log || name == "--log" || name == "--log-dir";
    noLog = noLog || name == "--no-log";
  }
  if (log && noLog) throw UsageError("--no-log contradicts --log and --log-dir");
}

}  // namespace

Options ParseOptions(const std::vector<std::string>& arguments) {
  Options options;
  std::vector<std::string> positional;
  std::vector<std::string> given;
  bool optionsEnded = false;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& arg = arguments[i];
    if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
      positional.push_back(arg);
      continue;
    }
    if (arg == "--") {
      optionsEnded = true;
      continue;
    }
    const std::size_t eq = arg.find('=');
    const OptionReference* option = reference::FindOption(arg.substr(0, eq));
    if (!option) throw UsageError("unknown option " + arg.substr(0, eq));
    const std::string name(option->name);
    const std::optional<std::string> inlineValue =
        eq == std::string::npos ? std::nullopt : std::optional<std::string>(arg.substr(eq + 1));
    SetOption(options, name, inlineValue, arguments, i);
    given.push_back(name);
  }
  CheckLogOptions(given);
  if (!options.logDir.empty()) options.log = true;
  if (!positional.empty()) {
    options.command = positional[0];
    options.arguments.assign(positional.begin() + 1, positional.end());
  }
  if (options.command.empty() && !options.help && !options.version) throw UsageError("no command given");
  return options;
}

bool AsksForJson(const std::vector<std::string>& arguments) {
  for (const std::string& argument : arguments) {
    if (argument == "--") return false;
    if (argument == "--json") return true;
  }
  return false;
}

}  // namespace qm::cli
