// kxcard place DUMP [--dist DIR]

#include <cstdio>
#include <filesystem>

#include "CommandOptions.h"
#include "SimReaderCommands.h"
#include "simreader/DumpFile.h"
#include "simreader/MifareCard.h"
#include "simreader/ReaderFolder.h"

namespace kx {

int RunPlace(std::span<const std::string> args) {
    constexpr std::string_view kCommand = "place";
    try {
        const CommandOptions options(args, {"--dist"}, 1, "usage: kxcard place DUMP [--dist DIR]");
        const std::string& dump = options.Positional(0);
        const auto bytes = sim::ReadDump(dump);
        if (!bytes) {
            throw UsageError("'" + dump + "' is not a readable 1024-byte card dump");
        }
        const auto installation = InstallationFolder(options);
        sim::ReaderFolder::OfInstallation(installation).PlaceCard(dump);
        std::printf("card %08X is on the simulated reader of %s\n",
                    sim::MifareCard(*bytes).Serial(), installation.string().c_str());
        return 0;
    } catch (const UsageError& error) {
        return UsageFailure(kCommand, error.what());
    }
}

}  // namespace kx
