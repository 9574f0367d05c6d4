// The help of the real program and of each command, the manual page the build writes, the bash completion,
// and the pieces of text every output line is made of.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "cli/cli_runner.h"
#include "cli/display_text.h"
#include "cli/options.h"
#include "cli/reference.h"
#include "cli/show_clear.h"
#include "settings/system_settings.h"
#include "support/registry_fixture.h"
#include "support/test_engine.h"

namespace qm::testing {
namespace {

/// Runs a shell command line of this (Linux) machine; its exit status, standard output and error.
struct Shell {
  int status;
  std::string out;
  std::string err;
};
Shell RunShell(const ScratchFolder& dir, const std::string& line) {
  const std::string out = dir / "shell-out.txt";
  const std::string err = dir / "shell-err.txt";
  const int raw = std::system((line + " >'" + out + "' 2>'" + err + "'").c_str());
  return {raw >> 8, ReadBytes(out), ReadBytes(err)};
}

bool Holds(const Lines& lines, const std::string& line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

TEST(CliReference, EachCommandsHelpTellsItsNodesOptionsExamplesStatusesEnvironmentAndFiles) {
  ScratchFolder dir("cli-help");
  struct Case {
    std::string command;
    std::string usage;
    Lines holds;    ///< lines its help holds
    Lines without;  ///< option names its help leaves out
  };
  const Lines everywhere = {"EXIT STATUS",
                            "  130                   stopped by Ctrl+C",
                            "ENVIRONMENT",
                            "FILES",
                            "  XDG_CONFIG_HOME       Linux: the folder of the default registry store and the",
                            "  --json                JSON Lines output, errors included"};
  const std::vector<Case> cases = {
      {"list", "list", {"  --long                tell what each node is, and what it covers"}, {"--yes", "--passes"}},
      {"show",
       "show [NODE...]",
       {"NODES", "  quillmere-cli show 'windows\\recycle bin'", "OUTPUT",
        "  --log-dir DIR         write the activity log "
        "of this run into DIR (default:"},
       {"--yes", "--passes", "--out"}},
      {"clear",
       "clear [NODE...]",
       {"NODES", "  quillmere-cli clear --yes 'Windows\\Recycle Bin' 'Plug-ins\\Google Chrome'",
        "  --yes                 "
        "do not ask before clearing",
        "  --no-log              write no activity log for this run"},
       {"--long", "--out"}},
      {"import-winapp2",
       "import-winapp2 FILE",
       {"  --out FILE            write the configurations enciphered into "
        "FILE instead"},
       {"--all", "NODES"}},
      {"help", "help [COMMAND]", {"  quillmere-cli help clear"}, {"--catalogue"}},
  };
  for (const Case& c : cases) {
    const CliRun help = RunCli(dir, {"help", c.command});
    EXPECT_EQ(help.status, 0) << c.command;
    ASSERT_FALSE(help.out.empty()) << c.command;
    EXPECT_EQ(help.out[0], "usage: quillmere-cli [OPTIONS] " + c.usage);
    for (const std::string& line : c.holds) EXPECT_TRUE(Holds(help.out, line)) << c.command << ": " << line;
    for (const std::string& line : everywhere) EXPECT_TRUE(Holds(help.out, line)) << c.command << ": " << line;
    for (const std::string& name : c.without) EXPECT_FALSE(Holds(help.out, "  " + name)) << c.command << ": " << name;
    EXPECT_EQ(RunCli(dir, {c.command, "--help"}).out, help.out) << c.command;
  }

  // The program's help: every command and every option, and the same from `help`; no line wider than 80.
  const CliRun all = RunCli(dir, {"--help"});
  EXPECT_EQ(RunCli(dir, {"help"}).out, all.out);
  for (const cli::CommandReference& command : cli::reference::Commands()) {
    EXPECT_NE(Joined(all.out).find("\n  " + std::string(command.name) + " "), std::string::npos) << command.name;
  }
  for (const cli::OptionReference& option : cli::reference::Options()) {
    EXPECT_NE(Joined(all.out).find("\n  " + std::string(option.name)), std::string::npos) << option.name;
  }
  for (const Lines& arguments : std::vector<Lines>{{"--help"}, {"help", "clear"}, {"help", "import-winapp2"}}) {
    for (const std::string& line : RunCli(dir, arguments).out) EXPECT_LE(line.size(), 80u) << line;
  }
  for (const Lines& arguments : std::vector<Lines>{{"help", "frob"}, {"frob", "--help"}, {"help", "list", "show"}}) {
    const CliRun run = RunCli(dir, arguments);
    EXPECT_EQ(run.status, cli::kExitUsage) << arguments[1];
    EXPECT_TRUE(run.out.empty()) << arguments[1];
  }
}

TEST(CliReference, TheManualPageRendersWithoutAWarningAndSaysWhatTheHelpSays) {
  if (WindowsBuild()) GTEST_SKIP() << "the manual page is a Linux build's";
  ScratchFolder dir("cli-manual");
  const std::string page = std::string(QM_CATALOGUE_DIR) + "/quillmere-cli.1";
  const Shell groff = RunShell(dir, "groff -man -ww -z '" + page + "'");
  EXPECT_EQ(groff.status, 0);
  EXPECT_EQ(groff.err, "");
  for (const char* width : {"60", "80", "120"}) {
    const Shell man =
        RunShell(dir, std::string("MANWIDTH=") + width + " LC_ALL=C.UTF-8 man --warnings -l '" + page + "'");
    EXPECT_EQ(man.status, 0) << width;
    EXPECT_EQ(man.err, "") << width;
  }
  const Lines shown = TextLines(RunShell(dir, "MANWIDTH=80 LC_ALL=C.UTF-8 man -l '" + page + "' | col -bx").out);
  ASSERT_FALSE(shown.empty());
  EXPECT_EQ(shown[0].substr(0, 16), "QUILLMERE-CLI(1)");
  for (const char* line :
       {"       quillmere-cli - search and erase the traces of Windows and its programs",
        "       quillmere-cli [OPTIONS] COMMAND [ARGUMENTS]", "       clear [NODE...]", "       --passes N",
        "       --help, -h", "       quillmere-cli show 'windows\\recycle bin'", "EXIT STATUS",
        "       130    stopped by Ctrl+C", "       $XDG_CONFIG_HOME/quillmere/registry.reg"}) {
    EXPECT_TRUE(Holds(shown, line)) << line;
  }
  // Each option of the help is a term of the manual: "--catalogue FILE", "--help, -h".
  const Lines help = RunCli(dir, {"--help"}).out;
  for (auto line = std::find(help.begin(), help.end(), "OPTIONS"); line != help.end() && *line != ""; ++line) {
    if (line->rfind("  --", 0) != 0) continue;
    const std::string term = "       " + line->substr(2, line->find("  ", 2) - 2);
    EXPECT_TRUE(std::any_of(shown.begin(), shown.end(), [&](const std::string& shownLine) {
      return shownLine == term || shownLine.rfind(term + " ", 0) == 0;
    })) << term;
  }
}

TEST(CliReference, BashCompletesCommandsOptionsTheirValuesAndNodeNames) {
  if (WindowsBuild()) GTEST_SKIP() << "bash completes the Linux program";
  ScratchFolder dir("cli-completion");
  const std::string catalogue = WriteCatalogue(
      dir,
      "[Config]\nType:Root\nSoftware:Windows\nSelected:1\nRecycle Bin<>1<>0<>Customize><ParseRecycleBin\n"
      "Recent<>1<>0<>Folder><{dir}\\recent\n[Config]\nType:Plugins\nSoftware:Google Chrome\n"
      "Version:1\nSelected:1\nCache<>1<>0<>Folder><{dir}\\cache\n");
  dir.Write("files/plain.txt", "p");
  const std::string script = std::string(QM_FIXTURES_DIR) + "/../../scripts/completion/quillmere-cli.bash";
  // Completes the last of its words as bash does on Tab, the words given as readline splits the line.
  const std::string harness =
      dir.Write("complete.sh",
                "source \"$1\"; shift\nCOMP_WORDS=(\"$@\"); COMP_CWORD=$((${#COMP_WORDS[@]} - 1))\n"
                "_quillmere_cli\n(( ${#COMPREPLY[@]} )) && printf '%s\\n' \"${COMPREPLY[@]}\" | "
                "LC_ALL=C sort\n");
  const std::string program = std::string(QM_CATALOGUE_DIR) + "/quillmere-cli";
  struct Case {
    Lines words;  ///< after the program's name, as typed; the last is the word completed
    Lines expected;
  };
  const std::vector<Case> cases = {
      {{""}, {"clear", "decrypt", "encrypt", "help", "import-winapp2", "list", "show"}},
      {{"--json", "cl"}, {"clear"}},
      {{"help", "imp"}, {"import-winapp2"}},
      {{"list", "--l"}, {"--long"}},
      {{"clear", "--"},
       {"--all", "--catalogue", "--help", "--human", "--json", "--log", "--log-dir", "--no-log", "--passes",
        "--registry", "--version", "--yes"}},
      {{"clear", "--passes", "1"}, {"1", "10"}},
      {{"decrypt", dir / "files/pl"}, {dir / "files/plain.txt"}},
      {{"--catalogue", catalogue, "show", "Wi"}, {"Windows", "Windows\\Recent", "Windows\\Recycle Bin"}},
      {{"--catalogue", catalogue, "show", "'Windows\\Rec"}, {"Windows\\Recent", "Windows\\Recycle Bin"}},
      {{"--catalogue", "=", catalogue, "clear", "--yes", "Plug-ins\\\\Google\\ C"},
       {"Plug-ins\\Google Chrome", "Plug-ins\\Google Chrome\\Cache"}},
      {{"--catalogue", catalogue, "show", "Ur\\ All\\ Privacy\\\\P"},
       {"Ur All Privacy\\Plug-ins", "Ur All Privacy\\Plug-ins\\Google Chrome",
        "Ur All Privacy\\Plug-ins\\Google Chrome\\Cache"}},
      {{"--catalogue", catalogue, "list", "Wi"}, {}},
  };
  const auto quoted = [](const std::string& word) { return " '" + Replaced(word, "'", "'\\''") + "'"; };
  for (const Case& c : cases) {
    std::string line = "bash" + quoted(harness) + quoted(script) + quoted(program);
    for (const std::string& word : c.words) line += quoted(word);
    const Shell shell = RunShell(dir, line);
    EXPECT_EQ(shell.err, "") << c.words.back();
    EXPECT_EQ(TextLines(shell.out), c.expected) << c.words.back();
  }
  const Shell registered = RunShell(dir, "bash -c 'source \"$0\"; complete -p quillmere-cli'" + quoted(script));
  EXPECT_EQ(registered.out, "complete -F _quillmere_cli quillmere-cli\n");
}

TEST(CliReference, EveryOptionParsesAndPassesTakeTheRangeTheStoredSettingKeeps) {
  for (const cli::OptionReference& option : cli::reference::Options()) {
    const std::string name(option.name);
    Lines arguments = {name};
    if (!option.value.empty()) arguments.push_back(option.value == "N" ? "3" : "value");
    arguments.push_back("show");
    const cli::Options parsed = cli::ParseOptions(arguments);
    // Each option lands in a field of its own: the parsed options differ from those without it.
    const cli::Options plain = cli::ParseOptions({"show"});
    EXPECT_TRUE(parsed.catalogue != plain.catalogue || parsed.registry != plain.registry || parsed.out != plain.out ||
                parsed.logDir != plain.logDir || parsed.passes != plain.passes || parsed.log != plain.log ||
                parsed.all || parsed.longListing || parsed.json || parsed.human || parsed.yes || parsed.plugins ||
                parsed.report || parsed.help || parsed.version)
        << name;
    // A value option without its value, a flag with one.
    const Lines wrong = option.value.empty() ? Lines{"show", name + "=1"} : Lines{"show", name};
    EXPECT_THROW(cli::ParseOptions(wrong), cli::UsageError) << name;
  }
  EXPECT_THROW(cli::ParseOptions({"show", "--frob"}), cli::UsageError);
  EXPECT_EQ(cli::ParseOptions({"--log-dir", "d", "clear", "a", "b"}).log, true);
  EXPECT_EQ(cli::ParseOptions({"clear", "a", "--", "--yes"}).arguments, (Lines{"a", "--yes"}));

  // A number --passes takes is one the stored setting keeps as it is; any other the setting replaces.
  RegistryFixture registry("", "[HKEY_CURRENT_USER\\Software\\Dunvorel\\Quillmere]\r\n");
  const SettingsRoots roots{0x80000001u, 0x80000001u};
  for (int passes : {-1, 0, 1, 2, 9, 10, 11, 100}) {
    SystemSettings settings;
    settings.SecurityFillTimes = static_cast<int16_t>(passes);
    SaveSystemSetting(registry.Registry(), settings, setting_names::kSecurityFillTimes, roots);
    SystemSettings loaded;
    LoadSystemSettings(registry.Registry(), loaded, SettingsKey::ReadOnly, roots);
    bool accepted = true;
    try {
      EXPECT_EQ(cli::ParseOptions({"clear", "--passes", std::to_string(passes)}).passes, passes);
    } catch (const cli::UsageError&) {
      accepted = false;
    }
    EXPECT_EQ(accepted, loaded.SecurityFillTimes == passes) << passes;
  }
}

TEST(CliReference, TraceLinesSayWhatBecameOfATraceWithControlCharactersAndSizesMadeReadable) {
  const std::vector<std::pair<TraceStatus, std::string>> words = {{TraceStatus::Found, "found\tC:\\a"},
                                                                  {TraceStatus::Erased, "erased\tC:\\a"},
                                                                  {TraceStatus::FilledBlank, "overwritten\tC:\\a"},
                                                                  {TraceStatus::Held, "held\tC:\\a"},
                                                                  {TraceStatus::Failed, "failed\tC:\\a"}};
  for (const auto& [status, line] : words) {
    PrivacyValue pv;
    pv.Path = "C:\\a";
    pv.ValueStatus = status;
    EXPECT_EQ(cli::TraceText(pv), line);
  }
  const std::vector<std::pair<std::string, std::string>> escapes = {
      {"C:\\temp\\a b", "C:\\temp\\a b"},
      {"a\tb\nc\rd", "a\\tb\\nc\\rd"},
      {std::string("\x01\x1f\x7f", 3), "\\x01\\x1F\\x7F"},
      {"caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80", "caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80"},
      {"\xFF\xC3 \xE2\x82 \xED\xA0\x80", "\\xFF\\xC3 \\xE2\\x82 \\xED\\xA0\\x80"},
  };
  for (const auto& [text, shown] : escapes) EXPECT_EQ(cli::EscapedText(text), shown) << shown;
  const std::vector<std::pair<int64_t, std::string>> sizes = {{0, "0 B"},
                                                              {1023, "1023 B"},
                                                              {1024, "1.0 KiB"},
                                                              {1536, "1.5 KiB"},
                                                              {1048473, "1023.9 KiB"},
                                                              {1048575, "1.0 MiB"},
                                                              {5 * 1048576 + 104858, "5.1 MiB"},
                                                              {int64_t{3} << 30, "3.0 GiB"},
                                                              {int64_t{5} << 50, "5120.0 TiB"}};
  for (const auto& [bytes, text] : sizes) EXPECT_EQ(cli::HumanSize(bytes), text) << bytes;
}

}  // namespace
}  // namespace qm::testing
