// kxcard decode DUMP [--today YYYY-MM-DD]

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "RecordJson.h"
#include "Subcommands.h"
#include "card/CardDump.h"
#include "card/MemberCard.h"

namespace kx {

namespace {

constexpr int kErrorExit = 2;

struct DecodeArgs {
    std::string dumpPath;
    std::optional<CivilDate> today;
};

int Fail(const std::string& message) {
    std::fprintf(stderr, "kxcard decode: %s\n", message.c_str());
    return kErrorExit;
}

std::optional<DecodeArgs> ParseArgs(std::span<const std::string> args, std::string& error) {
    DecodeArgs parsed;
    bool haveDump = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--today") {
            if (i + 1 == args.size()) {
                error = "--today needs a date YYYY-MM-DD";
                return std::nullopt;
            }
            parsed.today = ParseCivilDate(args[++i]);
            if (!parsed.today) {
                error = "'" + args[i] + "' is not a date YYYY-MM-DD";
                return std::nullopt;
            }
        } else if (args[i].starts_with("--") || haveDump) {
            error = "unexpected argument '" + args[i] +
                    "'; usage: kxcard decode DUMP [--today YYYY-MM-DD]";
            return std::nullopt;
        } else {
            parsed.dumpPath = args[i];
            haveDump = true;
        }
    }
    if (!haveDump) {
        error = "usage: kxcard decode DUMP [--today YYYY-MM-DD]";
        return std::nullopt;
    }
    return parsed;
}

std::optional<CardDump> ReadDump(const std::string& path, std::string& error) {
    std::error_code code;
    const auto size = std::filesystem::file_size(path, code);
    if (code) {
        error = "cannot read '" + path + "': " + code.message();
        return std::nullopt;
    }
    if (size != kCardDumpSize) {
        error =
            "'" + path + "' holds " + std::to_string(size) + " bytes; a 1K card dump holds 1024";
        return std::nullopt;
    }
    CardDump dump{};
    std::ifstream file(path, std::ios::binary);
    if (!file.read(reinterpret_cast<char*>(dump.data()), dump.size())) {
        error = "cannot read '" + path + "': " + std::strerror(errno);
        return std::nullopt;
    }
    return dump;
}

}  // namespace

int RunDecode(std::span<const std::string> args) {
    std::string error;
    const auto parsed = ParseArgs(args, error);
    if (!parsed) {
        return Fail(error);
    }
    const auto dump = ReadDump(parsed->dumpPath, error);
    if (!dump) {
        return Fail(error);
    }
    TMemberRecord record;
    const TCardCheck check =
        DecodeMemberCard(MemberCardImageFromDump(*dump), kExpectedSchemeCode, record);
    const std::string json = RecordJson(check, record, parsed->today.value_or(LocalToday()));
    std::printf("%s\n", json.c_str());
    return 0;
}

}  // namespace kx
