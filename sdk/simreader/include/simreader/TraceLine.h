#pragma once
// One line of the call trace: `name(arg, arg, ...) = result`, integers in decimal, key bytes as
// 12 uppercase hexadecimal digits, out-parameters left out.

#include <concepts>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kx::sim {

// The 6 key bytes an SDK call was given (may be null).
struct TraceKey {
    const uint8_t* bytes;
};

std::string TraceArgument(TraceKey key);
template <std::integral T>
std::string TraceArgument(T value) {
    return std::to_string(value);
}

template <typename... Args>
std::string TraceArguments(const Args&... args) {
    std::string text;
    ((text += (text.empty() ? "" : ", ") + TraceArgument(args)), ...);
    return text;
}

// Without a result for calls whose result nobody uses (beeps).
std::string TraceLine(std::string_view function, std::string_view arguments,
                      std::optional<int64_t> result);

}  // namespace kx::sim
