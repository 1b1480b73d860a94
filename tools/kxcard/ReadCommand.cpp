// kxcard read [--dist DIR] [--port USB|COM1..COM6] [--model KXD100..KXD104]

#include <algorithm>
#include <array>
#include <cstdio>
#include <string>
#include <string_view>

#include "CommandOptions.h"
#include "RecordJson.h"
#include "SimReaderCommands.h"
#include "card/CardTransactions.h"
#include "card/MemberCard.h"
#include "card/ReaderSdk.h"
#include "card/SdkBinding.h"

namespace kx {

namespace {

// Port index is the position in this list, as in the terminals' port lists.
constexpr std::array<std::string_view, 7> kPortNames{"USB",  "COM1", "COM2", "COM3",
                                                     "COM4", "COM5", "COM6"};

int PortIndex(const CommandOptions& options) {
    const std::string port = options.Value("--port").value_or("USB");
    const auto found = std::find(kPortNames.begin(), kPortNames.end(), port);
    if (found == kPortNames.end()) {
        throw UsageError("--port: '" + port + "' is not one of USB, COM1 ... COM6");
    }
    return static_cast<int>(found - kPortNames.begin());
}

std::string ModelName(const CommandOptions& options) {
    const std::string model = options.Value("--model").value_or("KXD103");
    if (!ModelFromName(model)) {
        throw UsageError("--model: '" + model + "' is not one of KXD100 ... KXD104");
    }
    return model;
}

}  // namespace

int RunRead(std::span<const std::string> args) {
    constexpr std::string_view kCommand = "read";
    int port = 0;
    std::string model;
    std::filesystem::path installation;
    try {
        const CommandOptions options(
            args, {"--dist", "--port", "--model"}, 0,
            "usage: kxcard read [--dist DIR] [--port USB|COM1..COM6] [--model KXD100..KXD104]");
        port = PortIndex(options);
        model = ModelName(options);
        installation = InstallationFolder(options);
    } catch (const UsageError& error) {
        return UsageFailure(kCommand, error.what());
    }
    try {
        BindReaderSdk(installation, kReadOps);
    } catch (const SdkBindError& error) {
        std::fprintf(stderr, "kxcard read: %s\n", error.what());
        return 1;
    }
    TMemberCardImage image;
    if (ReadMemberCard(port, model, image) != 0) {
        std::fprintf(stderr, "%s\n", kReadFailedMessage);
        return 1;
    }
    TMemberRecord record;
    const TCardCheck check = DecodeMemberCard(image, kExpectedSchemeCode, record);
    std::printf("%s\n", RecordJson(check, record, LocalToday()).c_str());
    return 0;
}

}  // namespace kx
