#pragma once
// Arguments of the simulated-reader subcommands: positional words and "--option VALUE" pairs.

#include <cstdio>
#include <filesystem>
#include <initializer_list>
#include <map>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace kx {

// Bad arguments; what() is the one line to show.
class UsageError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

class CommandOptions {
  public:
    // Throws UsageError, its text ending in usage, for an unknown or repeated option, an option
    // without its value, or a number of positional words other than positionalCount.
    CommandOptions(std::span<const std::string> args, std::initializer_list<std::string_view> known,
                   std::size_t positionalCount, std::string_view usage);

    const std::string& Positional(std::size_t index) const { return positionals_.at(index); }
    std::optional<std::string> Value(std::string_view option) const;

  private:
    std::vector<std::string> positionals_;
    std::map<std::string, std::string, std::less<>> values_;
};

// The installation --dist names, or the folder of kxcard itself (it lives in the installation).
// Throws UsageError when the folder has no "LibaryDir".
std::filesystem::path InstallationFolder(const CommandOptions& options);

// Prints "kxcard COMMAND: message" on stderr and returns exit code 2.
int UsageFailure(std::string_view command, const std::string& message);

}  // namespace kx
