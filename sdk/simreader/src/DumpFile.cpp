#include "simreader/DumpFile.h"

#include <fstream>
#include <system_error>

#include "simreader/Platform.h"

namespace kx::sim {

std::optional<CardBytes> ReadDump(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    CardBytes bytes{};
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (in.gcount() != static_cast<std::streamsize>(bytes.size()) ||
        in.peek() != std::ifstream::traits_type::eof()) {
        return std::nullopt;
    }
    return bytes;
}

bool WriteFileAtomically(const std::filesystem::path& path, std::span<const uint8_t> bytes) {
    std::filesystem::path temporary = path;
    temporary += ".tmp";
    if (WriteFileDurably(temporary, bytes) && RenameOver(temporary, path)) {
        return true;
    }
    std::error_code ignored;
    std::filesystem::remove(temporary, ignored);
    return false;
}

}  // namespace kx::sim
