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

/// The parsed command line.
struct Options {
  std::string command;                  ///< "" when only --help or --version was asked
  std::optional<std::string> argument;  ///< the command's NODE or FILE
  std::string catalogue;                ///< --catalogue FILE; "" for the default beside the program
  std::string registry;                 ///< --registry FILE; "" for the default store
  std::string out;                      ///< --out FILE of import-winapp2; "" for plain lines on stdout
  bool all = false;                     ///< --all
  bool json = false;                    ///< --json
  bool yes = false;                     ///< --yes
  bool plugins = false;                 ///< --plugins
  bool report = false;                  ///< --report
  bool help = false;                    ///< --help
  bool version = false;                 ///< --version
};

/// A command line that does not follow the contract; the program prints it with the usage and exits 2.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

/// Parses the arguments (without the program name). Options may stand before or after the command, as
/// "--name VALUE" or "--name=VALUE"; "--" ends the options. At most one argument follows the command.
Options ParseOptions(const std::vector<std::string>& arguments);

/// The usage text, ending with a line break.
std::string UsageText();

}  // namespace qm::cli
