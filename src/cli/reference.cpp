#include "cli/reference.h"

#include <algorithm>

namespace qm::cli::reference {
namespace {

constexpr std::string_view kDescription[] = {
    "quillmere-cli is the command line of Quillmere. It works with the catalogue, the settings and the engine of "
    "the desktop program: list prints the tree of the main window, show searches nodes of it and prints the traces "
    "found, clear searches and erases them. It suits scheduled tasks, login scripts and deployment tools: it asks "
    "nothing with --yes, prints JSON Lines with --json and tells the outcome by its exit status.",
    "Options may stand before or after the command, as --name VALUE or --name=VALUE; -- ends the options. A command "
    "leaves alone the options it does not use.",
    "The settings (the overwrite passes of a file that cannot be deleted, the activity log) are read as the desktop "
    "program stores them and never written: --passes, --log, --no-log and --log-dir change them for one run only.",
};

constexpr std::string_view kNodeSyntax[] = {
    "A NODE names a node of the tree as list prints it: by its full tag (Ur All Privacy\\Windows\\Recycle Bin), or "
    "by the tag without the leading \"Ur All Privacy\\\" (Windows\\Recycle Bin, Plug-ins\\Google Chrome, Customs). A "
    "name is matched exactly first, then without regard to the case of ASCII letters; a name that matches more than "
    "one node that way is a usage error that lists them.",
    "show and clear take any number of NODEs, and the whole tree without one. A node inside another one named is "
    "left out; a trace that two nodes find is listed, erased and counted once; one summary covers them all. With "
    "--all the nodes that are not checked can be named too. Quote a NODE: it holds backslashes and often blanks.",
};

constexpr Example kNodeExamples[] = {
    {"show Windows", "the traces of the configuration Windows"},
    {"show 'windows\\recycle bin'", "one of its items, named in another letter case"},
    {"clear --yes 'Windows\\Recycle Bin' 'Plug-ins\\Google Chrome'", "two nodes erased in one run, unasked"},
};

constexpr std::string_view kOutput[] = {
    "show and clear print one line per trace in the order found: what became of it (found, erased, overwritten, "
    "held or failed), a tab, and where it is: the path of a file or folder, a registry key or value with its hive "
    "(HKEY_CURRENT_USER\\Software\\...), an ini file and key. Control characters in names are shown escaped (\\t, "
    "\\n, \\xNN), and so are bytes that are no UTF-8. The last line is the summary: the nodes, the number of traces "
    "and their size (K is 1,000 bytes; --human gives B, KiB, MiB and GiB), then how many were erased, kept (found "
    "and left as they are), held and failed, the folders that could not be read and whether the run was stopped. "
    "On a terminal the progress goes to the error stream, and so does the name of the activity log when one was "
    "written.",
    "With --json every trace is one line {\"software\":S,\"item\":I,\"kind\":4,\"path\":P,\"name\":N,\"value\":V,"
    "\"size\":123,\"status\":2,\"location\":L} (kind: 1 registry value, 2 registry key, 4 file, 5 folder, 7 ini "
    "entry; status: 1 found, 2 erased, 3 overwritten, 4 held, -1 failed; location as the text line says it). A "
    "folder that could not be read is a line {\"unreadable\":{\"path\":P,\"code\":C,\"message\":M}} with the "
    "system's error code. The last line is {\"summary\":{\"node\":T,\"traces\":N,\"bytes\":B,\"failed\":F,"
    "\"erased\":E,\"kept\":K,\"held\":H,\"unreadable\":U,\"stopped\":false}}, with \"nodes\":[T,...] in place of "
    "\"node\" for several NODEs and \"log\":FILE when a log was written.",
    "With --json an error that ends the program is the line {\"error\":{\"code\":STATUS,\"message\":TEXT}} on the "
    "standard output, STATUS being the exit status, besides its text on the error stream.",
};

constexpr Example kListExamples[] = {
    {"list", "the tags of the checked nodes"},
    {"list --long --all", "every node, with what it is and what it covers"},
};
constexpr Example kShowExamples[] = {
    {"show", "every checked item of the catalogue"},
    {"--json show Windows", "one configuration, as JSON Lines"},
    {"show --human 'Plug-ins\\Google Chrome' 'Plug-ins\\Brave'", "two browsers, sizes in KiB and MiB"},
};
constexpr Example kClearExamples[] = {
    {"clear --yes 'Windows\\Recycle Bin'", "empty the recycle bin without a question"},
    {"clear --yes --passes 3 --log-dir /var/log/quillmere Windows", "a scheduled clear with a log of its own"},
};
constexpr Example kDecryptExamples[] = {
    {"decrypt PrivacyConfig.dat", "the plain lines of the catalogue"},
};
constexpr Example kEncryptExamples[] = {
    {"encrypt plain.txt", "the lines of a catalogue file made from plain text"},
};
constexpr Example kImportExamples[] = {
    {"import-winapp2 winapp2.ini --out mine.pc --report", "winapp2 rules as a .pc file, with a report"},
};
constexpr Example kHelpExamples[] = {
    {"help clear", "the help of clear, as clear --help prints it"},
};

constexpr CommandReference kCommands[] = {
    {"list", ArgumentRule::None, "", "the tree of the main window: one node tag per line",
     "Prints the tree of the main window, one full node tag per line in the order the window shows them: the checked "
     "configurations and items, or all of them with --all. The tags are what show and clear take.\n\n"
     "With --long every node is listed by its name without \"Ur All Privacy\\\", followed by what it is: its kind "
     "(root, group, configuration or item) and whether it is checked; a configuration's description and whether "
     "its program is on this system (a configuration whose program is not detected finds nothing); an item's type "
     "and what it covers, its places with every placeholder expanded, or why it finds nothing. With --json the "
     "same comes as JSON Lines: tag, text, selected, kind and name, and where they apply description, detected, "
     "type, covers and findsNothing.",
     kListExamples, false},
    {"show", ArgumentRule::Any, "NODE", "search the nodes (default the whole tree) and print their traces",
     "Searches the checked items below each NODE (the whole tree without one) and prints the traces found, then a "
     "summary line. Nothing is erased, and nothing is written but the activity log when logging is on.",
     kShowExamples, true},
    {"clear", ArgumentRule::Any, "NODE", "search and erase; asks first on a terminal unless --yes",
     "Searches as show does and erases each trace that is not held as it is found: registry values and keys are "
     "deleted, files deleted (a file in use is overwritten with NUL bytes instead where its item allows it), folders "
     "emptied and ini entries blanked. On a terminal it asks first, once the catalogue is loaded and the nodes "
     "found; Ctrl+C at the question answers no.",
     kClearExamples, true},
    {"decrypt", ArgumentRule::Required, "FILE", "print the deciphered lines of a catalogue or .pc file",
     "Prints each line of FILE, a catalogue (PrivacyConfig.dat) or plug-in (.pc) file, deciphered.", kDecryptExamples,
     false},
    {"encrypt", ArgumentRule::Required, "FILE", "print the enciphered form of each line of a plain text file",
     "Prints each line of FILE, UTF-8 text, enciphered as catalogue files store it, without the blanks around it.",
     kEncryptExamples, false},
    {"import-winapp2", ArgumentRule::Required, "FILE",
     "print the catalogue configurations made from a winapp2.ini file",
     "Reads a winapp2.ini file and prints the custom configurations (plug-in ones with --plugins) made from its "
     "entries as plain catalogue lines; with --out they are written enciphered into a file the program loads.",
     kImportExamples, false},
    {"help", ArgumentRule::Optional, "COMMAND", "this help, or the help of one command",
     "Prints the help of the program, or of COMMAND.", kHelpExamples, false},
};

constexpr OptionReference kOptions[] = {
    {"--catalogue", "", "FILE", "list show clear",
     "the catalogue to load (default: PrivacyConfig.dat beside the program)"},
    {"--registry", "", "FILE", "list show clear",
     "Linux only: the registry store file, which must exist (default: $XDG_CONFIG_HOME/quillmere/registry.reg)"},
    {"--all", "", "", "list show clear", "include the configurations and items that are not checked"},
    {"--long", "", "", "list", "tell what each node is, and what it covers"},
    {"--json", "", "", "", "JSON Lines output, errors included"},
    {"--human", "", "", "show clear", "sizes in B, KiB, MiB and GiB with one decimal"},
    {"--yes", "", "", "clear", "do not ask before clearing"},
    {"--passes", "", "N", "clear",
     "overwrite passes of a file that cannot be deleted, 1 to 10, for this run (default: the setting \"Security "
     "Fill Times\")"},
    {"--log", "", "", "show clear", "write the activity log of this run, whatever the settings say"},
    {"--no-log", "", "", "show clear", "write no activity log for this run"},
    {"--log-dir", "", "DIR", "show clear",
     "write the activity log of this run into DIR (default: logs beside the program); implies --log"},
    {"--out", "", "FILE", "import-winapp2", "write the configurations enciphered into FILE instead"},
    {"--plugins", "", "", "import-winapp2", "plug-in configurations (with a version) instead of custom ones"},
    {"--report", "", "", "import-winapp2",
     "how each entry was mapped, and the totals (on the error stream when the configurations go to the standard "
     "output)"},
    {"--help", "-h", "", "", "this help; after a command, the help of that command"},
    {"--version", "", "", "", "the program's version"},
};

constexpr TermReference kExitStatuses[] = {
    {"0", "done; also a clear declined at its question"},
    {"1", "some trace could not be erased"},
    {"2",
     "usage error: an unknown command or option, a missing or extra argument, a value out of range, a node name "
     "that matches several nodes"},
    {"3", "the catalogue, the registry store, an input file or a node could not be found or read"},
    {"4", "the output could not be written: a full disk, a closed pipe, an --out file that cannot be made"},
    {"130", "stopped by Ctrl+C"},
};

constexpr TermReference kEnvironment[] = {
    {"HOME", "Linux: the user's profile folder (%userprofiledir%), which holds the folders below when they are unset"},
    {"XDG_CONFIG_HOME",
     "Linux: the folder of the default registry store and the roaming application data (%roamingappdatadir%); "
     "~/.config when unset"},
    {"XDG_DATA_HOME", "Linux: the local application data (%appdatadir%); ~/.local/share when unset"},
    {"XDG_DOCUMENTS_DIR", "Linux: the documents folder; ~/Documents when unset"},
    {"TMPDIR", "Linux: the temporary folder (%temporarydir%); /tmp when unset"},
    {"TMP, TEMP", "Windows: the temporary folder (%temporarydir%), as Windows takes them"},
};

constexpr TermReference kFiles[] = {
    {"PrivacyConfig.dat", "the catalogue, beside the program on both platforms; --catalogue names another"},
    {"HKEY_CURRENT_USER\\Software\\Dunvorel\\Quillmere",
     "Windows: the settings, in the registry; under HKEY_LOCAL_MACHINE when the user has no such key"},
    {"$XDG_CONFIG_HOME/quillmere/registry.reg",
     "Linux: the registry store, a .reg file that holds the settings and the keys the catalogue names (default "
     "~/.config/quillmere/registry.reg); --registry names another"},
    {"logs/LYYYYMMDD.log",
     "the activity log, beside the program on both platforms: a file a day, kept for the days the setting \"Keep Log "
     "Days\" says; --log-dir names another folder"},
};

}  // namespace

std::span<const CommandReference> Commands() { return kCommands; }
std::span<const OptionReference> Options() { return kOptions; }
std::span<const std::string_view> Description() { return kDescription; }
std::span<const std::string_view> NodeSyntax() { return kNodeSyntax; }
std::span<const Example> NodeExamples() { return kNodeExamples; }
std::span<const std::string_view> Output() { return kOutput; }
std::span<const TermReference> ExitStatuses() { return kExitStatuses; }
std::span<const TermReference> Environment() { return kEnvironment; }
std::span<const TermReference> Files() { return kFiles; }

const CommandReference* FindCommand(std::string_view name) {
  for (const CommandReference& command : kCommands) {
    if (command.name == name) return &command;
  }
  return nullptr;
}

const OptionReference* FindOption(std::string_view name) {
  for (const OptionReference& option : kOptions) {
    if (option.name == name || (!option.alias.empty() && option.alias == name)) return &option;
  }
  return nullptr;
}

std::string Synopsis(const CommandReference& command) {
  std::string synopsis(command.name);
  const std::string argument(command.argumentName);
  switch (command.argument) {
    case ArgumentRule::None: break;
    case ArgumentRule::Optional: synopsis += " [" + argument + "]"; break;
    case ArgumentRule::Required: synopsis += " " + argument; break;
    case ArgumentRule::Any: synopsis += " [" + argument + "...]"; break;
  }
  return synopsis;
}

std::vector<std::string_view> Paragraphs(std::string_view text) {
  std::vector<std::string_view> paragraphs;
  for (std::size_t start = 0; start <= text.size();) {
    const std::size_t end = std::min(text.find("\n\n", start), text.size());
    paragraphs.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return paragraphs;
}

std::string ScopedText(const OptionReference& option) {
  if (option.commands.empty()) return std::string(option.text);
  std::string scope(option.commands);
  for (std::size_t blank = scope.find(' '); blank != std::string::npos; blank = scope.find(' ', blank + 2)) {
    scope.replace(blank, 1, ", ");
  }
  return scope + ": " + std::string(option.text);
}

bool AppliesTo(const OptionReference& option, std::string_view command) {
  if (option.commands.empty()) return true;
  for (std::size_t start = 0; start < option.commands.size();) {
    const std::size_t end = std::min(option.commands.find(' ', start), option.commands.size());
    if (option.commands.substr(start, end - start) == command) return true;
    start = end + 1;
  }
  return false;
}

}  // namespace qm::cli::reference
