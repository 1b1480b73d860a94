#pragma once
// Private-profile INI files: names matched without regard to case and surrounding blanks, and a
// write that changes one key's line and keeps every other byte of the file. GBK on disk, UTF-8
// in the program.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace kx {

// what() is "Unable to write to <full path>."
class IniWriteError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;

    // The error for a failed write of `file`, named by its full path.
    static IniWriteError ForFile(const std::filesystem::path& file);
};

// The file's contents as read once, for many lookups. A file that could not be read answers every
// lookup with its default, as an empty file does.
class IniValues {
  public:
    explicit IniValues(std::optional<std::string> bytes);

    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view defaultValue) const;
    int32_t ReadInteger(std::string_view section, std::string_view key, int32_t defaultValue) const;

  private:
    std::optional<std::string> bytes_;  // GBK, as in the file
};

class IniFile {
  public:
    explicit IniFile(std::filesystem::path path);

    const std::filesystem::path& path() const { return path_; }

    // Reads the file once; lookups on the result touch the disk no more.
    IniValues Read() const;

    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view defaultValue) const;
    int32_t ReadInteger(std::string_view section, std::string_view key, int32_t defaultValue) const;

    // Atomic: a temporary file beside it, then rename. Throws IniWriteError. A missing file is
    // created; callers that must never create it check first.
    void WriteString(std::string_view section, std::string_view key, std::string_view value);
    void WriteInteger(std::string_view section, std::string_view key, int32_t value);

  private:
    std::filesystem::path path_;
};

}  // namespace kx
