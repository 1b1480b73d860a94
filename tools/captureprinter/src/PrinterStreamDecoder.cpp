#include "captureprinter/PrinterStreamDecoder.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <optional>

#include "gbk/Gbk.h"

namespace kx {
namespace {

constexpr uint8_t kEsc = 0x1B;
constexpr uint8_t kGs = 0x1D;
constexpr uint8_t kLineFeed = 0x0A;

std::string Hex(uint8_t byte) {
    char text[5];
    std::snprintf(text, sizeof(text), "0x%02X", byte);
    return text;
}

std::string Meaning(uint8_t prefix, uint8_t command, const uint8_t* args) {
    const unsigned a = args[0];
    if (prefix == kEsc) {
        switch (command) {
            case '@':
                return "initialise";
            case 'd':
                return "print and feed " + std::to_string(a) + " lines";
            case 'a': {
                static constexpr std::array<const char*, 3> kAlign = {"left", "centre", "right"};
                const unsigned n = a >= '0' ? a - '0' : a;
                return n < kAlign.size() ? kAlign[n] : "alignment " + std::to_string(a) + "?";
            }
            case 'G':
                return (a & 1u) ? "double-strike on" : "double-strike off";
            case 'E':
                return (a & 1u) ? "emphasis on" : "emphasis off";
            case 'p':
                return std::string("drawer pin ") + ((a & 1u) ? "5" : "2") + ", " +
                       std::to_string(args[1] * 2u) + " ms on, " + std::to_string(args[2] * 2u) +
                       " ms off";
            default:
                return {};
        }
    }
    switch (command) {
        case '!':
            return "width x" + std::to_string((a >> 4) + 1) + ", height x" +
                   std::to_string((a & 15u) + 1);
        case 'V':
            return (a == 0 || a == '0' || a == 'A') ? "full cut" : "partial cut";
        default:
            return {};
    }
}

// The number of argument bytes after ESC or GS and the command byte; nothing when unknown.
std::optional<size_t> ArgumentCount(uint8_t prefix, uint8_t command) {
    static constexpr std::string_view kEscOne = "daGE!-3JMtR";
    static constexpr std::string_view kGsOne = "!VBhwHf";
    if (prefix == kEsc) {
        if (command == '@' || command == '2') {
            return 0;
        }
        if (command == 'p') {
            return 3;
        }
        return kEscOne.find(static_cast<char>(command)) != std::string_view::npos
                   ? std::optional<size_t>(1)
                   : std::nullopt;
    }
    return kGsOne.find(static_cast<char>(command)) != std::string_view::npos
               ? std::optional<size_t>(1)
               : std::nullopt;
}

bool IsControl(uint8_t byte) {
    return byte < 0x20 || byte == 0x7F;
}

}  // namespace

std::vector<std::string> PrinterStreamDecoder::Feed(std::string_view bytes) {
    pending_.append(bytes);
    return Decode(false);
}

std::vector<std::string> PrinterStreamDecoder::Finish() {
    return Decode(true);
}

std::vector<std::string> PrinterStreamDecoder::Decode(bool final) {
    std::vector<std::string> lines;
    const auto* data = reinterpret_cast<const uint8_t*>(pending_.data());
    const size_t size = pending_.size();
    size_t at = 0;
    while (at < size) {
        const uint8_t byte = data[at];
        if (!IsControl(byte)) {
            size_t end = at;
            while (end < size && !IsControl(data[end])) {
                ++end;
            }
            if (end == size && !final) {
                break;  // the text may go on in the next bytes
            }
            lines.push_back("TEXT \"" + GbkToUtf8(std::string_view(pending_).substr(at, end - at)) +
                            "\"");
            at = end;
        } else if (byte == kEsc || byte == kGs) {
            const char* name = byte == kEsc ? "ESC" : "GS";
            if (at + 1 >= size) {
                if (final) {
                    lines.push_back(std::string(name) + " (cut off)");
                    at = size;
                }
                break;
            }
            const uint8_t command = data[at + 1];
            std::string line = std::string(name) + " " +
                               (IsControl(command) || command >= 0x80
                                    ? Hex(command)
                                    : std::string(1, static_cast<char>(command)));
            const std::optional<size_t> count = ArgumentCount(byte, command);
            size_t argCount = count.value_or(0);
            if (byte == kGs && command == 'V' && at + 2 < size && data[at + 2] >= 'A') {
                argCount = 2;  // GS V 65 n and GS V 66 n feed n before cutting
            }
            if (at + 2 + argCount > size) {
                if (final) {
                    lines.push_back(line + " (cut off)");
                    at = size;
                }
                break;
            }
            std::array<uint8_t, 3> args{};
            for (size_t i = 0; i < argCount; ++i) {
                args[i] = data[at + 2 + i];
                line += " " + std::to_string(args[i]);
            }
            if (!count) {
                line += " (unknown command)";
            } else if (const std::string meaning = Meaning(byte, command, args.data());
                       !meaning.empty()) {
                line += " (" + meaning + ")";
            }
            lines.push_back(std::move(line));
            at += 2 + argCount;
        } else {
            lines.push_back(byte == kLineFeed ? "LF" : byte == 0x0D ? "CR" : "BYTE " + Hex(byte));
            ++at;
        }
    }
    pending_.erase(0, at);
    return lines;
}

std::string DescribePrinterBytes(std::string_view bytes) {
    PrinterStreamDecoder decoder;
    std::string text;
    for (auto lines : {decoder.Feed(bytes), decoder.Finish()}) {
        for (const std::string& line : lines) {
            text += line + "\n";
        }
    }
    return text;
}

}  // namespace kx
