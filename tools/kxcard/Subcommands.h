#pragma once
// The subcommands of kxcard. Each gets the arguments after its name and returns the exit code.

#include <span>
#include <string>

namespace kx {

// decode DUMP [--today YYYY-MM-DD]: the member record of a 1024-byte card dump, as JSON.
int RunDecode(std::span<const std::string> args);

}  // namespace kx
