#pragma once
// The export and import tables of a PE file (32- or 64-bit), read from disk: what a Windows
// loader will see, whichever toolchain wrote the file.

#include <cstdint>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

namespace kx::wintest {

struct PeImports {
    std::string dll;  // as written in the file, e.g. "KERNEL32.dll"
    std::set<std::string> names;
    std::set<uint16_t> ordinals;
};

struct PeImage {
    bool is64 = false;
    std::set<std::string> exportNames;
    std::set<uint16_t> unnamedExportOrdinals;  // exported by ordinal only (NONAME)
    std::vector<PeImports> imports;
};

// Throws std::runtime_error naming the file when it is not a well-formed PE image.
PeImage ReadPeImage(const std::filesystem::path& file);

}  // namespace kx::wintest
