#include "simreader/TraceLine.h"

namespace kx::sim {

std::string TraceArgument(TraceKey key) {
    if (key.bytes == nullptr) {
        return "NULL";
    }
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    for (int i = 0; i < 6; ++i) {
        text += kDigits[key.bytes[i] >> 4];
        text += kDigits[key.bytes[i] & 0x0F];
    }
    return text;
}

std::string TraceLine(std::string_view function, std::string_view arguments,
                      std::optional<int64_t> result) {
    std::string line(function);
    line += "(";
    line += arguments;
    line += ")";
    if (result) {
        line += " = " + std::to_string(*result);
    }
    return line;
}

}  // namespace kx::sim
