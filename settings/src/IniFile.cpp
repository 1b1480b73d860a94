#include "settings/IniFile.h"

#include "gbk/Gbk.h"
#include "settings/AtomicFile.h"
#include "settings/IniText.h"

#include <fstream>
#include <iterator>
#include <optional>

namespace kx {
namespace {

namespace fs = std::filesystem;

// Nothing when the file can't be opened, which reads as an empty file does.
std::optional<std::string> ReadBytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) {
        return std::nullopt;
    }
    return bytes;
}

}  // namespace

IniWriteError IniWriteError::ForFile(const fs::path& file) {
    std::error_code error;
    const fs::path full = fs::absolute(file, error);
    // UTF-8 like all text in the program, also where the system's own path text is GBK.
    const std::u8string path = (error ? file : full).u8string();
    return IniWriteError("Unable to write to " + std::string(path.begin(), path.end()) + ".");
}

IniFile::IniFile(fs::path path) : path_(std::move(path)) {}

IniValues::IniValues(std::optional<std::string> bytes) : bytes_(std::move(bytes)) {}

std::string IniValues::ReadString(std::string_view section, std::string_view key,
                                  std::string_view defaultValue) const {
    const auto gbkSection = Utf8ToGbk(section);
    const auto gbkKey = Utf8ToGbk(key);
    if (!bytes_ || !gbkSection || !gbkKey) {
        return std::string(defaultValue);
    }
    const auto value = IniText(*bytes_).Find(*gbkSection, *gbkKey);
    return value ? GbkToUtf8(*value) : std::string(defaultValue);
}

int32_t IniValues::ReadInteger(std::string_view section, std::string_view key,
                               int32_t defaultValue) const {
    return ParseProfileInteger(ReadString(section, key, "")).value_or(defaultValue);
}

IniValues IniFile::Read() const {
    return IniValues(ReadBytes(path_));
}

std::string IniFile::ReadString(std::string_view section, std::string_view key,
                                std::string_view defaultValue) const {
    return Read().ReadString(section, key, defaultValue);
}

int32_t IniFile::ReadInteger(std::string_view section, std::string_view key,
                             int32_t defaultValue) const {
    return Read().ReadInteger(section, key, defaultValue);
}

void IniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    const auto gbkSection = Utf8ToGbk(section);
    const auto gbkKey = Utf8ToGbk(key);
    const auto gbkValue = Utf8ToGbk(value);
    std::error_code error;
    const bool exists = fs::exists(path_, error);
    const auto bytes = exists ? ReadBytes(path_) : std::optional<std::string>("");
    if (!gbkSection || !gbkKey || !gbkValue || error || !bytes) {
        throw IniWriteError::ForFile(path_);
    }
    IniText text(*bytes);
    if (!text.Set(*gbkSection, *gbkKey, *gbkValue)) {
        throw IniWriteError::ForFile(path_);
    }
    ReplaceFileAtomically(path_, text.bytes());
}

void IniFile::WriteInteger(std::string_view section, std::string_view key, int32_t value) {
    WriteString(section, key, std::to_string(value));
}

}  // namespace kx
