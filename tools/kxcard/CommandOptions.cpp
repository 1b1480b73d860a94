#include "CommandOptions.h"

#include <algorithm>
#include <system_error>

#include "simreader/Platform.h"

namespace kx {

CommandOptions::CommandOptions(std::span<const std::string> args,
                               std::initializer_list<std::string_view> known,
                               std::size_t positionalCount, std::string_view usage) {
    const auto fail = [usage](const std::string& problem) {
        return UsageError(problem + "; " + std::string(usage));
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (!arg.starts_with("--")) {
            positionals_.push_back(arg);
            continue;
        }
        if (std::find(known.begin(), known.end(), arg) == known.end()) {
            throw fail("unknown option '" + arg + "'");
        }
        if (i + 1 == args.size()) {
            throw fail(arg + " needs a value");
        }
        if (!values_.emplace(arg, args[i + 1]).second) {
            throw fail(arg + " given twice");
        }
        ++i;
    }
    if (positionals_.size() > positionalCount) {
        throw fail("unexpected argument '" + positionals_[positionalCount] + "'");
    }
    if (positionals_.size() < positionalCount) {
        throw fail("missing argument");
    }
}

std::optional<std::string> CommandOptions::Value(std::string_view option) const {
    const auto found = values_.find(option);
    return found == values_.end() ? std::nullopt : std::optional<std::string>(found->second);
}

std::filesystem::path InstallationFolder(const CommandOptions& options) {
    const auto given = options.Value("--dist");
    const std::filesystem::path folder =
        given ? std::filesystem::path(*given) : sim::ProgramFolder();
    std::error_code error;
    if (!std::filesystem::is_directory(folder / "LibaryDir", error)) {
        const std::u8string text = folder.u8string();
        throw UsageError("'" + std::string(text.begin(), text.end()) +
                         "' is not an installation: it has no LibaryDir folder");
    }
    return folder;
}

int UsageFailure(std::string_view command, const std::string& message) {
    std::fprintf(stderr, "kxcard %.*s: %s\n", static_cast<int>(command.size()), command.data(),
                 message.c_str());
    return 2;
}

}  // namespace kx
