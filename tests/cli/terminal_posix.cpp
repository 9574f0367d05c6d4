// The command line as a terminal and a pipe see it: the clear question under a pseudo-terminal, Ctrl+C at the
// question, and output that cannot be written.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "cli/options.h"
#include "support/case_tree.h"
#include "support/lines.h"
#include "support/registry_fixture.h"
#include "support/test_engine.h"

namespace qm::testing {
namespace {

const std::string kProgram = std::string(QM_CATALOGUE_DIR) + "/quillmere-cli";

[[noreturn]] void Exec(const Lines& arguments) {
  std::vector<char*> argv;
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  ::execv(argv[0], argv.data());
  ::_exit(127);
}

/// Reads what the terminal shows until `text` appears (or 10 s pass).
std::string ReadUntil(int terminal, const std::string& text) {
  std::string shown;
  for (int waited = 0; shown.find(text) == std::string::npos && waited < 100; ++waited) {
    pollfd ready{terminal, POLLIN, 0};
    if (::poll(&ready, 1, 100) <= 0) continue;
    char buffer[256];
    const ssize_t got = ::read(terminal, buffer, sizeof buffer);
    if (got <= 0) break;
    shown.append(buffer, static_cast<std::size_t>(got));
  }
  return shown;
}

int ExitStatus(pid_t child) {
  int status = 0;
  ::waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

TEST(Terminal, TheClearAsksAfterLoadingAndCtrlCAnswersNo) {
  struct Case {
    std::string answer;
    int status;
    bool cleared;
    Lines nodes;
    std::string question;
  };
  const std::string root =
      "Are you sure to clear the privacy item \"Ur All Privacy\" and its all subitems? It covers 2 items. [y/N] ";
  // "y" clears; "n" and Ctrl+C clear nothing, Ctrl+C ending as an interruption. Several nodes are asked for at
  // once, by their names.
  const std::vector<Case> cases = {
      {"y\n", 0, true, {}, root},
      {"n\n", 0, false, {}, root},
      {"\x03", 130, false, {}, root},
      {"y\n",
       0,
       true,
       {"App\\Cache", "app\\other"},
       "Are you sure to clear the privacy items \"App\\Cache\", \"App\\Other\" and all their subitems? They cover 2 "
       "items. [y/N] "}};
  for (const auto& [answer, status, cleared, nodes, expected] : cases) {
    ScratchFolder dir("terminal");
    RegistryFixture registry;
    ASSERT_EQ(CaseTree().Build(dir.Path(), {"cache/a.dat = a", "cache/sub/b.dat = b"}), "");
    const std::string catalogue =
        WriteCatalogue(dir,
                       "[Config]\nSoftware:App\nSelected:1\nCache<>1<>0<>Folder><{dir}/cache\n"
                       "Other<>1<>0<>File><{dir}/other\n");
    int terminal = -1;
    const pid_t child = ::forkpty(&terminal, nullptr, nullptr, nullptr);
    ASSERT_GE(child, 0);
    if (child == 0) {
      Lines arguments = {kProgram, "--catalogue", catalogue, "--registry", registry.StoreFile(), "clear"};
      arguments.insert(arguments.end(), nodes.begin(), nodes.end());
      Exec(arguments);
    }
    const std::string question = ReadUntil(terminal, "[y/N] ");
    EXPECT_NE(question.find(expected), std::string::npos) << question;
    ASSERT_EQ(::write(terminal, answer.data(), answer.size()), static_cast<ssize_t>(answer.size()));
    ReadUntil(terminal, "\x01");  // what is left of the output, until the program ends
    EXPECT_EQ(ExitStatus(child), status) << answer;
    EXPECT_EQ(ListTree(dir / "cache").empty(), cleared) << answer;
    ::close(terminal);
  }
}

/// Runs the program with its standard output on `fd` and returns its exit status and standard error.
std::pair<int, std::string> RunWithOutput(const Lines& arguments, int fd, const ScratchFolder& dir) {
  const std::string errFile = dir / "err.txt";
  const pid_t child = ::fork();
  if (child == 0) {
    ::dup2(fd, STDOUT_FILENO);
    const int err = ::open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ::dup2(err, STDERR_FILENO);
    Exec(arguments);
  }
  return {ExitStatus(child), ReadBytes(errFile)};
}

TEST(Terminal, OutputThatCannotBeWrittenOrAStoreThatCannotBeReadEndsWithAStatusOfItsOwn) {
  ScratchFolder dir("output");
  const Lines encrypt = {kProgram, "encrypt", dir.Write("plain.txt", "[Config]\n")};

  // A full disk: the reason, and status 4.
  const int full = ::open("/dev/full", O_WRONLY);
  ASSERT_GE(full, 0);
  const auto [fullStatus, fullError] = RunWithOutput(encrypt, full, dir);
  ::close(full);
  EXPECT_EQ(fullStatus, cli::kExitOutputFailed);
  EXPECT_NE(fullError.find("No space left on device"), std::string::npos) << fullError;

  // A pipe whose reader has gone: no message, and status 4 all the same.
  int pipe[2];
  ASSERT_EQ(::pipe(pipe), 0);
  ::close(pipe[0]);
  const auto [pipeStatus, pipeError] = RunWithOutput(encrypt, pipe[1], dir);
  ::close(pipe[1]);
  EXPECT_EQ(pipeStatus, cli::kExitOutputFailed);
  EXPECT_EQ(pipeError, "");

  // A store or catalogue that cannot be read is an error, never an empty one nor a hang: a FIFO or a device
  // would hang the program or stream forever, so it is refused before anything is read.
  ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
  const std::vector<std::tuple<std::string, std::string, std::string>> refusals = {
      {"--registry", dir / "missing.reg", "missing.reg"},
      {"--registry", dir.Folder("folder.reg"), "folder.reg"},
      {"--registry", dir.Write("plain.reg", "not a registry file\r\n"), "no header"},
      {"--registry", dir / "fifo", "not a regular file"},
      {"--registry", "/dev/zero", "not a regular file"},
      {"--catalogue", dir / "fifo", "not a regular file"},
      {"--catalogue", "/dev/zero", "not a regular file"}};
  const int devNull = ::open("/dev/null", O_WRONLY);
  for (const auto& [option, file, reason] : refusals) {
    const auto [status, error] = RunWithOutput({kProgram, option, file, "list"}, devNull, dir);
    EXPECT_EQ(status, cli::kExitNoCatalogue) << option << " " << file;
    EXPECT_NE(error.find(reason), std::string::npos) << error;
  }
  ::close(devNull);
}

}  // namespace
}  // namespace qm::testing
