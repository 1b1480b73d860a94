#include "settings/IniText.h"

#include <charconv>
#include <limits>
#include <vector>

namespace kx {
namespace {

constexpr bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) {
        s.remove_prefix(1);
    }
    while (!s.empty() && IsBlank(s.back())) {
        s.remove_suffix(1);
    }
    return s;
}

constexpr bool IsLeadByte(char c) {
    const auto u = static_cast<unsigned char>(c);
    return u >= 0x81 && u <= 0xFE;
}

// GBK trail bytes include '[' ']' and the ASCII letters, so every scan steps over double-byte
// characters whole. A lead byte without a byte after it counts as one character.
size_t CharWidth(std::string_view s, size_t i) {
    return IsLeadByte(s[i]) && i + 1 < s.size() ? 2 : 1;
}

size_t FindChar(std::string_view s, char c) {
    for (size_t i = 0; i < s.size(); i += CharWidth(s, i)) {
        if (s[i] == c) {
            return i;
        }
    }
    return std::string_view::npos;
}

bool EndsWithLoneLeadByte(std::string_view s) {
    size_t last = 0;
    for (size_t i = 0; i < s.size(); i += CharWidth(s, i)) {
        last = i;
    }
    return !s.empty() && CharWidth(s, last) == 1 && IsLeadByte(s[last]);
}

constexpr char ToLowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
}

// Both names trimmed. Letter case is folded for single-byte characters only.
bool NamesEqual(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size();) {
        const size_t width = CharWidth(a, i);
        if (width == 2 ? a.substr(i, 2) != b.substr(i, 2)
                       : ToLowerAscii(a[i]) != ToLowerAscii(b[i])) {
            return false;
        }
        i += width;
    }
    return true;
}

std::string_view CutAtCharacter(std::string_view s, size_t maxBytes) {
    size_t i = 0;
    while (i < s.size()) {
        const size_t width = CharWidth(s, i);
        if (i + width > maxBytes) {
            break;
        }
        i += width;
    }
    return s.substr(0, i);
}

std::string_view ProfileValue(std::string_view raw) {
    std::string_view v = Trim(raw);
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) {
        v = v.substr(1, v.size() - 2);
    }
    return CutAtCharacter(v, kMaxProfileValueBytes);
}

struct Line {
    size_t begin;
    size_t contentEnd;  // where the line end ("\n" or "\r\n") starts
    size_t end;         // after the line end
};

std::vector<Line> SplitLines(std::string_view text) {
    std::vector<Line> lines;
    size_t begin = 0;
    while (begin < text.size()) {
        const size_t newline = text.find('\n', begin);
        if (newline == std::string_view::npos) {
            lines.push_back({begin, text.size(), text.size()});
            break;
        }
        const size_t contentEnd =
            newline > begin && text[newline - 1] == '\r' ? newline - 1 : newline;
        lines.push_back({begin, contentEnd, newline + 1});
        begin = newline + 1;
    }
    return lines;
}

// The file's own line end; CRLF, as on the terminals, when it has none yet.
std::string_view LineEndOf(std::string_view text) {
    const size_t newline = text.find('\n');
    if (newline == std::string_view::npos) {
        return "\r\n";
    }
    return newline > 0 && text[newline - 1] == '\r' ? "\r\n" : "\n";
}

enum class LineKind { kOther, kSection, kKey };

struct ParsedLine {
    LineKind kind = LineKind::kOther;
    std::string_view name;      // trimmed
    std::string_view rawValue;  // after the '=', untrimmed
};

ParsedLine ParseLine(std::string_view content) {
    const std::string_view t = Trim(content);
    if (t.empty() || t.front() == ';' || t.front() == '#') {
        return {};
    }
    if (t.front() == '[') {
        const size_t close = FindChar(t, ']');
        if (close == std::string_view::npos) {
            return {};
        }
        return {LineKind::kSection, Trim(t.substr(1, close - 1)), {}};
    }
    const size_t equals = FindChar(t, '=');
    if (equals == std::string_view::npos) {
        return {};
    }
    return {LineKind::kKey, Trim(t.substr(0, equals)), t.substr(equals + 1)};
}

std::string_view ContentOf(std::string_view text, const Line& line) {
    return text.substr(line.begin, line.contentEnd - line.begin);
}

