// kxcard COMMAND ...: work with member cards from the command line.

#include <cstdio>
#include <exception>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "SimReaderCommands.h"
#include "Subcommands.h"

namespace {

struct Subcommand {
    std::string_view name;
    std::string_view arguments;
    int (*run)(std::span<const std::string> args);
};

constexpr Subcommand kSubcommands[] = {
    {"decode", "DUMP [--today YYYY-MM-DD]", kx::RunDecode},
    {"issue",
     "OUT [--name TEXT] [--cer-no TEXT] [--cer-type N] [--sex N] [--address TEXT] "
     "[--phone DIGITS] [--birthday YYYY-MM-DD] [--balance YUAN] [--points N] [--serial HEX8] "
     "[--scheme N] [--issuer HEX4]",
     kx::RunIssue},
    {"place", "DUMP [--dist DIR]", kx::RunPlace},
    {"remove", "[--dist DIR]", kx::RunRemove},
    {"read", "[--dist DIR] [--port USB|COM1..COM6] [--model KXD100..KXD104]", kx::RunRead},
};

constexpr int kUsageExit = 2;

int Usage() {
    std::fputs("usage:\n", stderr);
    for (const Subcommand& subcommand : kSubcommands) {
        std::fprintf(stderr, "  kxcard %.*s %.*s\n", static_cast<int>(subcommand.name.size()),
                     subcommand.name.data(), static_cast<int>(subcommand.arguments.size()),
                     subcommand.arguments.data());
    }
    return kUsageExit;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) {
        return Usage();
    }
    for (const Subcommand& subcommand : kSubcommands) {
        if (args[0] == subcommand.name) {
            try {
                return subcommand.run(std::span(args).subspan(1));
            } catch (const std::exception& error) {
                std::fprintf(stderr, "kxcard %s: %s\n", args[0].c_str(), error.what());
                return 1;
            }
        }
    }
    std::fprintf(stderr, "kxcard: unknown command '%s'\n", args[0].c_str());
    return Usage();
}
