#pragma once
// Card dump files (the raw 1024 bytes of a MIFARE Classic 1K card, block 0 first), and writing
// files so that a crash leaves either the old or the new contents, never a mix.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>

#include "simreader/MifareCard.h"

namespace kx::sim {

// Nothing when the file cannot be read or is not exactly 1024 bytes.
std::optional<CardBytes> ReadDump(const std::filesystem::path& path);

// Writes a temporary file in the target's folder, flushes it, then renames it over the target.
// False (and the target untouched) on any failure.
bool WriteFileAtomically(const std::filesystem::path& path, std::span<const uint8_t> bytes);

}  // namespace kx::sim
