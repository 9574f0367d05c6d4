#include "cli/help_text.h"

#include <algorithm>
#include <span>
#include <string_view>
#include <vector>

namespace qm::cli {
namespace {

constexpr std::size_t kWidth = 80;
/// Where the text of a term starts; a longer term stands on a line of its own.
constexpr std::size_t kTermColumn = 24;
constexpr std::string_view kIndent = "  ";

/// The pieces of a word that may stand on a line of `room` columns: the word, or for a longer one the pieces
/// after each of its commas (a JSON shape).
std::vector<std::string_view> Pieces(std::string_view word, std::size_t room) {
  if (word.size() <= room) return {word};
  std::vector<std::string_view> pieces;
  for (std::size_t start = 0; start < word.size();) {
    const std::size_t comma = word.find(',', start);
    const std::size_t end = comma == std::string_view::npos ? word.size() : comma + 1;
    pieces.push_back(word.substr(start, end - start));
    start = end;
  }
  return pieces;
}

/// Appends `text` filled into lines of at most kWidth columns, the first line after `first`, the others after
/// blanks up to `indent` columns.
void AppendWrapped(std::string& out, std::string_view text, std::string first, std::size_t indent) {
  std::string line = std::move(first);
  bool empty = true;
  for (std::size_t start = 0; start < text.size();) {
    const std::size_t end = std::min(text.find(' ', start), text.size());
    const std::string_view word = text.substr(start, end - start);
    start = end + 1;
    const std::vector<std::string_view> pieces = Pieces(word, kWidth - indent);
    for (std::size_t i = 0; i < pieces.size() && !word.empty(); ++i) {
      const bool glued = i > 0;
      if (!empty && line.size() + (glued ? 0 : 1) + pieces[i].size() > kWidth) {
        out += line + '\n';
        line.assign(indent, ' ');
        empty = true;
      }
      if (!empty && !glued) line += ' ';
      line += pieces[i];
      empty = false;
    }
  }
  out += line + '\n';
}

void AppendParagraphs(std::string& out, std::span<const std::string_view> paragraphs) {
  for (std::size_t i = 0; i < paragraphs.size(); ++i) {
    if (i > 0) out += '\n';
    AppendWrapped(out, paragraphs[i], std::string(kIndent), kIndent.size());
  }
}

void AppendTerm(std::string& out, std::string_view term, std::string_view text) {
  std::string first = std::string(kIndent) + std::string(term);
  if (first.size() + 2 > kTermColumn) {
    out += first + '\n';
    first.clear();
  }
  first.resize(kTermColumn, ' ');
  AppendWrapped(out, text, std::move(first), kTermColumn);
}

/// A section's heading, after an empty line.
void AppendHeading(std::string& out, std::string_view heading) { out += '\n' + std::string(heading) + '\n'; }

void AppendTerms(std::string& out, std::string_view heading, std::span<const TermReference> terms) {
  AppendHeading(out, heading);
  for (const TermReference& term : terms) AppendTerm(out, term.term, term.text);
}

std::string OptionTerm(const OptionReference& option) {
  std::string term(option.name);
  if (!option.alias.empty()) term += ", " + std::string(option.alias);
  if (!option.value.empty()) term += " " + std::string(option.value);
  return term;
}

/// The options that apply to `command`, or all of them for "".
void AppendOptions(std::string& out, std::string_view command) {
  AppendHeading(out, "OPTIONS");
  for (const OptionReference& option : reference::Options()) {
    if (command.empty()) {
      AppendTerm(out, OptionTerm(option), reference::ScopedText(option));
    } else if (reference::AppliesTo(option, command)) {
      AppendTerm(out, OptionTerm(option), option.text);
    }
  }
}

void AppendExamples(std::string& out, std::span<const Example> examples) {
  for (const Example& example : examples) {
    out += std::string(kIndent) + std::string(reference::kProgram) + " " + std::string(example.line) + '\n';
    AppendWrapped(out, example.text, std::string(kIndent.size() * 3, ' '), kIndent.size() * 3);
  }
}

void AppendNodeSyntax(std::string& out) {
  AppendHeading(out, "NODES");
  AppendParagraphs(out, reference::NodeSyntax());
  out += '\n';
  AppendExamples(out, reference::NodeExamples());
}

/// What every help ends with.
void AppendStatusesAndPlaces(std::string& out) {
  AppendTerms(out, "EXIT STATUS", reference::ExitStatuses());
  AppendTerms(out, "ENVIRONMENT", reference::Environment());
  AppendTerms(out, "FILES", reference::Files());
}

}  // namespace

std::string UsageText() {
  return "usage: " + std::string(reference::kProgram) + " [OPTIONS] COMMAND [ARGUMENTS]\n" +
         "Try 'quillmere-cli --help', or 'quillmere-cli help COMMAND' for one command.\n";
}

std::string HelpText() {
  std::string out = "usage: " + std::string(reference::kProgram) + " [OPTIONS] COMMAND [ARGUMENTS]\n\n";
  AppendParagraphs(out, reference::Description());
  AppendHeading(out, "COMMANDS");
  for (const CommandReference& command : reference::Commands()) {
    AppendTerm(out, reference::Synopsis(command), command.summary);
  }
  AppendNodeSyntax(out);
  AppendOptions(out, "");
  AppendStatusesAndPlaces(out);
  return out;
}

std::string CommandHelpText(const CommandReference& command) {
  std::string out =
      "usage: " + std::string(reference::kProgram) + " [OPTIONS] " + reference::Synopsis(command) + "\n\n";
  AppendParagraphs(out, reference::Paragraphs(command.description));
  if (command.takesNodes) {
    AppendNodeSyntax(out);
    AppendHeading(out, "OUTPUT");
    AppendParagraphs(out, reference::Output());
  }
  AppendOptions(out, command.name);
  AppendHeading(out, "EXAMPLES");
  AppendExamples(out, command.examples);
  AppendStatusesAndPlaces(out);
  return out;
}

}  // namespace qm::cli
