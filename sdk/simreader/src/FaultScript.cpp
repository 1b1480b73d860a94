#include "simreader/FaultScript.h"

#include <charconv>
#include <fstream>
#include <sstream>
#include <system_error>
#include <vector>

#include "simreader/DumpFile.h"

namespace kx::sim {

std::optional<Fault> ParseFault(std::string_view line) {
    std::istringstream words{std::string(line)};
    std::string kind;
    std::string function;
    std::string status;
    std::string extra;
    words >> kind >> function >> status >> extra;
    if (!extra.empty() || function.empty()) {
        return std::nullopt;
    }
    if (kind == "leave" && status.empty()) {
        return Fault{Fault::Kind::Leave, function};
    }
    int16_t value = 0;
    const auto [end, error] = std::from_chars(status.data(), status.data() + status.size(), value);
    if (kind == "fail" && error == std::errc() && end == status.data() + status.size() &&
        value != 0) {
        return Fault{Fault::Kind::Fail, function, value};
    }
    return std::nullopt;
}

std::optional<Fault> FaultScript::Take(Fault::Kind kind, std::string_view function) const {
    std::error_code error;
    if (!std::filesystem::exists(file_, error)) {
        return std::nullopt;
    }
    std::ifstream in(file_, std::ios::binary);
    std::vector<std::string> lines;
    std::optional<Fault> taken;
    for (std::string line; std::getline(in, line);) {
        if (!taken) {
            auto fault = ParseFault(line);
            if (fault && fault->kind == kind && fault->function == function) {
                taken = std::move(fault);
                continue;
            }
        }
        lines.push_back(line);
    }
    // Windows cannot replace a file that is still open.
    in.close();
    if (taken) {
        std::string rest;
        for (const auto& line : lines) {
            rest += line + "\n";
        }
        const auto* bytes = reinterpret_cast<const uint8_t*>(rest.data());
        if (!WriteFileAtomically(file_, {bytes, rest.size()})) {
            // A fault that cannot be consumed would fire forever; better not fire at all.
            return std::nullopt;
        }
    }
    return taken;
}

std::optional<int16_t> FaultScript::TakeFailure(std::string_view function) const {
    const auto fault = Take(Fault::Kind::Fail, function);
    return fault ? std::optional<int16_t>(fault->status) : std::nullopt;
}

bool FaultScript::TakeLeave(std::string_view function) const {
    return Take(Fault::Kind::Leave, function).has_value();
}

}  // namespace kx::sim
