#pragma once
// The kxcard subcommands that issue card dumps and work the simulated reader of an installation.
// Each gets the arguments after its name and returns the exit code (2: bad arguments).

#include <span>
#include <string>

namespace kx {

// issue OUT [--name TEXT] ...: writes a member card dump.
int RunIssue(std::span<const std::string> args);
// place DUMP [--dist DIR]: puts the card on the simulated reader.
int RunPlace(std::span<const std::string> args);
// remove [--dist DIR]: takes the card off the simulated reader.
int RunRemove(std::span<const std::string> args);
// read [--dist DIR] [--port USB|COM1..COM6] [--model KXD100..KXD104]: reads the card on the
// reader through the installation's reader libraries and prints it as decode does.
int RunRead(std::span<const std::string> args);

}  // namespace kx
