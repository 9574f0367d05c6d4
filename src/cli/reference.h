#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qm::cli {

/// How many arguments a command takes.
enum class ArgumentRule {
  None,      ///< none
  Optional,  ///< at most one
  Required,  ///< exactly one
  Any,       ///< any number
};

/// A command line and what it does, for the examples.
struct Example {
  std::string_view line;  ///< the arguments after the program's name
  std::string_view text;
};

/// One command as the help and the manual page describe it, and the arguments it takes.
struct CommandReference {
  std::string_view name;
  ArgumentRule argument;
  std::string_view argumentName;  ///< "NODE", "FILE", "COMMAND"; "" for none
  std::string_view summary;       ///< one line for the list of commands
  std::string_view description;   ///< paragraphs, separated by "\n\n"
  std::span<const Example> examples;
  bool takesNodes;  ///< its arguments are NODEs: its help tells the node syntax
};

/// One option.
struct OptionReference {
  std::string_view name;      ///< "--catalogue"
  std::string_view alias;     ///< "-h", or ""
  std::string_view value;     ///< "FILE", "N", or "" for a flag
  std::string_view commands;  ///< the commands it applies to, separated by blanks; "" for every command
  std::string_view text;
};

/// A term and what it means: an exit status, an environment variable, a file.
struct TermReference {
  std::string_view term;
  std::string_view text;
};

/// The program's reference: the one source of --help, `help COMMAND`, the manual page and the option checks.
namespace reference {

inline constexpr std::string_view kProgram = "quillmere-cli";
/// The manual page's one-line description.
inline constexpr std::string_view kPurpose = "search and erase the traces of Windows and its programs";

std::span<const CommandReference> Commands();
std::span<const OptionReference> Options();
/// What the program is and does, in paragraphs.
std::span<const std::string_view> Description();
/// How a NODE is written, in paragraphs, and examples of it.
std::span<const std::string_view> NodeSyntax();
std::span<const Example> NodeExamples();
/// What show and clear print, in paragraphs.
std::span<const std::string_view> Output();
std::span<const TermReference> ExitStatuses();
std::span<const TermReference> Environment();
/// Where the catalogue, the registry store and the logs live on each platform.
std::span<const TermReference> Files();

/// The command of that name; nullptr when there is none.
const CommandReference* FindCommand(std::string_view name);
/// The option of that name or alias; nullptr when there is none.
const OptionReference* FindOption(std::string_view name);
/// The command with its arguments: "clear [NODE...]", "decrypt FILE".
std::string Synopsis(const CommandReference& command);
/// The paragraphs of a text whose paragraphs are separated by an empty line (a command's description).
std::vector<std::string_view> Paragraphs(std::string_view text);
/// An option's text after the commands it applies to, "show, clear: write ..."; only the text for an option of
/// every command.
std::string ScopedText(const OptionReference& option);
/// True when `option` applies to the command `command`.
bool AppliesTo(const OptionReference& option, std::string_view command);

}  // namespace reference

}  // namespace qm::cli
