// kxcard remove [--dist DIR]

#include <cstdio>

#include "CommandOptions.h"
#include "SimReaderCommands.h"
#include "simreader/ReaderFolder.h"

namespace kx {

int RunRemove(std::span<const std::string> args) {
    constexpr std::string_view kCommand = "remove";
    try {
        const CommandOptions options(args, {"--dist"}, 0, "usage: kxcard remove [--dist DIR]");
        const auto installation = InstallationFolder(options);
        const bool removed = sim::ReaderFolder::OfInstallation(installation).RemoveCard();
        std::printf("%s\n", removed ? "the card is off the simulated reader"
                                    : "there was no card on the simulated reader");
        return 0;
    } catch (const UsageError& error) {
        return UsageFailure(kCommand, error.what());
    }
}

}  // namespace kx
