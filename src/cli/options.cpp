#include "cli/options.h"

namespace qm::cli {

namespace {

/// Takes the value of a value option: after "=" in the same argument, or the next argument.
std::string TakeValue(const std::string& name, const std::optional<std::string>& inlineValue,
                      const std::vector<std::string>& arguments, std::size_t& i) {
  if (inlineValue) {
    if (inlineValue->empty()) throw UsageError(name + " needs a file name");
    return *inlineValue;
  }
  if (i + 1 >= arguments.size()) throw UsageError(name + " needs a file name");
  return arguments[++i];
}

void SetFlag(bool& flag, const std::string& name, const std::optional<std::string>& inlineValue) {
  if (inlineValue) throw UsageError(name + " takes no value");
  flag = true;
}

}  // namespace

Options ParseOptions(const std::vector<std::string>& arguments) {
  Options options;
  std::vector<std::string> positional;
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
    const std::string name = arg.substr(0, eq);
    const std::optional<std::string> inlineValue =
        eq == std::string::npos ? std::nullopt : std::optional<std::string>(arg.substr(eq + 1));
    if (name == "--catalogue") {
      options.catalogue = TakeValue(name, inlineValue, arguments, i);
    } else if (name == "--registry") {
      options.registry = TakeValue(name, inlineValue, arguments, i);
    } else if (name == "--out") {
      options.out = TakeValue(name, inlineValue, arguments, i);
    } else if (name == "--plugins") {
      SetFlag(options.plugins, name, inlineValue);
    } else if (name == "--report") {
      SetFlag(options.report, name, inlineValue);
    } else if (name == "--all") {
      SetFlag(options.all, name, inlineValue);
    } else if (name == "--json") {
      SetFlag(options.json, name, inlineValue);
    } else if (name == "--yes") {
      SetFlag(options.yes, name, inlineValue);
    } else if (name == "--help" || name == "-h") {
      SetFlag(options.help, name, inlineValue);
    } else if (name == "--version") {
      SetFlag(options.version, name, inlineValue);
    } else {
      throw UsageError("unknown option " + name);
    }
  }
  if (positional.size() > 2) throw UsageError("too many arguments: " + positional[2]);
  if (!positional.empty()) options.command = positional[0];
  if (positional.size() == 2) options.argument = positional[1];
  if (options.command.empty() && !options.help && !options.version) throw UsageError("no command given");
  return options;
}

std::string UsageText() {
  return "usage: quillmere-cli [OPTIONS] COMMAND [ARG]\n"
         "  list                 the tree of the main window: one node tag per line\n"
         "  show [NODE]          search the node (default the root) and print its traces\n"
         "  clear [NODE]         search and erase; asks first on a terminal unless --yes\n"
         "  decrypt FILE         print the deciphered lines of a catalogue or .pc file\n"
         "  encrypt FILE         print the enciphered form of each line of a plain text file\n"
         "  import-winapp2 FILE  print the catalogue configurations made from a winapp2.ini file\n"
         "OPTIONS\n"
         "  --catalogue FILE     catalogue to load (default: PrivacyConfig.dat beside the program)\n"
         "  --registry FILE      Linux only: the registry store file\n"
         "  --all                include unselected configurations and items\n"
         "  --json               JSON Lines output\n"
         "  --yes                do not ask before clearing\n"
         "  --out FILE           import-winapp2: write them enciphered into FILE instead\n"
         "  --plugins            import-winapp2: plug-in configurations (with a version) instead of custom ones\n"
         "  --report             import-winapp2: how each entry was mapped, and the totals (on the error stream\n"
         "                       when the configurations go to the standard output)\n"
         "  --help, --version\n"
         "EXIT STATUS\n"
         "  0 done, 1 some trace could not be erased, 2 usage error, 3 the catalogue, the registry store, the\n"
         "  node or the winapp2.ini file could not be found or read, 4 the output could not be written, 130 stopped\n"
         "  by Ctrl+C\n";
}

}  // namespace qm::cli
