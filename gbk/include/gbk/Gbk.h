#pragma once
// GBK, the terminals' code page, to and from UTF-8 (the program's own text).

#include <optional>
#include <string>
#include <string_view>

namespace kx {

// Never fails: a byte that does not start a valid GBK character becomes U+FFFD.
std::string GbkToUtf8(std::string_view gbk);

// Nothing when the text is not valid UTF-8 or holds a character GBK lacks.
std::optional<std::string> Utf8ToGbk(std::string_view utf8);

}  // namespace kx