struct Location {
    std::optional<size_t> keyLine;      // the first matching key line
    std::optional<size_t> insertAfter;  // first matching section: its last key line or its header
};

Location Locate(std::string_view text, const std::vector<Line>& lines, std::string_view section,
                std::string_view key) {
    section = Trim(section);
    key = Trim(key);
    Location found;
    bool inSection = false;
    bool inFirstSection = false;
    for (size_t i = 0; i < lines.size(); ++i) {
        const ParsedLine parsed = ParseLine(ContentOf(text, lines[i]));
        if (parsed.kind == LineKind::kSection) {
            inSection = NamesEqual(parsed.name, section);
            inFirstSection = inSection && !found.insertAfter;
            if (inFirstSection) {
                found.insertAfter = i;
            }
        } else if (parsed.kind == LineKind::kKey && inSection) {
            if (NamesEqual(parsed.name, key)) {
                found.keyLine = i;
                return found;
            }
            if (inFirstSection) {
                found.insertAfter = i;
            }
        }
    }
    return found;
}

bool HasLineBreak(std::string_view s) {
    return s.find_first_of("\r\n") != std::string_view::npos;
}

bool CanStore(std::string_view section, std::string_view key, std::string_view value) {
    if (HasLineBreak(section) || HasLineBreak(key) || HasLineBreak(value) ||
        EndsWithLoneLeadByte(section) || EndsWithLoneLeadByte(key)) {
        return false;
    }
    if (FindChar(section, ']') != std::string_view::npos ||
        FindChar(key, '=') != std::string_view::npos) {
        return false;
    }
    return key.empty() || (key.front() != '[' && key.front() != ';' && key.front() != '#');
}

}  // namespace

IniText::IniText(std::string bytes) : bytes_(std::move(bytes)) {}

std::optional<std::string> IniText::Find(std::string_view section, std::string_view key) const {
    const auto lines = SplitLines(bytes_);
    const Location found = Locate(bytes_, lines, section, key);
    if (!found.keyLine) {
        return std::nullopt;
    }
    return std::string(ProfileValue(ParseLine(ContentOf(bytes_, lines[*found.keyLine])).rawValue));
}

bool IniText::Set(std::string_view section, std::string_view key, std::string_view value) {
    section = Trim(section);
    key = Trim(key);
    if (!CanStore(section, key, value)) {
        return false;
    }
    const auto lines = SplitLines(bytes_);
    const Location found = Locate(bytes_, lines, section, key);
    if (found.keyLine) {
        const Line& line = lines[*found.keyLine];
        const std::string content =
            std::string(ParseLine(ContentOf(bytes_, line)).name) + "=" + std::string(value);
        bytes_.replace(line.begin, line.contentEnd - line.begin, content);
        return true;
    }

    const std::string lineEnd(LineEndOf(bytes_));
    std::string block = std::string(key) + "=" + std::string(value);
    if (!found.insertAfter) {
        block = "[" + std::string(section) + "]" + lineEnd + block;
    }
    if (lines.empty()) {
        bytes_ += block + lineEnd;
        return true;
    }
    // A last line without a line end gets one; the new last line then goes without, as it was.
    const Line& after = found.insertAfter ? lines[*found.insertAfter] : lines.back();
    if (after.contentEnd == after.end) {
        bytes_.insert(after.end, lineEnd + block);
    } else {
        bytes_.insert(after.end, block + lineEnd);
    }
    return true;
}

std::optional<int32_t> ParseProfileInteger(std::string_view text) {
    int base = 10;
    bool negative = false;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    } else if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty()) {
        return std::nullopt;
    }
    // Unsigned parse: from_chars would take a second sign for a signed type.
    uint64_t magnitude = 0;
    const auto [end, error] =
        std::from_chars(text.data(), text.data() + text.size(), magnitude, base);
    if (error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    constexpr auto kMax = static_cast<uint64_t>(std::numeric_limits<int32_t>::max());
    if (magnitude > kMax + (negative ? 1 : 0)) {
        return std::nullopt;
    }
    return negative ? static_cast<int32_t>(-static_cast<int64_t>(magnitude))
                    : static_cast<int32_t>(magnitude);
}

}  // namespace kx
