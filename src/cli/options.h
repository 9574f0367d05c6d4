#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace qm::cli {

/// Exit statuses of the command-line program.
inline constexpr int kExitDone = 0;
inline constexpr int kExitSomeFailed = 1;
inline constexpr int kExitUsage = 2;
inline constexpr int kExitNoCatalogue = 3;
inline constexpr int kExitOutputFailed = 4;  ///< the output could not be written (a full disk, a closed pipe)
inline constexpr int kExitInterrupted = 130;

/// The overwrite passes --passes takes: the range of the setting "Security Fill Times".
inline constexpr int kMinPasses = 1;
inline constexpr int kMaxPasses = 10;

/// The parsed command line.
struct Options {
  std::string command;                 ///< "" when only --help or --version was asked
  std::vector<std::string> arguments;  ///< the command's NODEs, FILE or COMMAND
  std::string catalogue;               ///< --catalogue FILE; "" for the default beside the program
  std::string registry;                ///< --registry FILE; "" for the default store
  std::string out;                     ///< --out FILE of import-winapp2; "" for plain lines on stdout
  std::string logDir;                  ///< --log-dir DIR; "" for the logs folder beside the program
  std::optional<int> passes;           ///< --passes N; none for the stored setting
  std::optional<bool> log;             ///< --log, --no-log (and --log-dir); none for the stored setting
  bool all = false;                    ///< --all
  bool longListing = false;            ///< --long
  bool json = false;                   ///< --json
  bool human = false;                  ///< --human
  bool yes = false;                    ///< --yes
  bool plugins = false;                ///< --plugins
  bool report = false;                 ///< --report
  bool help = false;                   ///< --help
  bool version = false;                ///< --version
};

/// A command line that does not follow the contract; the program prints it with the usage and exits 2.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

/// Parses the arguments (without the program name). Options may stand before or after the command, as
/// "--name VALUE" or "--name=VALUE"; "--" ends the options. Raises UsageError for an unknown option, a
/// missing or unwanted value, a value out of range and options that contradict each other.
Options ParseOptions(const std::vector<std::string>& arguments);

/// True when the arguments ask for JSON output, also when they are no valid command line: its error is then
/// told as JSON too.
bool AsksForJson(const std::vector<std::string>& arguments);

}  // namespace qm::cli
