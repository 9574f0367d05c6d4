#include "cli/man_page.h"

#include <span>
#include <string_view>

#include "cli/reference.h"

namespace qm::cli {
namespace {

/// `text` as roff input text: backslashes and hyphens as their escapes (options stay copyable), a comma
/// within a word a place where the line may break (the JSON shapes are long words), and a line that would
/// start with a control character made a text line.
std::string Roff(std::string_view text) {
  std::string out;
  if (!text.empty() && (text.front() == '.' || text.front() == '\'')) out += "\\&";
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\\') {
      out += "\\e";
    } else if (c == '-') {
      out += "\\-";
    } else if (c == ',' && i + 1 < text.size() && text[i + 1] != ' ') {
      out += ",\\:";
    } else {
      out += c;
    }
  }
  return out;
}

/// Text lines in bold and in the normal font.
std::string Bold(std::string_view text) { return "\\fB" + Roff(text) + "\\fR"; }

void Paragraphs(std::string& out, std::span<const std::string_view> paragraphs, std::string_view between) {
  for (std::size_t i = 0; i < paragraphs.size(); ++i) {
    if (i > 0) out += std::string(between) + '\n';
    out += Roff(paragraphs[i]) + '\n';
  }
}

void Section(std::string& out, std::string_view name) { out += ".SH " + std::string(name) + '\n'; }

/// A tagged paragraph: the tag on a line of its own, the text indented below it.
void Tagged(std::string& out, const std::string& tag, std::string_view text) {
  out += ".TP\n" + tag + '\n' + Roff(text) + '\n';
}

void Terms(std::string& out, std::string_view heading, std::span<const TermReference> terms) {
  Section(out, heading);
  for (const TermReference& term : terms) Tagged(out, Bold(term.term), term.text);
}

void Examples(std::string& out, std::span<const Example> examples) {
  for (const Example& example : examples) {
    out += ".PP\n.EX\n" + Roff(std::string(reference::kProgram) + " " + std::string(example.line)) + "\n.EE\n";
    out += ".RS\n" + Roff(example.text) + "\n.RE\n";
  }
}

std::string CommandTag(const CommandReference& command) {
  const std::string synopsis = reference::Synopsis(command);
  return Bold(command.name) + Roff(std::string_view(synopsis).substr(command.name.size()));
}

std::string OptionTag(const OptionReference& option) {
  std::string tag = Bold(option.name);
  if (!option.alias.empty()) tag += ", " + Bold(option.alias);
  if (!option.value.empty()) tag += " \\fI" + Roff(option.value) + "\\fR";
  return tag;
}

}  // namespace

std::string ManPage() {
  // Left-adjusted and unhyphenated (the paragraph macros hyphenate as the register HY says): the JSON shapes
  // and paths are long words that neither bear stretched blanks around them nor a hyphen inside.
  std::string out = ".nr HY 0\n.TH QUILLMERE\\-CLI 1 \"\" \"Quillmere " QM_VERSION "\" \"User Commands\"\n";
  out += ".ad l\n.nh\n";
  Section(out, "NAME");
  out += Roff(std::string(reference::kProgram) + " - " + std::string(reference::kPurpose)) + '\n';
  Section(out, "SYNOPSIS");
  out += Bold(reference::kProgram) + " [\\fIOPTIONS\\fR] \\fICOMMAND\\fR [\\fIARGUMENTS\\fR]\n";
  Section(out, "DESCRIPTION");
  Paragraphs(out, reference::Description(), ".PP");
  Section(out, "COMMANDS");
  for (const CommandReference& command : reference::Commands()) {
    out += ".TP\n" + CommandTag(command) + '\n';
    Paragraphs(out, reference::Paragraphs(command.description), ".IP");
  }
  Section(out, "NODES");
  Paragraphs(out, reference::NodeSyntax(), ".PP");
  Examples(out, reference::NodeExamples());
  Section(out, "OPTIONS");
  for (const OptionReference& option : reference::Options())
    Tagged(out, OptionTag(option), reference::ScopedText(option));
  Section(out, "OUTPUT");
  Paragraphs(out, reference::Output(), ".PP");
  Terms(out, "EXIT STATUS", reference::ExitStatuses());
  Terms(out, "ENVIRONMENT", reference::Environment());
  Terms(out, "FILES", reference::Files());
  Section(out, "EXAMPLES");
  for (const CommandReference& command : reference::Commands()) Examples(out, command.examples);
  return out;
}

}  // namespace qm::cli
