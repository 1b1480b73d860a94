#pragma once
// The few system calls the simulated reader needs, each behind one function, for POSIX and Windows.

#include <cstdint>
#include <filesystem>
#include <span>

namespace kx::sim {

// The folder of the shared library (or program) this code is linked into, as it was loaded:
// a library reached through a symbolic link keeps the link's folder.
std::filesystem::path ThisModuleFolder();

// The folder of the running program's executable.
std::filesystem::path ProgramFolder();

// Writes the whole file and flushes it to the disk before returning; false on any failure.
bool WriteFileDurably(const std::filesystem::path& path, std::span<const uint8_t> bytes);

// Replaces target by source in one step (both in the same folder); false on failure.
bool RenameOver(const std::filesystem::path& source, const std::filesystem::path& target);

}  // namespace kx::sim
