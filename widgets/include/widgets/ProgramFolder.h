#pragma once
// The folder of the running program file, where LibaryDir/ and DataBase/ lie.

#include <filesystem>

namespace kx {

std::filesystem::path ProgramFolder();

}  // namespace kx
