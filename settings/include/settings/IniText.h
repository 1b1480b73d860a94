#pragma once
// The text of a private-profile file, in the file's own bytes (GBK), looked up and changed in
// memory. Kept apart from IniFile so that any bytes can be parsed without touching the disk.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kx {

// Longest value a lookup returns, in bytes of the file; a double-byte character that would
// straddle the limit is left out whole.
inline constexpr size_t kMaxProfileValueBytes = 2047;

class IniText {
  public:
    explicit IniText(std::string bytes);

    const std::string& bytes() const { return bytes_; }

    // Names match without regard to ASCII letter case and blanks at either end. The value comes
    // trimmed, without enclosing quotes, cut at kMaxProfileValueBytes; nothing when the key or its
    // section is missing. The first match in file order wins.
    std::optional<std::string> Find(std::string_view section, std::string_view key) const;

    // Replaces the value of the key that Find would return (its line becomes "key=value" with the
    // key spelled as in the file); a missing key goes after the last key line of its section, a
    // missing section at the end of the file. Every other byte stays. False, and nothing changed,
    // when the names or the value can't be stored on a line of their own (line breaks, '=' in a
    // key, ']' in a section, a key that would read as a comment or a section).
    [[nodiscard]] bool Set(std::string_view section, std::string_view key, std::string_view value);

  private:
    std::string bytes_;
};

// "0x"/"0X" followed by at least one character reads as hexadecimal, anything else as decimal
// with an optional sign; nothing unless the whole text is one number within int32_t.
std::optional<int32_t> ParseProfileInteger(std::string_view text);

}  // namespace kx
